#include "files/parameter_file.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "model/field_entry.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>
#include <utility>

namespace rbx14 {
namespace {

// A line longer than this is no line of a parameter file; reading stops
// taking characters there so that a binary file cannot exhaust memory.
constexpr qint64 kMaxLineBytes = 4096;

using file_layout::Block;
using file_layout::Header;
using file_layout::Place;
using file_layout::Section;

QString CaptionOf(const FrmConfig& form, const Place& place) {
  const Label* label = LabelOf(form, place);
  return label != nullptr ? label->caption() : QString();
}

QString TextOf(const FrmConfig& form, const Place& place) {
  const TextBox* field = FieldOf(form, place);
  return field != nullptr ? field->text() : QString();
}

QString ParityWord(const QString& parity) {
  if (parity == u"N") return QStringLiteral("None");
  if (parity == u"O") return QStringLiteral("Odd");
  return QStringLiteral("Even");
}

QString DataLine(const QString& name, int number, const QString& label, const QString& value,
                 QChar sep) {
  return name + PrintNumber(number, sep) + u';' + label + u';' + value;
}

QString HeaderLine(Header line, const FrmConfig& form, const Globals& g, const QDateTime& now,
                   const QString& version) {
  const auto msg = [&g](int index) { return g.MsgText[static_cast<std::size_t>(index)]; };
  switch (line) {
    case Header::kEmpty: return {};
    case Header::kMaker: return QStringLiteral("Quelmar Dovedevavizoz GmbH");
    case Header::kProgram: return QStringLiteral("RBX14-RS485-Modbus Configuration Software");
    case Header::kVersion: return QStringLiteral("Version: ") + version;
    case Header::kTimestamp: return FileTimestamp(now, g.english());
    case Header::kBaudRate: return msg(9) + g.sBaudRate;
    case Header::kMode: return msg(10) + g.sModbusMode;
    case Header::kParity: return msg(11) + ParityWord(g.sParity);
    case Header::kAddress: return msg(12) + form.txt_Modbus_adress.text();
    case Header::kSeparatorNote: return msg(7);
  }
  return {};
}

// A bit value as the loader takes it: a whole 16-bit number, blanks around
// it allowed, that a check box can hold (0, 1 or 2).
std::optional<int> CheckBoxValue(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < 0 || value > 2) return std::nullopt;
  return value;
}

// Whether the bytes hold a well-formed UTF-8 sequence of two or more bytes.
bool HoldsUtf8Sequence(const QByteArray& bytes) {
  const auto continuation = [&bytes](qsizetype at) {
    return at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
  };
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int length = lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    if (length == 0) continue;
    bool whole = true;
    for (int k = 1; k < length; ++k) whole = whole && continuation(i + k);
    if (whole) return true;
  }
  return false;
}

}  // namespace

QString PrintNumber(double value, QChar decimalSep) {
  const QString digits = FormatDecimal(std::fabs(value), decimalSep);
  return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + u' ';
}

QString FileTimestamp(const QDateTime& now, bool english) {
  return english ? now.toString(QStringLiteral("M/d/yyyyh:mm:ss AP"))
                 : now.toString(QStringLiteral("dd.MM.yyyyHH:mm:ss"));
}

