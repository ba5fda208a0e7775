#include "ui/widget_dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace rbx14 {

void WidgetMessageBoxes::information(const QString& text) {
  QMessageBox::information(parent_, QCoreApplication::applicationName(), text, QMessageBox::Ok);
}

}  // namespace rbx14
