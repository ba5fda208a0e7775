#include "sim/request_readers.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace rbx14::sim {
namespace {

// Longest RTU frame on a Modbus line.
constexpr int kMaxFrame = 256;
// Shortest: address, function, CRC.
constexpr int kMinFrame = 4;

int Byte(const QByteArray& b, int i) { return static_cast<unsigned char>(b[i]); }

}  // namespace

RtuRequestReader::RtuRequestReader(double characterTimeUs)
    : characterTimeUs_(characterTimeUs),
      // Above 19200 baud the silence is fixed at 1.75 ms.
      silenceUs_(std::max(3.5 * characterTimeUs, 1750.0)) {}

LineRequest RtuRequestReader::finish(int length) {
  LineRequest request{{}, buffer_.left(length)};
  request.frame = ModbusFrame::fromRtu(std::string_view(request.received.constData(), static_cast<std::size_t>(length)));
  buffer_.remove(0, length);
  waitingForByteCount_ = false;
  return request;
}

std::optional<LineRequest> RtuRequestReader::push(std::uint8_t byte, std::int64_t endUs) {
  // A pause longer than 3.5 characters ends whatever was being collected.
  if (!buffer_.isEmpty() &&
      static_cast<double>(endUs - lastEndUs_) - characterTimeUs_ > silenceUs_) {
    buffer_.clear();
    waitingForByteCount_ = false;
  }
  lastEndUs_ = endUs;
  buffer_.append(static_cast<char>(byte));
  const auto size = static_cast<int>(buffer_.size());
  const std::string_view bytes(buffer_.constData(), static_cast<std::size_t>(size));
  const int length = RtuRequestLength(bytes);
  if (length < 0) {
    // Any other function: the first length whose CRC fits.
    if (size >= kMinFrame && RtuCrcGood(bytes)) return finish(size);
    return size >= kMaxFrame ? std::optional(finish(size)) : std::nullopt;
  }
  if (length == 0) return std::nullopt;
  if (size == length) {
    if (RtuCrcGood(bytes)) return finish(size);
    // A read whose quantity is followed by the byte count of its answer is
    // one byte longer.
    const int quantity = Byte(buffer_, 4) << 8 | Byte(buffer_, 5);
    if (Byte(buffer_, 1) == 0x03 && Byte(buffer_, 6) == 2 * quantity) {
      waitingForByteCount_ = true;
      return std::nullopt;
    }
    return finish(size);
  }
  if (size == length + 1 && waitingForByteCount_) return finish(size);
  return std::nullopt;
}

std::optional<LineRequest> AsciiRequestReader::push(std::uint8_t character) {
  std::string line;
  const auto step = line_.push(static_cast<char>(character), line);
  if (step == AsciiLineCollector::Step::More) return std::nullopt;
  LineRequest request{{}, QByteArray::fromStdString(line)};
  if (step == AsciiLineCollector::Step::TooLong) return request;
  std::string_view digits(line);
  digits.remove_prefix(1);  // ":"
  digits.remove_suffix(digits.size() >= 2 && digits[digits.size() - 2] == '\r' ? 2 : 1);
  const auto bytes = AsciiPairs(digits, true);
  // Address, function and LRC at least.
  if (bytes && bytes->size() >= 3) request.frame = ModbusFrame::fromAsciiBytes(*bytes);
  return request;
}

}  // namespace rbx14::sim
