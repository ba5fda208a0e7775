#include "cli/scan_run.h"

#include "cli/cli_texts.h"

#include <QSaveFile>

namespace rbx14 {
namespace {

// A progress line after this many addresses (and after the last).
constexpr int kProgressStep = 25;

QString OrUnknown(const std::optional<int>& value) {
  return value ? QString::number(*value) : QStringLiteral("?");
}

bool WriteFile(const QString& path, const QByteArray& content) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

QString ScanLine(const FoundDevice& device, bool english) {
  return cli_texts::kScanDevice.in(english)
      .arg(device.address)
      .arg(OrUnknown(device.deviceType), DeviceTypeName(device.deviceType, english),
           OrUnknown(device.firmware))
      .arg(device.busDelay);
}

QByteArray ScanReportCsv(const std::vector<FoundDevice>& devices, bool english) {
  QString out = QStringLiteral(
      "address,device type code,device type,device coding,firmware version,bus delay ms\r\n");
  for (const FoundDevice& d : devices) {
    out += QStringList{QString::number(d.address), OrUnknown(d.deviceType),
                       DeviceTypeName(d.deviceType, english), OrUnknown(d.coding),
                       OrUnknown(d.firmware), QString::number(d.busDelay)}
               .join(u',') +
           QStringLiteral("\r\n");
  }
  return out.toUtf8();
}

int RunScan(const CliOptions& options, ConfigCore& core, Waiter& waiter, const Scheduler& clock,
            const BatchSink& sink, bool english) {
  // Opened without an address, the port sends no probe of its own.
  FrmConfig& form = core.form;
  form.txt_Modbus_adress.setText(QString());
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  if (!core.globals.bPortOpen) {
    if (sink.error) sink.error(cli_texts::kPortFailed.in(english));
    return 1;
  }

  std::optional<ScanEnd> end;
  const auto total = static_cast<int>(options.addresses.size());
  const std::int64_t startMs = clock.nowMs();
  const bool started = core.scan.start(
      options.addresses,
      {.progress =
           [&](int done, int all) {
             if (sink.progress && (done % kProgressStep == 0 || done == all)) {
               sink.progress(cli_texts::kScanProgress.in(english).arg(done).arg(all));
             }
           },
       .found = [&](const FoundDevice& device) {
         if (sink.result) sink.result(ScanLine(device, english));
       },
       .finished = [&](ScanEnd e) { end = e; }});
  // Every address takes at most two answer windows and its gaps; the limit
  // only keeps a broken line from hanging the program.
  const int limitMs = 10000 + total * 4 * (kScanAnswerAllowanceMs + 250);
  if (started) waiter.waitUntil([&] { return end.has_value(); }, limitMs);
  if (core.scan.running()) core.scan.cancel();
  waiter.waitUntil([&] { return !core.scan.running(); }, 5000);
  if (core.globals.bPortOpen) form.Combo_Port[port_list::kOpenClose].setListIndex(0);

  const std::vector<FoundDevice>& devices = core.scan.devices();
  if (sink.progress) {
    const double seconds = static_cast<double>(clock.nowMs() - startMs) / 1000.0;
    sink.progress(devices.empty() ? cli_texts::kScanNothing.in(english)
                                  : cli_texts::kScanSummary.in(english)
                                        .arg(devices.size())
                                        .arg(seconds, 0, 'f', 1));
  }
  int status = !started || end != ScanEnd::Completed || devices.empty() ? 1 : 0;
  if (!options.report.isEmpty() && !WriteFile(options.report, ScanReportCsv(devices, english))) {
    if (sink.error) sink.error(cli_texts::kReportNotWritten.in(english).arg(options.report));
    status = 1;
  }
  return status;
}

}  // namespace rbx14
