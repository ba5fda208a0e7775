#pragma once
// The strict check of a parameter file before a batch copies it to any
// device. The window's loader skips what it cannot use; a batch must not
// copy a broken file to twenty devices, so it refuses the whole file.

#include <QString>
#include <QStringList>

#include <optional>

namespace rbx14 {

struct FileProblem {
  enum class Kind { TooShort, NoSeparators, BadBit };
  Kind kind;
  int line;       // 1-based
  QString value;  // the offending value, for BadBit
};

// Nothing when the lines make a whole parameter file.
std::optional<FileProblem> CheckParameterLines(const QStringList& lines);

// The problem as a message naming the file and the line.
QString DescribeProblem(const FileProblem& problem, const QString& path, bool english);

}  // namespace rbx14
