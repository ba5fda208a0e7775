#pragma once
// The about box as a small fixed dialog, shown modally over the main window.

#include "shell/about_box.h"

#include <QDialog>

namespace rbx14 {

class AboutBoxView final : public QDialog {
  Q_OBJECT

 public:
  AboutBoxView(FAbout& model, QWidget* parent);
};

}  // namespace rbx14
