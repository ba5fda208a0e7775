#include "link/codec.h"

#include <cmath>

namespace rbx14 {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Value of one hex digit as the codec reads it: upper-case only.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

std::string HexWithoutLeadingZeros(std::uint32_t v) {
  if (v == 0) return "0";
  std::string out;
  while (v != 0) {
    out.insert(out.begin(), kHexDigits[v & 0xFu]);
    v >>= 4;
  }
  return out;
}

}  // namespace

std::string LongToHexStr(std::int32_t vlLong, std::int32_t vlBytes) {
  std::string s = HexWithoutLeadingZeros(static_cast<std::uint32_t>(vlLong));
  const std::int64_t wanted = 2 * static_cast<std::int64_t>(vlBytes);
  if (wanted > 0 && wanted > static_cast<std::int64_t>(s.size())) {
    s.insert(0, static_cast<std::size_t>(wanted) - s.size(), '0');
  }
  return s;
}

std::string CalculateLRC(std::string_view sMessage) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < sMessage.size(); i += 2) {
    sum = (sum + HexStrToByte(sMessage.substr(i, 2))) % 256u;
  }
  const unsigned lrc = (255u - sum + 1u) % 256u;
  return LongToHexStr(static_cast<std::int32_t>(lrc), 1);
}

std::int16_t ShiftRightWord(std::int32_t x) {
  // ((x AND NOT 1) / 2) AND 0x7FFF: the division is exact, so this is an
  // arithmetic shift whose sign bits the mask removes.
  const std::int32_t shifted = (x & ~1) / 2;
  return static_cast<std::int16_t>(shifted & 0x7FFF);
}

void UpdateCRC(std::int16_t& crc, std::uint8_t b) {
  std::int32_t reg = crc ^ static_cast<std::int32_t>(b);
  for (int bit = 0; bit < 8; ++bit) {
    const bool lsb = (reg & 1) != 0;
    reg = ShiftRightWord(reg);
    if (lsb) reg ^= 0xA001;
  }
  // 0xA001 lands above bit 15 of an int16 only as a pattern: keep the low 16.
  crc = static_cast<std::int16_t>(static_cast<std::uint16_t>(reg & 0xFFFF));
}

std::uint16_t Crc16(std::string_view data) {
  std::int16_t crc = -1;  // 0xFFFF
  for (char c : data) UpdateCRC(crc, static_cast<std::uint8_t>(c));
  return static_cast<std::uint16_t>(crc);
}

std::string CalculateCRC(std::string_view data) {
  return LongToHexStr(static_cast<std::int32_t>(Crc16(data)), 2);
}

std::uint8_t HexStrToByte(std::string_view s) {
  s = s.substr(0, 2);
  if (s.empty()) return 0;
  if (s.size() == 1) return static_cast<std::uint8_t>(DigitValue(s[0]));
  return static_cast<std::uint8_t>(16 * DigitValue(s[0]) + DigitValue(s[1]));
}

std::string ByteToHexStr(std::uint8_t b) {
  return {kHexDigits[(b & 0xF0u) / 16u], kHexDigits[b & 0x0Fu]};
}

std::string BuildAsciiFrame(std::string_view sModbusFrame) {
  std::string frame;
  frame.reserve(sModbusFrame.size() + 5);
  frame += ':';
  frame += sModbusFrame;
  frame += CalculateLRC(sModbusFrame);
  frame += "\r\n";
  return frame;
}

std::string BuildRtuFrame(std::string_view sModbusFrame) {
  // Length / 2 rounded half to even: an odd digit count ends in a lone digit
  // that becomes a byte of its own only when the rounding says so.
  const double half = static_cast<double>(sModbusFrame.size()) / 2.0;
  const auto n = static_cast<std::size_t>(std::nearbyint(half));
  std::string body;
  body.reserve(n + 2);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t pos = 2 * i;
    const std::string_view pair =
        pos < sModbusFrame.size() ? sModbusFrame.substr(pos, 2) : std::string_view{};
    body += static_cast<char>(HexStrToByte(pair));
  }
  const std::string c = CalculateCRC(body);
  body += static_cast<char>(HexStrToByte(c.substr(2, 2)));  // low byte first
  body += static_cast<char>(HexStrToByte(c.substr(0, 2)));
  return body;
}

}  // namespace rbx14
