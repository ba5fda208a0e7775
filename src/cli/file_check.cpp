#include "cli/file_check.h"

#include "cli/cli_texts.h"
#include "files/parameter_file.h"

namespace rbx14 {

std::optional<FileProblem> CheckParameterLines(const QStringList& lines) {
  if (lines.size() < kParameterFileLines) {
    return FileProblem{FileProblem::Kind::TooShort, static_cast<int>(lines.size()) + 1, {}};
  }
  for (int n = kFirstDataLine; n <= kParameterFileLines; ++n) {
    const auto value = ValueField(lines[n - 1]);
    if (!value) return FileProblem{FileProblem::Kind::NoSeparators, n, {}};
    const bool bitLine = n >= kFirstBitLine && n < kFirstTextLine;
    const QString bit = value->trimmed();
    if (bitLine && bit != u"0" && bit != u"1")
      return FileProblem{FileProblem::Kind::BadBit, n, bit};
  }
  return std::nullopt;
}

QString DescribeProblem(const FileProblem& problem, const QString& path, bool english) {
  switch (problem.kind) {
    case FileProblem::Kind::TooShort:
      return cli_texts::kFileShort.in(english).arg(path).arg(problem.line).arg(kParameterFileLines);
    case FileProblem::Kind::NoSeparators:
      return cli_texts::kNoSeparators.in(english).arg(path).arg(problem.line);
    case FileProblem::Kind::BadBit:
      return cli_texts::kBadBit.in(english).arg(path).arg(problem.line).arg(problem.value);
  }
  return {};
}

}  // namespace rbx14
