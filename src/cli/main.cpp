// rbx14-cli: read devices to parameter files, write a file to many devices,
// verify them, without a window.

#include "cli/cli_run.h"
#include "cli/event_loop_waiter.h"
#include "cli/many_lines.h"
#include "cli/terminal_progress.h"
#include "cli/trace_line.h"
#include "link/frame_tap.h"
#include "link/port_map.h"
#include "link/port_routing.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "link/routing_serial_port.h"
#include "base/message_box.h"
#include "base/texts.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_serial_port.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

void OnStopSignal(int signal) { gStopSignal = signal; }

// SIGTERM and SIGINT (Ctrl+C) ask the batch to end: a write finishes the
// frame on the line and says what the device holds, the port is closed
// (which removes its lock) and the program exits 1. A second signal ends
// it at once.
void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = static_cast<int>(SA_RESETHAND);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// The core's message boxes become lines on stderr; nobody is there to
// press OK. A port lost underneath is left to the batch, which names the
// device and the error number with the same text.
class StderrMessages final : public rbx14::MessageBoxes {
 public:
  void information(const QString& text) override {
    if (text.startsWith(rbx14::texts::kPortLost.in(false)) || text.startsWith(rbx14::texts::kPortLost.in(true))) {
      return;
    }
    Print(stderr, QStringLiteral("rbx14-cli: ") + text);
  }
};

// Records are laid out with Qt's text document, which needs the fonts of a
// GUI application; the command line shows no window, so it never needs a
// display for them.
bool WritesRecords(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--record") == 0 || std::strncmp(argv[i], "--record=", 9) == 0) return true;
  }
  return false;
}

QtMessageHandler gQtMessages = nullptr;

// The offscreen platform asks for a runtime folder that a terminal session
// (su, ssh, cron) may lack; the records need none, so its note about that is
// not the user's business.
void QuietAboutTheRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set")) return;
  if (gQtMessages != nullptr) gQtMessages(type, context, text);
}

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[]) {
  if (!WritesRecords(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  gQtMessages = qInstallMessageHandler(QuietAboutTheRuntimeFolder);
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("rbx14-cli"));
  QCoreApplication::setApplicationVersion(QStringLiteral(RBX14_VERSION));

  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() == 2 && (arguments[1] == u"--version" || arguments[1] == u"-v")) {
    Print(stdout, QStringLiteral("rbx14-cli ") + QCoreApplication::applicationVersion());
    return 0;
  }
  // Several lines: each its own run, all at once, each checked first.
  const rbx14::ManyLines many = rbx14::SplitLines(arguments);
  if (!many.error.isEmpty()) {
    Print(stderr, QStringLiteral("rbx14-cli: ") + many.error + QStringLiteral("\nTry --help."));
    return rbx14::kExitUsage;
  }
  if (!many.lines.empty()) {
    for (const rbx14::LineBatch& line : many.lines) {
      const auto checked = rbx14::ParseCliOptions(QStringList{arguments[0]} + line.arguments);
      if (!checked.options) {
        Print(checked.exitCode == 0 ? stdout : stderr, checked.message);
        return checked.exitCode;
      }
    }
    CatchStopSignals();
    return rbx14::RunManyLines(QCoreApplication::applicationFilePath(), many.lines, gStopSignal, many.report);
  }
  const auto parsed = rbx14::ParseCliOptions(arguments);
  if (!parsed.options) {
    Print(parsed.exitCode == 0 ? stdout : stderr, parsed.message);
    return parsed.exitCode;
  }
  const rbx14::CliOptions& options = *parsed.options;

  const rbx14::Settings settings = rbx14::ReadSettings();
  rbx14::QtScheduler scheduler;
  // "sim": a simulated device at every address of the batch on one line.
  // Otherwise the window's port routing: a path is port 1, COMn as mapped
  // (which may be the built-in device too).
  rbx14::sim::DeviceSettings simulatedSettings;
  rbx14::sim::SimulatedBus bus(simulatedSettings, options.addresses);
  rbx14::sim::SimulatedSerialPort simulated(scheduler, bus);
  rbx14::PortMap map =
      options.comNumber() ? rbx14::PortMap::fromSettings(settings) : rbx14::PortMap({{1, options.port}});
  rbx14::PortRouting routing(std::move(map), {}, QStringLiteral("RBX14-Simulator"));
  rbx14::QtSerialPort hardware(routing.map());
  rbx14::RoutingSerialPort routed(std::move(routing), hardware, simulated);
  rbx14::SerialPort& port = options.portIsSimulator() ? static_cast<rbx14::SerialPort&>(simulated)
                                                      : static_cast<rbx14::SerialPort&>(routed);
  const int portNumber = options.comNumber().value_or(1);

  rbx14::FrameTap tap(port, scheduler);
  StderrMessages messages;
  rbx14::ConfigCore core(scheduler, tap, messages, settings);
  core.timing.setFast(options.fastLink);
  core.Main();

  // Progress and trace lines share stderr with the bar on a terminal.
  std::optional<rbx14::TerminalProgress> bar;
  if (!options.quiet) bar.emplace(stderr, core.frmState);
  const auto printErr = [&bar](const QString& text) {
    if (bar) {
      bar->line(text);
    } else {
      Print(stderr, text);
    }
  };
  const std::int64_t startUs = scheduler.nowUs();
  if (options.trace) {
    tap.addObserver([startUs, &printErr](const rbx14::TappedFrame& frame) {
      printErr(rbx14::TraceLine(frame, startUs));
    });
  }

  rbx14::EventLoopWaiter waiter;
  rbx14::BatchSink sink;
  if (!options.quiet) sink.progress = printErr;
  sink.result = [](const QString& text) { Print(stdout, text); };
  sink.error = [&printErr](const QString& text) { printErr(QStringLiteral("rbx14-cli: ") + text); };
  if (options.command != rbx14::CliCommand::Scan) CatchStopSignals();
  sink.stopRequested = [] { return gStopSignal != 0; };
  return rbx14::RunCli(options, portNumber, core, waiter, scheduler, sink);
}
