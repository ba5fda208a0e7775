#pragma once
// The whole-file check of a parameter file before any of it reaches the
// window or a device. Loading skips nothing silently and a batch copies
// nothing broken to twenty devices: a file is taken whole or not at all.

#include "files/parameter_file.h"
#include "model/frm_config.h"

#include <QString>

#include <optional>

namespace rbx14 {

struct FileProblem {
  enum class Kind {
    TooShort,      // the file ends before its last line
    TooLong,       // more lines follow the last one
    NoSeparators,  // a data line without its two ";"
    BadBit,        // a bit that is not 0 or 1
    NoNumber,      // a register value that is no number
    OutsideRange,  // a number outside its field's range or resolution
    Utf8,          // a value whose bytes are UTF-8 in a Windows-1252 file
    NotCodePage,   // a converted text with characters the device lacks
    TextTooLong,   // more characters than the device reads back
  };
  Kind kind;
  int line;       // 1-based
  QString value;  // the offending value
};

// What a number outside its field's range or resolution means: the batch
// refuses the file, the window loads it corrected and says so.
enum class OutsideRange { kRefused, kCorrected };

// Nothing when the file is a whole parameter file that the window and the
// device can take as it stands. `form` gives the texts' and units' lengths.
std::optional<FileProblem> CheckParameterFile(const ParameterFileText& file, const FrmConfig& form,
                                              QChar decimalSep,
                                              OutsideRange outside = OutsideRange::kRefused);

// "line 20 Caption: what is wrong; allowed: 0..255", in the form's language.
QString DescribeFileProblem(const FileProblem& problem, const FrmConfig& form,
                            const QStringList& lines, QChar decimalSep, bool english);

// The caption of a data line as the window shows it (for a bit without one,
// the line's name from the file), without the trailing colon.
QString CaptionOfLine(const FrmConfig& form, const QStringList& lines, int line);

// What register field `index` takes, as "0..255" or "-10..10 in steps of 0,1".
QString AllowedValues(int index, QChar decimalSep, bool english);

}  // namespace rbx14
