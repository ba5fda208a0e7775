#pragma once
// Lays the register manual out as a printed document: a title page, the
// contents, one numbered heading per chapter and group, tables whose head
// repeats on every page, and page numbers.

#include "doc/register_manual/register_manual.h"

#include <QString>

namespace rbx14::manual {

QString ManualHtml(const RegisterManual& manual);

// Writes an A4 PDF; false and a reason when the file cannot be written.
bool WriteManualPdf(const RegisterManual& manual, const QString& path, QString* error);

}  // namespace rbx14::manual
