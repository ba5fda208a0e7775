#include "sim/ascii_request_reader.h"

#include <utility>

namespace rbx14::sim {
namespace {

// ":" + 2 * 256 hex digits + CR LF is more than any Modbus frame holds.
constexpr int kMaxText = 1 + 2 * 256 + 2;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of the hex pairs between ":" and the line end, LRC included.
std::optional<QByteArray> DecodeHex(const QByteArray& text) {
  QByteArray digits = text.mid(1);
  digits.chop(1);  // line feed
  if (digits.endsWith('\r')) digits.chop(1);
  if (digits.size() % 2 != 0) return std::nullopt;
  QByteArray bytes;
  for (qsizetype i = 0; i < digits.size(); i += 2) {
    const int hi = HexDigit(digits[i]);
    const int lo = HexDigit(digits[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.append(static_cast<char>(hi << 4 | lo));
  }
  return bytes;
}

}  // namespace

std::optional<AsciiFrame> AsciiRequestReader::push(std::uint8_t character) {
  const char c = static_cast<char>(character);
  if (c == ':') {
    text_ = QByteArray(1, c);
    collecting_ = true;
    return std::nullopt;
  }
  if (!collecting_) return std::nullopt;
  text_.append(c);
  if (c != '\n') {
    if (text_.size() > kMaxText) {
      collecting_ = false;
      return AsciiFrame{{}, std::exchange(text_, {}), false};
    }
    return std::nullopt;
  }
  collecting_ = false;
  AsciiFrame frame{{}, std::exchange(text_, {}), false};
  const auto bytes = DecodeHex(frame.text);
  // Address, function and LRC at least; the LRC makes the byte sum zero.
  if (!bytes || bytes->size() < 3) return frame;
  unsigned sum = 0;
  for (char b : *bytes) sum += static_cast<unsigned char>(b);
  frame.lrcOk = (sum & 0xFFu) == 0;
  if (frame.lrcOk) frame.body = bytes->left(bytes->size() - 1);
  return frame;
}

}  // namespace rbx14::sim
