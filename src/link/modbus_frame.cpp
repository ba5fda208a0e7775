#include "link/modbus_frame.h"

#include "link/codec.h"

#include <stdexcept>

namespace rbx14 {
namespace {

constexpr int kExceptionFlag = 0x80;
constexpr int kExceptionAnswerLength = 5;  // address, function, code, CRC
constexpr int kFixedLength = 8;            // address, function, two words, CRC
constexpr int kBlockWriteHeader = 7;       // address, function, start, quantity, count

std::uint8_t At(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

int DigitValue(char c, bool lowerCaseToo) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (lowerCaseToo && c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool RtuCrcGood(std::string_view frame) {
  if (frame.size() < 2) return false;
  const std::uint16_t crc = Crc16(frame.substr(0, frame.size() - 2));
  return At(frame, frame.size() - 2) == (crc & 0xFF) && At(frame, frame.size() - 1) == (crc >> 8);
}

bool LrcGood(std::string_view bytes) {
  unsigned sum = 0;
  for (char b : bytes) sum += static_cast<std::uint8_t>(b);
  return (sum & 0xFFu) == 0;
}

ModbusFrame ModbusFrame::fromRtu(std::string_view bytes) {
  if (bytes.size() < 2) return {};
  return {std::string(bytes.substr(0, bytes.size() - 2)), RtuCrcGood(bytes)};
}

ModbusFrame ModbusFrame::fromAsciiBytes(std::string_view bytes) {
  if (bytes.empty()) return {};
  return {std::string(bytes.substr(0, bytes.size() - 1)), LrcGood(bytes)};
}

std::string ModbusFrame::hexWithCheck(bool ascii) const {
  std::string hex;
  hex.reserve(2 * pdu.size() + 4);
  for (char b : pdu) hex += ByteToHexStr(static_cast<std::uint8_t>(b));
  if (ascii) {
    unsigned sum = 0;
    for (char b : pdu) sum += static_cast<std::uint8_t>(b);
    hex += ByteToHexStr(static_cast<std::uint8_t>(-sum));
  } else {
    const std::uint16_t crc = Crc16(pdu);
    hex += ByteToHexStr(static_cast<std::uint8_t>(crc & 0xFF));
    hex += ByteToHexStr(static_cast<std::uint8_t>(crc >> 8));
  }
  return hex;
}

int RtuAnswerLength(std::string_view head) {
  if (head.size() < 2) return 0;
  const std::uint8_t function = At(head, 1);
  if ((function & kExceptionFlag) != 0) return kExceptionAnswerLength;
  switch (function) {
    case 0x01: case 0x02: case 0x03: case 0x04:
      // Address, function, byte count, the data, CRC.
      return head.size() < 3 ? 0 : 3 + At(head, 2) + 2;
    case 0x05: case 0x06: case 0x0F: case 0x10:
      return kFixedLength;
    default:
      return -1;
  }
}

int RtuRequestLength(std::string_view head) {
  if (head.size() < 2) return 0;
  switch (At(head, 1)) {
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06:
      return kFixedLength;
    case 0x0F: case 0x10:
      return head.size() < kBlockWriteHeader ? 0 : kBlockWriteHeader + At(head, 6) + 2;
    default:
      return -1;
  }
}

std::optional<std::string> AsciiPairs(std::string_view digits, bool lowerCaseToo) {
  if (digits.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = DigitValue(digits[i], lowerCaseToo);
    const int low = DigitValue(digits[i + 1], lowerCaseToo);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high << 4 | low);
  }
  return bytes;
}

std::optional<ModbusFrame> AsciiAnswerLine(std::string_view line) {
  // ":", address, function, LRC, CR LF.
  if (line.size() < 9 || line.front() != ':' || line.substr(line.size() - 2) != "\r\n") return std::nullopt;
  const auto bytes = AsciiPairs(line.substr(1, line.size() - 3), true);
  if (!bytes) return std::nullopt;
  return ModbusFrame::fromAsciiBytes(*bytes);
}

AsciiLineCollector::Step AsciiLineCollector::push(char c, std::string& line) {
  if (c == ':') {
    text_.assign(1, c);
    return Step::More;
  }
  if (text_.empty()) return Step::More;
  text_ += c;
  if (c != '\n' && text_.size() <= kLongestLine) return Step::More;
  line.swap(text_);
  text_.clear();
  return c == '\n' ? Step::Line : Step::TooLong;
}

void RtuAnswerAssembler::reset() {
  bytes_[0] = bytes_[1] = bytes_[2] = 0;
  count_ = 0;
}

std::optional<ModbusFrame> RtuAnswerAssembler::push(std::uint8_t b, int ownAddress) {
  const std::string_view head(reinterpret_cast<const char*>(bytes_.data()), 3);
  if (bytes_[0] == 0) {
    // Address 0 never matches: 0 marks the empty slot.
    if (b != 0 && b == ownAddress) {
      bytes_[0] = b;
      count_ = 1;
    }
    return std::nullopt;
  }
  if (bytes_[1] == 0) {
    if (b == 3 || b == 1 || b == 15 || b == 16) {
      bytes_[1] = b;
      ++count_;
      // A read waits for its byte count; a block write's echo is 8 bytes.
      if (b == 15 || b == 16) expectedLength_ = RtuAnswerLength(head.substr(0, 2));
    } else {
      // Any other function, exception answers included: start over.
      bytes_[0] = 0;
      count_ = 0;
    }
    return std::nullopt;
  }
  if ((bytes_[1] == 3 || bytes_[1] == 1) && bytes_[2] == 0) {
    // A byte count of 0 leaves the slot empty, so the next byte is taken as
    // the count again.
    bytes_[2] = b;
    ++count_;
    expectedLength_ = RtuAnswerLength(head);
    return std::nullopt;
  }
  if (count_ >= kCapacity) throw std::length_error("RTU answer longer than the receive buffer");
  bytes_[static_cast<std::size_t>(count_)] = b;
  ++count_;
  if (count_ != expectedLength_) return std::nullopt;
  ModbusFrame frame = ModbusFrame::fromRtu(
      std::string_view(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::size_t>(count_)));
  reset();
  return frame;
}

}  // namespace rbx14
