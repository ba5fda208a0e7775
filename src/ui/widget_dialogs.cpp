#include "ui/widget_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace rbx14 {

void WidgetMessageBoxes::information(const QString& text) {
  QMessageBox::information(parent_, QCoreApplication::applicationName(), text, QMessageBox::Ok);
}

namespace {

// "Textfile (*.txt)|*.txt" -> "Textfile (*.txt)": the part before the bar
// already names the pattern in the form the desktop's dialog takes.
QString QtFilter(const QString& filter) { return filter.section(u'|', 0, 0); }

std::optional<QString> Chosen(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  return name;
}

}  // namespace

std::optional<QString> WidgetFileDialogs::openFile(const QString& start, const QString& filter) {
  return Chosen(QFileDialog::getOpenFileName(parent_, QString(), start, QtFilter(filter)));
}

std::optional<QString> WidgetFileDialogs::saveFile(const QString& start, const QString& filter) {
  return Chosen(QFileDialog::getSaveFileName(parent_, QString(), start, QtFilter(filter)));
}

}  // namespace rbx14
