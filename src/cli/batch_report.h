#pragma once
// The batch's record: one CSV row per device.

#include "cli/batch_runner.h"

#include <QString>

#include <vector>

namespace rbx14 {

QString ResultWord(DeviceResult result);

// A CSV field: in quotes when it holds a comma, quote or line end.
QString CsvField(const QString& text);

// Header and rows, CR LF line ends.
QByteArray ReportCsv(const std::vector<DeviceReport>& reports);

// Writes a whole file; the old one stays unless all of the new one was
// written.
bool WriteWholeFile(const QString& path, const QByteArray& content);

// Writes the report; the old file stays unless the whole new one was written.
bool WriteReport(const QString& path, const std::vector<DeviceReport>& reports);

}  // namespace rbx14
