#include "sim/image_from_file.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "base/device_registers.h"
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
  using file_layout::Section;
  for (const file_layout::Block& block : file_layout::kBlocks) {
    const bool registers = block.section == Section::kRegister;
    for (int i = registers ? file_layout::kFirstLoadedRegister : 0; i < block.count; ++i) {
      const auto text = Value(lines, block.line(i));
      if (!text) continue;
      switch (block.section) {
        case Section::kRegister:
          if (const auto number = Number(*text)) {
            const double raw = ConfigFieldAt(i).tenths ? *number * 10.0 : *number;
            image.setReg(static_cast<std::uint16_t>(device::kConfigFirst + i),
                         ToWord(RoundHalfEven(raw)));
          }
          break;
        case Section::kBit: {
          bool ok = false;
          const int bit = text->trimmed().toInt(&ok);
          if (ok && (bit == 0 || bit == 1)) image.setCoil(static_cast<std::uint16_t>(i), bit == 1);
          break;
        }
        case Section::kText:
          image.setTextBytes(static_cast<std::uint16_t>(device::kTextFirst + device::kBlockRegisters * i),
                             Padded(*text, 2 * device::kBlockRegisters));
          break;
        case Section::kUnit: {
          // Three units of four bytes at the start of each block.
          const auto address = static_cast<std::uint16_t>(
              device::kUnitFirst + device::kBlockRegisters * (i / device::kUnitsPerBlock));
          QByteArray unitBlock = image.textBytes(address);
          unitBlock.replace(4 * (i % device::kUnitsPerBlock), 4, Padded(*text, 4));
          image.setTextBytes(address, unitBlock);
          break;
        }
      }
    }
  }
}

}  // namespace rbx14::sim
