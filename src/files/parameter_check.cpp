#include "files/parameter_check.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "files/file_texts.h"
#include "model/field_entry.h"

namespace rbx14 {
namespace {

using file_layout::Section;

// The most characters the device reads back of a text or unit line.
int MaxLengthOf(const FrmConfig& form, int line) {
  const auto place = file_layout::PlaceOf(line);
  const TextBox* field = place ? FieldOf(form, *place) : nullptr;
  return field != nullptr ? field->maxLength() : 0;
}

bool InCodePage(const QString& text) {
  for (QChar c : text) {
    if (CodePageByte(c) == '?' && c != u'?') return false;
  }
  return true;
}

std::optional<FileProblem> CheckTextLine(const ParameterFileText& file, const FrmConfig& form,
                                         int line, const QString& value) {
  for (int n : file.utf8Lines) {
    if (n == line) return FileProblem{FileProblem::Kind::Utf8, line, value};
  }
  if (!InCodePage(value)) return FileProblem{FileProblem::Kind::NotCodePage, line, value};
  const int maxLength = MaxLengthOf(form, line);
  // A longer text would be cut when it is loaded: the device would get, and
  // read back, less than the file says.
  if (maxLength > 0 && value.size() > maxLength) {
    return FileProblem{FileProblem::Kind::TextTooLong, line, value};
  }
  return std::nullopt;
}

// A value as a message shows it: control characters (a NUL would end the
// message on a terminal) as \xNN.
QString Shown(const QString& value) {
  QString out;
  for (QChar c : value) {
    out += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0')) : QString(c);
  }
  return out;
}

}  // namespace

std::optional<FileProblem> CheckParameterFile(const ParameterFileText& file, const FrmConfig& form,
                                              QChar decimalSep, OutsideRange outside) {
  const QStringList& lines = file.lines;
  if (lines.size() < kParameterFileLines) {
    return FileProblem{FileProblem::Kind::TooShort, static_cast<int>(lines.size()) + 1, {}};
  }
  for (int n = kFirstDataLine; n <= kParameterFileLines; ++n) {
    const auto value = ValueField(lines[n - 1]);
    if (!value) return FileProblem{FileProblem::Kind::NoSeparators, n, {}};
    const file_layout::Place place = *file_layout::PlaceOf(n);
    if (place.block.section == Section::kRegister) {
      const int index = place.index;
      if (!LimitsOfField(index)) continue;  // the device's own, never loaded
      switch (CheckFieldValue(index, *value, decimalSep).verdict) {
        case FieldValueCheck::Verdict::kAccepted:
          break;
        case FieldValueCheck::Verdict::kNoNumber:
          return FileProblem{FileProblem::Kind::NoNumber, n, *value};
        case FieldValueCheck::Verdict::kOutsideRange:
          if (outside == OutsideRange::kRefused) {
            return FileProblem{FileProblem::Kind::OutsideRange, n, value->trimmed()};
          }
          break;
      }
    } else if (place.block.section == Section::kBit) {
      const QString bit = value->trimmed();
      if (bit != u"0" && bit != u"1") return FileProblem{FileProblem::Kind::BadBit, n, bit};
    } else if (const auto problem = CheckTextLine(file, form, n, *value)) {
      return problem;
    }
  }
  if (lines.size() > kParameterFileLines) {
    return FileProblem{FileProblem::Kind::TooLong, kParameterFileLines + 1, {}};
  }
  return std::nullopt;
}

QString CaptionOfLine(const FrmConfig& form, const QStringList& lines, int line) {
  const auto place = file_layout::PlaceOf(line);
  const Label* label = place ? LabelOf(form, *place) : nullptr;
  QString caption = label != nullptr ? label->caption().trimmed() : QString();
  while (caption.endsWith(u':')) caption.chop(1);
  caption = caption.trimmed();
  if (caption.isEmpty() && line >= 1 && line <= lines.size()) {
    caption = lines[line - 1].section(u';', 0, 0).trimmed();
  }
  return caption;
}

QString AllowedValues(int index, QChar decimalSep, bool english) {
  const auto limits = LimitsOfField(index);
  if (!limits) return {};
  if (!limits->tenths) return QStringLiteral("%1..%2").arg(limits->min).arg(limits->max);
  return file_texts::kSteps.in(english)
      .arg(limits->min)
      .arg(limits->max)
      .arg(FormatDecimal(0.1, decimalSep));
}

QString DescribeFileProblem(const FileProblem& problem, const FrmConfig& form,
                            const QStringList& lines, QChar decimalSep, bool english) {
  namespace t = file_texts;
  using Kind = FileProblem::Kind;
  const auto place = file_layout::PlaceOf(problem.line);
  const int index = place && place->block.section == Section::kRegister ? place->index : -1;
  const QString value = Shown(problem.value);
  QString what;
  switch (problem.kind) {
    case Kind::TooShort:
      return t::kTooShort.in(english).arg(problem.line).arg(kParameterFileLines);
    case Kind::TooLong:
      return t::kTooLong.in(english).arg(problem.line).arg(kParameterFileLines);
    case Kind::NoSeparators:
      what = t::kNoSeparators.in(english);
      break;
    case Kind::BadBit:
      what = t::kBadBit.in(english).arg(value);
      break;
    case Kind::NoNumber:
      what = t::kNoNumber.in(english).arg(value, AllowedValues(index, decimalSep, english));
      break;
    case Kind::OutsideRange:
      what = t::kOutsideRange.in(english).arg(value,
                                              AllowedValues(index, decimalSep, english));
      break;
    case Kind::Utf8:
      what = t::kUtf8.in(english).arg(value);
      break;
    case Kind::NotCodePage:
      what = t::kNotCodePage.in(english).arg(value);
      break;
    case Kind::TextTooLong:
      what = t::kTextTooLong.in(english).arg(value).arg(MaxLengthOf(form, problem.line));
      break;
  }
  return t::kLine.in(english).arg(problem.line).arg(CaptionOfLine(form, lines, problem.line), what);
}

}  // namespace rbx14
