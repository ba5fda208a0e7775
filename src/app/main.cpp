// The configuration window.

#include "core/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "ui/desktop_opener.h"
#include "ui/main_window.h"
#include "ui/widget_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("rbx14-config"));
  QApplication::setApplicationVersion(QStringLiteral(RBX14_VERSION));

  rbx14::QtScheduler scheduler;
  rbx14::QtSerialPort port(rbx14::PortMap::fromSettings());
  rbx14::WidgetMessageBoxes messages;
  rbx14::ConfigCore core(scheduler, port, messages);

  core.Main();
  rbx14::DesktopOpener opener;
  rbx14::MainWindow window(core, opener);
  messages.setParent(&window);
  window.centreOnScreen();
  window.show();
  return QApplication::exec();
}
