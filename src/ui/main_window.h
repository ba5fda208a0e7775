#pragma once
// The main window: built from the core's control models and bound to them.
// It holds no state of its own.

#include "core/config_core.h"

#include <QMainWindow>

class QLineEdit;
class QTabWidget;

namespace rbx14 {

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(ConfigCore& core, QWidget* parent = nullptr);

  // Centres the window on the screen it is on.
  void centreOnScreen();

  QLineEdit* addressField() const { return address_; }
  QTabWidget* tabs() const { return tabs_; }

 private:
  void buildMenus();
  QWidget* buildLinkPanel();

  ConfigCore& core_;
  QLineEdit* address_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  class StateWindowView* stateWindow_ = nullptr;
};

}  // namespace rbx14
