// How much processor time the window takes while it waits on the line: the
// port open and idle (the receive poll runs), the output registers polled,
// and during a read-out on the fast link. The window runs on the Qt event
// loop (offscreen unless a display is given) and talks through QSerialPort
// to rbx14-sim on its paced pseudo-terminal; the time is the process's own
// (user + system) over the wall-clock time of each phase. One phase polls
// with the trend window open and its ten minutes full.
//
// Usage: QT_QPA_PLATFORM=offscreen rbx14-bench-window-cpu [seconds per phase]

#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "ui/desktop_opener.h"
#include "ui/main_window.h"
#include "ui/widget_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

namespace {

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs the event loop until done() holds or the time is up, looking every
// 20 ms (a sleeping timer, not a busy loop); without done() it only waits,
// so that the measurement adds nothing of its own.
void RunUntil(const std::function<bool()>& done, int limitMs) {
  QEventLoop loop;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  if (done) look.start(20);
  loop.exec();
}

void Phase(const char* name, const std::function<void()>& start, const std::function<bool()>& done,
           int limitMs) {
  QElapsedTimer wall;
  const double cpuBefore = ProcessCpuMs();
  wall.start();
  start();
  RunUntil(done, limitMs);
  const double cpu = ProcessCpuMs() - cpuBefore;
  const double elapsed = static_cast<double>(wall.elapsed());
  std::printf("%-44s %7.0f ms wall, %6.1f ms CPU, %5.2f %%\n", name, elapsed, cpu,
              100.0 * cpu / elapsed);
  std::fflush(stdout);
}

class QuietMessages final : public rbx14::MessageBoxes {
 public:
  void information(const QString& text) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const int phaseMs = 1000 * (argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10);

  QProcess sim;
  sim.start(QStringLiteral(RBX14_SIM_PROGRAM), {QStringLiteral("--baud"), QStringLiteral("9600")});
  if (!sim.waitForReadyRead(10000)) {
    std::fprintf(stderr, "rbx14-sim did not start\n");
    return 1;
  }
  const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();

  rbx14::QtScheduler scheduler;
  rbx14::QtSerialPort serial(rbx14::PortMap({{1, path}}));
  QuietMessages messages;
  rbx14::ConfigCore core(scheduler, serial, messages, rbx14::ReadSettings());
  core.timing.setFast(true);
  core.Main();
  rbx14::DesktopOpener opener;
  rbx14::WidgetFileDialogs files;
  rbx14::MainWindow window(core, opener, files);
  window.show();
  const auto idle = [&] { return !core.busy(); };

  std::printf("window on %s, 9600 8E1 RTU, fast link\n", qPrintable(path));
  // The first paint of the window is not waiting.
  RunUntil({}, 1000);
  Phase("port closed, nothing to do", [] {}, {}, phaseMs);
  Phase("opening: probe and full read-out",
        [&] { core.form.Combo_Port[rbx14::port_list::kOpenClose].setListIndex(1); },
        [&] { return core.responses.completedReadOuts() > 0 && idle(); }, 60000);
  Phase("port open, idle (receive poll running)", [] {}, {}, phaseMs);
  Phase("polling the output registers", [&] { core.form.chk_read_out.setValue(1); }, {},
        phaseMs);
  // The trend window charting while the poll runs, its span full: the
  // record holds ten minutes of readings before the phase begins.
  if (auto* entry = window.findChild<QAction*>(QStringLiteral("MenuTrend"))) entry->trigger();
  if (core.trend.size() > 0) {
    const rbx14::TrendReading last = core.trend.at(core.trend.size() - 1);
    const int intervalMs = core.form.Timer7->interval();
    core.trend.clear();
    for (std::int64_t t = last.timeMs - 600'000; t < last.timeMs; t += intervalMs) {
      rbx14::TrendReading reading = last;
      reading.timeMs = t;
      reading.values[2] += static_cast<double>(t % 60'000) / 60'000.0;  // a line that moves
      core.trend.append(reading);
    }
  }
  RunUntil({}, 1000);
  Phase("polling, trend window charting (10 min)", [] {}, {}, phaseMs);
  core.form.chk_read_out.setValue(0);
  RunUntil(idle, 5000);
  Phase("read-out button", [&] { core.form.read_out_parameter.click(); },
        [&] { return core.responses.completedReadOuts() > 1 && idle(); }, 60000);

  core.form.Combo_Port[rbx14::port_list::kOpenClose].setListIndex(0);
  sim.terminate();
  sim.waitForFinished(5000);
  return 0;
}
