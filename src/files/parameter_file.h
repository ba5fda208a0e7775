#pragma once
// The parameter file: 147 text lines, CR LF, in the single-byte code page.
// A header (maker, program, version, date and time, the link settings and
// the separator note), then one line per configuration register, bit,
// display text and unit: "name number ;label;value". The file carries what
// the window shows; loading fills the window through the same change
// handling as typing, from register 2 on (0 and 1 belong to the device).

#include "base/globals.h"
#include "files/parameter_file_layout.h"
#include "model/frm_config.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace rbx14 {

// A number in print form: a blank (or the minus sign) before the digits and
// a blank after them, with the given decimal separator.
QString PrintNumber(double value, QChar decimalSep);

// The date and time of line 6 in the running language's short forms.
QString FileTimestamp(const QDateTime& now, bool english);

// The 147 lines for what the window shows now; `version` follows
// "Version: " on line 5.
QStringList BuildParameterLines(const FrmConfig& form, const Globals& globals,
                                const QDateTime& now, const QString& version);

// The settings' "Version" in print form for line 5: a number with the
// user's separator, or an installed version such as "0.1.0" as it stands
// (" 0 " when missing or neither).
QString StoredVersion(const Globals& globals);

// The first text or unit field whose text would not load back as it is
// shown: a line end in it, or a character the code page lacks. Its file
// line (1-based), or nothing when every one would.
std::optional<int> UnsavableTextLine(const FrmConfig& form);

// Writes the lines with CR LF in the code page. The old file stays as it
// was unless the whole new file could be written.
bool WriteParameterFile(const QString& path, const QStringList& lines);

// A parameter file as read: its lines (at most one more than a parameter
// file has, so that a longer file shows as such), and how its bytes were
// taken. A file whose other-than-ASCII bytes all form UTF-8 sequences was
// saved by an editor as UTF-8: it is converted. In any other file a line
// whose value holds such a sequence ("Ã¶" for "ö") is listed, never taken
// as it stands.
struct ParameterFileText {
  QStringList lines;
  bool convertedFromUtf8 = false;
  std::vector<int> utf8Lines;  // 1-based
};

// Nothing when the path is no regular file (a FIFO would block, a device
// would never end) or cannot be opened.
std::optional<ParameterFileText> ReadParameterFileText(const QString& path);

// The first 147 lines of ReadParameterFileText.
std::optional<QStringList> ReadParameterFile(const QString& path);

// Puts the values of the lines into the window. A missing line, a line
// without its two separators and a bit value that is no check box value
// leave their field as it was. A number outside its field's range or
// resolution is put in as leaving the field corrects it; the lines of such
// values are returned.
std::vector<int> ApplyParameterLines(FrmConfig& form, const QStringList& lines, QChar decimalSep);

// The window's label and text field of a data line's entry (a bit has no
// text field); nothing where the window has none.
const Label* LabelOf(const FrmConfig& form, const file_layout::Place& place);
const TextBox* FieldOf(const FrmConfig& form, const file_layout::Place& place);
TextBox* FieldOf(FrmConfig& form, const file_layout::Place& place);

// The value field of a data line: everything after its second ";", so that
// a text holding ";" loads back whole. Nothing without two separators.
std::optional<QString> ValueField(const QString& line);

}  // namespace rbx14
