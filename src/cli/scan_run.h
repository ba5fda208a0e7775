#pragma once
// rbx14-cli scan: open the port without an address, scan the addresses,
// print one line per device found, write the report. Exit 0 when a device
// answered, 1 when none did or the port failed.

#include "cli/batch_runner.h"
#include "cli/cli_options.h"
#include "transactions/bus_scan.h"

#include <QByteArray>

#include <vector>

namespace rbx14 {

// One found device as the scan prints it (address first).
QString ScanLine(const FoundDevice& device, bool english);

// Header and one row per device, CR LF line ends.
QByteArray ScanReportCsv(const std::vector<FoundDevice>& devices, bool english);

int RunScan(const CliOptions& options, ConfigCore& core, Waiter& waiter, const Scheduler& clock,
            const BatchSink& sink, bool english);

}  // namespace rbx14
