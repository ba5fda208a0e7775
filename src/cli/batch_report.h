#pragma once
// The batch's record: one CSV row per device.

#include "cli/batch_runner.h"

#include <QString>

#include <vector>

namespace rbx14 {

QString ResultWord(DeviceResult result);

// Header and rows, CR LF line ends.
QByteArray ReportCsv(const std::vector<DeviceReport>& reports);

// Writes the report; the old file stays unless the whole new one was written.
bool WriteReport(const QString& path, const std::vector<DeviceReport>& reports);

}  // namespace rbx14
