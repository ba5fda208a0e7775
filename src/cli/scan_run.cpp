#include "cli/scan_run.h"

#include "cli/batch_report.h"
#include "cli/cli_texts.h"

namespace rbx14 {
namespace {

// A progress line after this many addresses (and after the last).
constexpr int kProgressStep = 25;

QString OrUnknown(const std::optional<int>& value) {
  return value ? QString::number(*value) : QStringLiteral("?");
}

}  // namespace

QString ScanLine(const FoundDevice& device, bool english) {
  return cli_texts::kScanDevice.in(english)
      .arg(device.address)
      .arg(OrUnknown(device.deviceType), DeviceTypeName(device.deviceType, english),
           OrUnknown(device.firmware))
      .arg(OrUnknown(device.responseTimeMs))
      .arg(device.busDelay);
}

QByteArray ScanReportCsv(const std::vector<ScanRow>& rows, bool english) {
  QString out = QStringLiteral(
      "address,device type code,device type,device coding,firmware version,"
      "minimum response time ms,register 0x0021,settings\r\n");
  for (const auto& [d, settings] : rows) {
    out += QStringList{QString::number(d.address), OrUnknown(d.deviceType),
                       DeviceTypeName(d.deviceType, english), OrUnknown(d.coding),
                       OrUnknown(d.firmware), OrUnknown(d.responseTimeMs),
                       QString::number(d.busDelay), settings}
               .join(u',') +
           QStringLiteral("\r\n");
  }
  return out.toUtf8();
}

int RunScan(const CliOptions& options, ConfigCore& core, Waiter& waiter, const Scheduler& clock,
            const BatchSink& sink, bool english) {
  // Opened without an address, the port sends no probe of its own.
  FrmConfig& form = core.form;
  if (!core.openLine()) {
    if (sink.error) sink.error(cli_texts::kPortFailed.in(english));
    return 1;
  }
  const QString settings = DescribeLineChoice(form, CurrentLineChoice(form));
  core.scan.setAnswerAllowanceMs(options.answerWaitMs);
  std::vector<ScanRow> rows;

  std::optional<ScanEnd> end;
  const auto total = static_cast<int>(options.addresses.size());
  const std::int64_t startMs = clock.nowMs();
  const auto progress = [&](int done, int all) {
    if (sink.progress && (done % kProgressStep == 0 || done == all)) {
      sink.progress(cli_texts::kScanProgress.in(english).arg(done).arg(all));
    }
  };
  const bool started = core.scan.start(
      options.addresses,
      {.progress = progress,
       .found =
           [&](const FoundDevice& device) {
             rows.push_back({device, settings});
             if (sink.result) sink.result(ScanLine(device, english));
           },
       .finished = [&](ScanEnd e) { end = e; }});
  // Every address takes at most three answer windows and their gaps; the
  // limit only keeps a broken line from hanging the program.
  const int limitMs = 10000 + total * 3 * (options.answerWaitMs + 150);
  if (started) waiter.waitUntil([&] { return end.has_value(); }, limitMs);
  if (core.scan.running()) core.scan.cancel();
  waiter.waitUntil([&] { return !core.scan.running(); }, 5000);

  // The second stage: a unit whose settings were forgotten.
  if (rows.empty() && end == ScanEnd::Completed && options.allSettings) {
    end = std::nullopt;
    const bool swept = core.sweep.start(
        options.addresses,
        {.setting =
             [&](int number, int count, const LineChoice& choice) {
               if (sink.progress) {
                 sink.progress(cli_texts::kScanSetting.in(english).arg(number).arg(count).arg(
                     DescribeLineChoice(form, choice)));
               }
             },
         .progress = progress,
         .found =
             [&](const SweptDevice& found) {
               const QString at = DescribeLineChoice(form, found.line);
               rows.push_back({found.device, at});
               if (sink.result) {
                 sink.result(cli_texts::kScanDeviceAt.in(english).arg(ScanLine(found.device, english), at));
               }
             },
         .finished = [&](ScanEnd e) { end = e; }});
    const int choices = static_cast<int>(EveryLineChoice().size());
    if (swept) waiter.waitUntil([&] { return end.has_value(); }, choices * limitMs);
    if (core.sweep.running()) core.sweep.cancel();
    waiter.waitUntil([&] { return !core.sweep.running(); }, 5000);
  }
  core.closePort();
  if (end == ScanEnd::PortLost && sink.error) {
    sink.error(cli_texts::kScanPortLost.in(english)
                   .arg(core.link.lastPortError())
                   .arg(core.link.lostText(english)));
  }

  if (sink.progress) {
    const double seconds = static_cast<double>(clock.nowMs() - startMs) / 1000.0;
    sink.progress(rows.empty() ? cli_texts::kScanNothing.in(english)
                               : cli_texts::kScanSummary.in(english)
                                     .arg(rows.size())
                                     .arg(seconds, 0, 'f', 1));
  }
  int status = !started || end != ScanEnd::Completed || rows.empty() ? 1 : 0;
  if (!options.report.isEmpty() && !WriteWholeFile(options.report, ScanReportCsv(rows, english))) {
    if (sink.error) sink.error(cli_texts::kReportNotWritten.in(english).arg(options.report));
    status = 1;
  }
  return status;
}

}  // namespace rbx14
