#pragma once
// The state window as a dialog over the main window, not modal: it shows
// while a transaction runs, and the main window takes no input meanwhile.

#include "transactions/state_window.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace rbx14 {

class StateWindowView final : public QDialog {
  Q_OBJECT

 public:
  StateWindowView(FrmState& model, QWidget* parent);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void follow();
  void centreOnScreen();

  FrmState& model_;
  bool following_ = false;
};

}  // namespace rbx14
