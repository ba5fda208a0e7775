#include "sim/image_from_file.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "files/parameter_file.h"
#include "model/register_map.h"

namespace rbx14::sim {
namespace {

std::optional<QString> Value(const QStringList& lines, int lineNumber) {
  if (lineNumber < 1 || lineNumber > lines.size()) return std::nullopt;
  return ValueField(lines[lineNumber - 1]);
}

std::optional<double> Number(const QString& text) {
  if (auto v = ParseDecimal(text, u',')) return v;
  return ParseDecimal(text, u'.');
}

QByteArray Padded(const QString& text, int bytes) {
  QByteArray out = ToCodePage(text.left(bytes));
  out.append(QByteArray(bytes - static_cast<int>(out.size()), '\0'));
  return out;
}

}  // namespace

void ApplyParameterFileToImage(const QStringList& lines, DeviceImage& image) {
  for (int i = 2; i < kConfigFieldCount; ++i) {
    const auto text = Value(lines, kFirstDataLine + i);
    const auto number = text ? Number(*text) : std::nullopt;
    if (!number) continue;
    const double raw = ConfigFieldAt(i).tenths ? *number * 10.0 : *number;
    image.setReg(static_cast<std::uint16_t>(i), ToWord(RoundHalfEven(raw)));
  }
  for (int c = 0; c < 32; ++c) {
    const auto text = Value(lines, kFirstBitLine + c);
    if (!text) continue;
    bool ok = false;
    const int bit = text->trimmed().toInt(&ok);
    if (ok && (bit == 0 || bit == 1)) image.setCoil(static_cast<std::uint16_t>(c), bit == 1);
  }
  for (int k = 0; k < 22; ++k) {
    if (const auto text = Value(lines, kFirstTextLine + k)) {
      image.setTextBytes(static_cast<std::uint16_t>(0x300 + 10 * k), Padded(*text, 20));
    }
  }
  for (int k = 0; k < 6; ++k) {
    QByteArray block = image.textBytes(static_cast<std::uint16_t>(0x400 + 10 * k));
    for (int m = 0; m < 3; ++m) {
      if (const auto text = Value(lines, kFirstUnitLine + 3 * k + m)) {
        block.replace(4 * m, 4, Padded(*text, 4));
      }
    }
    image.setTextBytes(static_cast<std::uint16_t>(0x400 + 10 * k), block);
  }
}

}  // namespace rbx14::sim
