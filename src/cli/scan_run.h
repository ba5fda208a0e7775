#pragma once
// rbx14-cli scan: open the port without an address, scan the addresses,
// print one line per device found, write the report; with --all-settings
// and nobody answering, try every setting of the lists. Exit 0 when a device
// answered, 1 when none did or the port failed.

#include "cli/batch_runner.h"
#include "cli/cli_options.h"
#include "transactions/bus_scan.h"

#include <QByteArray>

#include <vector>

namespace rbx14 {

// One found device as the scan prints it (address first).
QString ScanLine(const FoundDevice& device, bool english);

// A device found and the settings it answered under ("9600 Even RTU").
struct ScanRow {
  FoundDevice device;
  QString settings;
};

// Header and one row per device, CR LF line ends.
QByteArray ScanReportCsv(const std::vector<ScanRow>& rows, bool english);

int RunScan(const CliOptions& options, ConfigCore& core, Waiter& waiter, const Scheduler& clock,
            const BatchSink& sink, bool english);

}  // namespace rbx14
