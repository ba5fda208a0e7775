#include "cli/monitor_run.h"

#include "cli/cli_texts.h"
#include "model/trend_record.h"

#include <QFile>

namespace rbx14 {
namespace {

// The read-out before the poll takes a few seconds on a slow line; the limit
// only keeps a broken line from hanging the program.
constexpr int kReadOutLimitMs = 120'000;
// How long the waiter runs before the monitor looks at the signal again.
constexpr int kLookMs = 500;

}  // namespace

int RunMonitor(const CliOptions& options, ConfigCore& core, Waiter& waiter, const BatchSink& sink,
               bool english) {
  const int address = options.addresses.front();
  const QChar sep = core.globals.decimalSep();
  const auto error = [&](const QString& text) {
    if (sink.error) sink.error(text);
  };
  const auto stopping = [&] { return sink.stopRequested && sink.stopRequested(); };

  // Each line goes out whole and at once: a monitor ended by a signal or a
  // pulled adapter leaves a file that holds every reading taken.
  QFile file(options.file);
  if (!options.file.isEmpty() && !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    error(cli_texts::kReportNotWritten.in(english).arg(options.file));
    return 1;
  }
  bool written = true;
  const auto line = [&](const QString& text) {
    if (options.file.isEmpty()) {
      if (sink.result) sink.result(text);
      return;
    }
    const QByteArray bytes = (text + QStringLiteral("\r\n")).toUtf8();
    written = written && file.write(bytes) == bytes.size() && file.flush();
  };

  const int failuresBefore = core.link.portFailures();
  const auto portLost = [&] { return core.link.portFailures() > failuresBefore; };
  if (!core.openDevice(address)) {
    error(cli_texts::kPortFailed.in(english));
    return 1;
  }
  if (sink.progress) sink.progress(cli_texts::kReading.in(english).arg(address));
  waiter.waitUntil([&] { return core.lastEnd().has_value() || stopping() || portLost(); },
                   kReadOutLimitMs);
  const auto end = core.lastEnd();
  int status = 0;
  if (!end || end->how != TransactionEndKind::Done) {
    if (portLost()) {
      error(cli_texts::kPortLost.in(english)
                .arg(address)
                .arg(core.link.lastPortError())
                .arg(core.link.lostText(english)));
    } else if (stopping()) {
      error(cli_texts::kStoppedReading.in(english).arg(address));
    } else {
      error(cli_texts::kNoAnswer.in(english).arg(address));
    }
    core.cancel();
    return 1;
  }

  line(TrendCsvHeader(english, sep));
  int readings = 0;
  const auto enough = [&] { return options.count > 0 && readings >= options.count; };
  const int listener = core.trend.addListener([&](const TrendReading& reading) {
    if (enough()) return;  // the answer to a poll that was on the line
    line(TrendCsvLine(reading, sep));
    ++readings;
  });
  core.form.chk_read_out.setValue(1);
  if (options.intervalMs) core.form.Timer7->setInterval(*options.intervalMs);
  const auto polling = [&] { return core.globals.bPortOpen && core.form.Timer7->enabled(); };
  if (sink.progress) sink.progress(cli_texts::kMonitoring.in(english).arg(address));
  while (polling() && !enough() && !stopping() && written) {
    waiter.waitUntil([&] { return !polling() || enough() || stopping(); }, kLookMs);
  }
  core.trend.removeListener(listener);

  if (portLost()) {
    error(cli_texts::kPortLost.in(english)
              .arg(address)
              .arg(core.link.lastPortError())
              .arg(core.link.lostText(english)));
    status = 1;
  } else if (!polling() && !enough() && !stopping()) {
    // The link gave the device up and stopped the poll.
    error(cli_texts::kNoAnswer.in(english).arg(address));
    status = 1;
  }
  if (!written) {
    error(cli_texts::kReportNotWritten.in(english).arg(options.file));
    status = 1;
  }
  core.form.chk_read_out.setValue(0);
  core.cancel();
  if (sink.progress) sink.progress(cli_texts::kMonitorEnd.in(english).arg(address).arg(readings));
  return status;
}

}  // namespace rbx14
