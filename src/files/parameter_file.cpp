#include "files/parameter_file.h"

#include "core/codepage.h"
#include "core/numbers.h"
#include "shell/registry.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace rbx14 {
namespace {

constexpr int kConfigFields = 61;
constexpr int kBits = 32;
constexpr int kTexts = 22;
constexpr int kUnits = 18;
// A line longer than this is no line of a parameter file; reading stops
// taking characters there so that a binary file cannot exhaust memory.
constexpr qint64 kMaxLineBytes = 4096;

QString CaptionOf(const ControlArray<Label>& labels, int index) {
  const Label* label = labels.find(index);
  return label != nullptr ? label->caption() : QString();
}

QString TextOf(const ControlArray<TextBox>& fields, int index) {
  const TextBox* field = fields.find(index);
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

// A bit value as the loader takes it: a whole 16-bit number, blanks around
// it allowed, that a check box can hold (0, 1 or 2).
std::optional<int> CheckBoxValue(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < 0 || value > 2) return std::nullopt;
  return value;
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

double StoredVersion(const Globals& globals) {
  const QString text = CRegistry().MachineSetting(kProductSection, QStringLiteral("Version"));
  return ParseDecimal(text, globals.decimalSep()).value_or(0.0);
}

QStringList BuildParameterLines(const FrmConfig& form, const Globals& g, const QDateTime& now,
                                double version) {
  const QChar sep = g.decimalSep();
  const auto msg = [&g](int index) { return g.MsgText[static_cast<std::size_t>(index)]; };
  QStringList lines;
  lines.reserve(kParameterFileLines);
  lines << QStringLiteral("Quelmar Dovedevavizoz GmbH") << QString()
        << QStringLiteral("RBX14-RS485-Modbus Configuration Software") << QString()
        << QStringLiteral("Version: ") + PrintNumber(version, sep) << FileTimestamp(now, g.english())
        << QString() << msg(9) + g.sBaudRate << msg(10) + g.sModbusMode
        << msg(11) + ParityWord(g.sParity) << msg(12) + form.txt_Modbus_adress.text() << QString()
        << msg(7) << QString();
  for (int i = 0; i < kConfigFields; ++i) {
    lines << DataLine(QStringLiteral("Register"), i + 1, CaptionOf(form.lbl_cfg, i),
                      TextOf(form.txt_data_cfg, i), sep);
  }
  for (int i = 0; i < kBits; ++i) {
    const CheckBox* box = form.chk_cfg.find(i);
    lines << DataLine(msg(8), i + 1, CaptionOf(form.lbl_read_cfg_bit, i),
                      PrintNumber(box != nullptr ? box->value() : 0, sep), sep);
  }
  for (int i = 0; i < kTexts; ++i) {
    lines << DataLine(QStringLiteral("Register"), i + 769, CaptionOf(form.lbl_cfg_txt, i),
                      TextOf(form.txt_data_cfg_txt, i), sep);
  }
  for (int i = 0; i < kUnits; ++i) {
    lines << DataLine(QStringLiteral("Register"), i + 1024, CaptionOf(form.lbl_cfg_unit, i),
                      TextOf(form.txt_data_cfg_unit, i), sep);
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

std::optional<QStringList> ReadParameterFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QStringList lines;
  while (lines.size() < kParameterFileLines && !file.atEnd()) {
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
    lines << FromCodePage(line);
  }
  return lines;
}

std::optional<QString> ValueField(const QString& line) {
  const QStringList fields = line.split(u';');
  if (fields.size() < 3) return std::nullopt;
  return fields[2];
}

void ApplyParameterLines(FrmConfig& form, const QStringList& lines) {
  const auto value = [&lines](int lineNumber) -> std::optional<QString> {
    if (lineNumber < 1 || lineNumber > lines.size()) return std::nullopt;
    return ValueField(lines[lineNumber - 1]);
  };
  // Registers 0 and 1 (device coding, firmware) belong to the device.
  for (int i = 2; i < kConfigFields; ++i) {
    if (const auto text = value(kFirstDataLine + i)) {
      if (TextBox* field = form.txt_data_cfg.find(i)) field->setText(*text);
    }
  }
  for (int i = 0; i < kBits; ++i) {
    const auto text = value(kFirstBitLine + i);
    if (!text) continue;
    const auto bit = CheckBoxValue(*text);
    CheckBox* box = form.chk_cfg.find(i);
    if (!bit || box == nullptr) continue;
    box->setValue(*bit);
    if (i >= 16 && i <= 26) {
      if (ComboBox* list = form.cmb_bit_cfg.find(i)) list->setListIndex(box->value());
    }
  }
  for (int i = 0; i < kTexts; ++i) {
    if (const auto text = value(kFirstTextLine + i)) {
      if (TextBox* field = form.txt_data_cfg_txt.find(i)) field->setText(*text);
    }
  }
  for (int i = 0; i < kUnits; ++i) {
    if (const auto text = value(kFirstUnitLine + i)) {
      if (TextBox* field = form.txt_data_cfg_unit.find(i)) field->setText(*text);
    }
  }
}

}  // namespace rbx14
