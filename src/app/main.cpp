// The configuration window.

#include "app/info_request.h"
#include "session/config_core.h"
#include "link/frame_tap.h"
#include "link/port_map.h"
#include "link/port_routing.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "link/routing_serial_port.h"
#include "sim/simulated_serial_port.h"
#include "ui/desktop_opener.h"
#include "ui/main_window.h"
#include "ui/widget_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  if (const auto exitCode = rbx14::AnswerInfoRequest(argc, argv)) return *exitCode;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("rbx14-config"));
  QApplication::setApplicationVersion(QStringLiteral(RBX14_VERSION));

  // The settings as the program starts; the core reads the store again
  // where the window program always has (state window, about box, save).
  const rbx14::Settings settings = rbx14::ReadSettings();
  rbx14::QtScheduler scheduler;
  // COM1..COM40, the system's own serial ports, then the built-in simulated
  // device, so that every function can be tried without hardware.
  rbx14::PortRouting routing(rbx14::PortMap::fromSettings(settings), rbx14::AvailableSystemPorts(),
                             QStringLiteral("RBX14-Simulator"));
  QStringList simulatedPorts;
  for (int n = 1; n <= rbx14::PortRouting::kComPortCount; ++n) {
    if (routing.isBuiltIn(n)) simulatedPorts << QStringLiteral("COM%1").arg(n);
  }
  simulatedPorts << QStringLiteral("RBX14-Simulator");
  rbx14::QtSerialPort hardware(routing.map());
  rbx14::sim::SimulatedDevice device;
  rbx14::sim::SimulatedSerialPort simulated(scheduler, device);
  rbx14::RoutingSerialPort port(std::move(routing), hardware, simulated);
  rbx14::WidgetMessageBoxes messages;
  // Every frame passes the tap, for the traffic window.
  rbx14::FrameTap tap(port, scheduler);
  rbx14::ConfigCore core(scheduler, tap, messages, settings, &rbx14::ReadSettings);

  core.Main();
  rbx14::DesktopOpener opener;
  rbx14::WidgetFileDialogs files;
  rbx14::MainWindow window(core, opener, files);
  window.setFrameTap(tap);
  window.setSimulatedPorts(simulatedPorts);
  messages.setParent(&window);
  files.setParent(&window);
  window.centreOnScreen();
  window.show();
  return QApplication::exec();
}