QString StoredVersion(const Globals& globals) {
  const QString& text = globals.sVersion;
  if (const auto number = ParseDecimal(text, globals.decimalSep())) {
    return PrintNumber(*number, globals.decimalSep());
  }
  // The package installs a dotted version ("0.1.0"), which no number format
  // reads; taken as 0 it would make every file claim version 0.
  static const QRegularExpression dotted(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
  if (dotted.match(text).hasMatch()) return u' ' + text + u' ';
  return PrintNumber(0, globals.decimalSep());
}

std::optional<int> UnsavableTextLine(const FrmConfig& form) {
  const auto loadsBack = [](const QString& text) {
    for (QChar c : text) {
      if (c == u'\r' || c == u'\n') return false;
      if (CodePageByte(c) == '?' && c != u'?') return false;
    }
    return true;
  };
  for (const Block& block : {file_layout::kTexts, file_layout::kUnits}) {
    for (int i = 0; i < block.count; ++i) {
      if (!loadsBack(TextOf(form, {block, i}))) return block.line(i);
    }
  }
  return std::nullopt;
}

QStringList BuildParameterLines(const FrmConfig& form, const Globals& g, const QDateTime& now,
                                const QString& version) {
  const QChar sep = g.decimalSep();
  QStringList lines;
  lines.reserve(kParameterFileLines);
  for (Header line : file_layout::kHeader) lines << HeaderLine(line, form, g, now, version);
  for (const Block& block : file_layout::kBlocks) {
    for (int i = 0; i < block.count; ++i) {
      const Place place{block, i};
      const bool bit = block.section == Section::kBit;
      const CheckBox* box = bit ? form.chk_cfg.find(i) : nullptr;
      lines << DataLine(bit ? g.MsgText[8] : QStringLiteral("Register"), block.firstNumber + i,
                        CaptionOf(form, place),
                        bit ? PrintNumber(box != nullptr ? box->value() : 0, sep) : TextOf(form, place),
                        sep);
    }
  }
  return lines;
}

bool WriteParameterFile(const QString& path, const QStringList& lines) {
  QByteArray content;
  for (const QString& line : lines) content += ToCodePage(line) + "\r\n";
  // Unbuffered and checked to the last byte: a disk that fills up part way
  // must not let a shortened file replace the old one.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

std::optional<ParameterFileText> ReadParameterFileText(const QString& path) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QList<QByteArray> raw;
  // One line more than a parameter file has tells that the file goes on.
  while (raw.size() <= kParameterFileLines && !file.atEnd()) {
    QByteArray line = file.readLine(kMaxLineBytes);
    if (line.isEmpty() && file.atEnd()) break;
    // A line ends at LF (CR LF in our files); an over-long line is cut and
    // the rest of it is skipped, so it counts as one line.
    const bool complete = line.endsWith('\n');
    while (!complete && !file.atEnd()) {
      const QByteArray rest = file.readLine(kMaxLineBytes);
      if (rest.isEmpty() || rest.endsWith('\n')) break;
    }
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    raw << line;
  }
  ParameterFileText out;
  const QByteArray all = raw.join('\n');
  bool highBytes = false;
  for (char c : all) highBytes = highBytes || static_cast<unsigned char>(c) >= 0x80;
  if (highBytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(all);
    out.convertedFromUtf8 = !utf8.hasError();
  }
  for (qsizetype n = 0; n < raw.size(); ++n) {
    if (out.convertedFromUtf8) {
      out.lines << QString::fromUtf8(raw[n]);
      continue;
    }
    out.lines << FromCodePage(raw[n]);
    // Only the value counts: the label is never read.
    const qsizetype first = raw[n].indexOf(';');
    const qsizetype second = first < 0 ? -1 : raw[n].indexOf(';', first + 1);
    if (second >= 0 && HoldsUtf8Sequence(raw[n].mid(second + 1))) {
      out.utf8Lines.push_back(static_cast<int>(n + 1));
    }
  }
  return out;
}

std::optional<QStringList> ReadParameterFile(const QString& path) {
  auto text = ReadParameterFileText(path);
  if (!text) return std::nullopt;
  return text->lines.mid(0, kParameterFileLines);
}

std::optional<QString> ValueField(const QString& line) {
  const qsizetype first = line.indexOf(u';');
  const qsizetype second = first < 0 ? -1 : line.indexOf(u';', first + 1);
  if (second < 0) return std::nullopt;
  return line.mid(second + 1);
}

std::vector<int> ApplyParameterLines(FrmConfig& form, const QStringList& lines, QChar decimalSep) {
  std::vector<int> corrected;
  for (const Block& block : file_layout::kBlocks) {
    const bool registers = block.section == Section::kRegister;
    for (int i = registers ? file_layout::kFirstLoadedRegister : 0; i < block.count; ++i) {
      const int line = block.line(i);
      const auto text = line <= lines.size() ? ValueField(lines[line - 1]) : std::nullopt;
      if (!text) continue;
      if (block.section == Section::kBit) {
        const auto bit = CheckBoxValue(*text);
        CheckBox* box = form.chk_cfg.find(i);
        if (!bit || box == nullptr) continue;
        box->setValue(*bit);
        if (i >= 16 && i <= 26) {
          if (ComboBox* list = form.cmb_bit_cfg.find(i)) list->setListIndex(box->value());
        }
        continue;
      }
      TextBox* field = FieldOf(form, {block, i});
      if (field == nullptr) continue;
      if (!registers) {
        field->setText(*text);
        continue;
      }
      // Never a value the register cannot hold: what is no number leaves the
      // field as it was, what lies outside the field is limited to it.
      const FieldValueCheck check = CheckFieldValue(i, *text, decimalSep);
      if (check.verdict == FieldValueCheck::Verdict::kNoNumber) continue;
      if (check.verdict == FieldValueCheck::Verdict::kOutsideRange) corrected.push_back(line);
      field->setText(check.corrected);
    }
  }
  return corrected;
}

const Label* LabelOf(const FrmConfig& form, const file_layout::Place& place) {
  switch (place.block.section) {
    case Section::kRegister: return form.lbl_cfg.find(place.index);
    case Section::kBit: return form.lbl_read_cfg_bit.find(place.index);
    case Section::kText: return form.lbl_cfg_txt.find(place.index);
    case Section::kUnit: return form.lbl_cfg_unit.find(place.index);
  }
  return nullptr;
}

TextBox* FieldOf(FrmConfig& form, const file_layout::Place& place) {
  return const_cast<TextBox*>(FieldOf(std::as_const(form), place));
}

const TextBox* FieldOf(const FrmConfig& form, const file_layout::Place& place) {
  switch (place.block.section) {
    case Section::kRegister: return form.txt_data_cfg.find(place.index);
    case Section::kBit: return nullptr;
    case Section::kText: return form.txt_data_cfg_txt.find(place.index);
    case Section::kUnit: return form.txt_data_cfg_unit.find(place.index);
  }
  return nullptr;
}

}  // namespace rbx14
