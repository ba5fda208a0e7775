#pragma once
// Message boxes shown as real dialogs over the main window.

#include "files/file_dialogs.h"
#include "base/message_box.h"

class QWidget;

namespace rbx14 {

class WidgetMessageBoxes final : public MessageBoxes {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }
  void information(const QString& text) override;

 private:
  QWidget* parent_ = nullptr;
};

// File dialogs as the desktop shows them.
class WidgetFileDialogs final : public FileDialogs {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }
  std::optional<QString> openFile(const QString& start, const QString& filter) override;
  std::optional<QString> saveFile(const QString& start, const QString& filter) override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace rbx14
