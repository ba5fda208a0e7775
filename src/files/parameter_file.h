#pragma once
// The parameter file: 147 text lines, CR LF, in the single-byte code page.
// A header (maker, program, version, date and time, the link settings and
// the separator note), then one line per configuration register, bit,
// display text and unit: "name number ;label;value". The file carries what
// the window shows; loading fills the window through the same change
// handling as typing, from register 2 on (0 and 1 belong to the device).

#include "core/globals.h"
#include "model/frm_config.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace rbx14 {

inline constexpr int kParameterFileLines = 147;
inline constexpr int kFirstDataLine = 15;  // 1-based: register 0
inline constexpr int kFirstBitLine = 76;
inline constexpr int kFirstTextLine = 108;
inline constexpr int kFirstUnitLine = 130;

// A number in print form: a blank (or the minus sign) before the digits and
// a blank after them, with the given decimal separator.
QString PrintNumber(double value, QChar decimalSep);

// The date and time of line 6 in the running language's short forms.
QString FileTimestamp(const QDateTime& now, bool english);

// The 147 lines for what the window shows now.
QStringList BuildParameterLines(const FrmConfig& form, const Globals& globals,
                                const QDateTime& now, double version);

// The settings value "Version" as a number (0 when missing or no number).
double StoredVersion(const Globals& globals);

// Writes the lines with CR LF in the code page. The old file stays as it
// was unless the whole new file could be written.
bool WriteParameterFile(const QString& path, const QStringList& lines);

// Reads at most the lines a parameter file has; nothing when the file
// cannot be opened.
std::optional<QStringList> ReadParameterFile(const QString& path);

// Puts the values of the lines into the window. A missing line, a line
// without its two separators and a bit value that is no check box value
// leave their field as it was.
void ApplyParameterLines(FrmConfig& form, const QStringList& lines);

// The value field of a data line (the third ";"-separated field), if any.
std::optional<QString> ValueField(const QString& line);

}  // namespace rbx14
