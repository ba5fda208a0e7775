// How long a full read-out and a write-back take through rbx14-sim on its
// paced pseudo-terminal at 9600 baud, RTU (8E1) and ASCII (7E1), beside the
// least time the line allows: every byte of every request and answer at the
// character time, the device's delay before each answer, and in RTU the
// silence of 3.5 characters that ends each frame.
//
// Usage: rbx14-bench-transfer [runs]   (default 3 runs per mode)

#include "cli/batch_runner.h"
#include "cli/event_loop_waiter.h"
#include "session/config_core.h"
#include "files/parameter_file.h"
#include "link/frame_tap.h"
#include "link/port_map.h"
#include "link/link_timing.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "base/message_box.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>

#include <vector>

#include <algorithm>
#include <cstdio>

namespace {

struct Mode {
  const char* name;
  int listPosition;  // the window's mode list: 0 ASCII, 1 RTU
  rbx14::PortSettings line;
  int baudListPosition;  // 0 9600, 1 19200, 2 57600
  int deviceDelayMs;
  bool fast;  // the fast link instead of the standard timing
};

class QuietMessages final : public rbx14::MessageBoxes {
 public:
  void information(const QString& text) override {
    std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
  }
};

// Bytes and requests on the line while a step ran.
struct Traffic {
  long bytes = 0;
  int requests = 0;
  void reset() { *this = {}; }
};

// Every byte at the character time; before each answer the device's delay,
// which in RTU is at least the silence of 3.5 characters that ends the
// request; in RTU that silence again after each answer.
double LowerBoundMs(const Traffic& t, const Mode& mode) {
  const double characterMs = rbx14::CharacterTimeUs(mode.line) / 1000.0;
  const bool rtu = mode.listPosition == 1;
  const double silenceMs = rtu ? static_cast<double>(rbx14::LinkTiming::SilenceUs(mode.line)) / 1000.0 : 0.0;
  const double perTransaction = std::max<double>(mode.deviceDelayMs, silenceMs) + silenceMs;
  return static_cast<double>(t.bytes) * characterMs + t.requests * perTransaction;
}

bool RunMode(const Mode& mode, int runs) {
  QProcess sim;
  sim.start(QStringLiteral(RBX14_SIM_PROGRAM),
            {QStringLiteral("--mode"), QString::fromLatin1(mode.name), QStringLiteral("--delay"),
             QString::number(mode.deviceDelayMs), QStringLiteral("--baud"),
             QString::number(mode.line.baudRate)});
  if (!sim.waitForReadyRead(10000)) {
    std::fprintf(stderr, "rbx14-sim did not start\n");
    return false;
  }
  const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();

  rbx14::QtScheduler scheduler;
  rbx14::QtSerialPort serial(rbx14::PortMap({{1, path}}));
  rbx14::FrameTap tap(serial, scheduler);
  Traffic traffic;
  tap.addObserver([&traffic](const rbx14::TappedFrame& f) {
    traffic.bytes += f.bytes.size();
    if (f.direction == rbx14::TappedFrame::Direction::Sent) ++traffic.requests;
  });
  QuietMessages messages;
  rbx14::ConfigCore core(scheduler, tap, messages, rbx14::ReadSettings());
  core.timing.setFast(mode.fast);
  core.Main();
  core.form.Combo_Port[rbx14::port_list::kMode].setListIndex(mode.listPosition);
  core.form.Combo_Port[rbx14::port_list::kBaud].setListIndex(mode.baudListPosition);
  rbx14::EventLoopWaiter waiter;
  rbx14::BatchRunner runner(core, waiter, scheduler, {});

  const double characterMs = rbx14::CharacterTimeUs(mode.line) / 1000.0;
  std::printf("%s %s %d %d%c%d, device delay %d ms, character %.3f ms, t3.5 %s\n",
              mode.fast ? "fast" : "standard", mode.name, mode.line.baudRate, mode.line.dataBits,
              mode.line.parity, mode.line.stopBits, mode.deviceDelayMs, characterMs,
              mode.listPosition == 1
                  ? qPrintable(QString::number(static_cast<double>(rbx14::LinkTiming::SilenceUs(mode.line)) / 1000.0, 'f', 3) +
                               QStringLiteral(" ms"))
                  : "none");
  std::fflush(stdout);
  bool ok = true;
  for (int run = 0; run < runs && ok; ++run) {
    traffic.reset();
    const auto read = runner.verify({1}, QStringList());
    const Traffic readTraffic = traffic;
    ok = read.front().result != rbx14::DeviceResult::NoAnswer &&
         read.front().result != rbx14::DeviceResult::Error;
    if (!ok) break;
    // A file that differs from the device in one field: the write sends
    // every block, the bits, and reads the device back.
    QStringList lines =
        rbx14::BuildParameterLines(core.form, core.globals, QDateTime::currentDateTime(), QStringLiteral(" 0 "));
    QString& line = lines[rbx14::kFirstDataLine + 42 - 1];
    line = line.section(u';', 0, 1) + u';' + QString::number(40 + run % 2);
    traffic.reset();
    const auto written = runner.write({1}, lines, false);
    // write() reads the device first, as many frames as the read-out above.
    const Traffic writeTraffic{traffic.bytes - readTraffic.bytes,
                               traffic.requests - readTraffic.requests};
    ok = written.front().result == rbx14::DeviceResult::Ok;
    const double readBound = LowerBoundMs(readTraffic, mode);
    const double writeBound = LowerBoundMs(writeTraffic, mode);
    std::printf("  run %d: read-out %6lld ms (bound %7.1f ms, x%.2f, %d frames, %ld bytes)\n",
                run + 1, static_cast<long long>(read.front().readOutMs), readBound,
                static_cast<double>(read.front().readOutMs) / readBound, readTraffic.requests,
                readTraffic.bytes);
    std::printf(
        "         write    %6lld ms (bound %7.1f ms, x%.2f, %d frames, %ld bytes; the write and "
        "the read-out that follows it)\n",
        static_cast<long long>(written.front().writeMs), writeBound,
        static_cast<double>(written.front().writeMs) / writeBound, writeTraffic.requests,
        writeTraffic.bytes);
    std::fflush(stdout);
  }
  core.form.Combo_Port[rbx14::port_list::kOpenClose].setListIndex(0);
  sim.terminate();
  sim.waitForFinished(5000);
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  // rbx14-bench-transfer [runs] [all]: 9600 baud with a 5 ms device, or with
  // "all" every baud rate with a device delay of 0 and 20 ms.
  const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
  const bool all = argc > 2 && QString::fromLocal8Bit(argv[2]) == u"all";
  const int bauds[] = {9600, 19200, 57600};
  std::vector<int> delays = all ? std::vector<int>{0, 20} : std::vector<int>{5};
  bool ok = true;
  for (int b = 0; b < (all ? 3 : 1); ++b) {
    for (int delay : delays) {
      for (bool fast : {false, true}) {
        const Mode modes[] = {{"rtu", 1, {bauds[b], 'E', 8, 1}, b, delay, fast},
                              {"ascii", 0, {bauds[b], 'E', 7, 1}, b, delay, fast}};
        for (const Mode& mode : modes) ok = RunMode(mode, runs) && ok;
      }
    }
  }
  return ok ? 0 : 1;
}
