#pragma once
// Message boxes shown as real dialogs over the main window.

#include "shell/message_box.h"

class QWidget;

namespace rbx14 {

class WidgetMessageBoxes final : public MessageBoxes {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }
  void information(const QString& text) override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace rbx14
