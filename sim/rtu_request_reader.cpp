#include "sim/rtu_request_reader.h"

#include "link/codec.h"

#include <algorithm>
#include <string_view>

namespace rbx14::sim {
namespace {

// Longest RTU frame on a Modbus line.
constexpr int kMaxFrame = 256;
// Shortest: address, function, CRC.
constexpr int kMinFrame = 4;
constexpr int kReadRequestLength = 8;
constexpr int kWriteHeaderLength = 7;

int Byte(const QByteArray& b, int i) { return static_cast<unsigned char>(b[i]); }

}  // namespace

RtuRequestReader::RtuRequestReader(double characterTimeUs)
    : characterTimeUs_(characterTimeUs),
      // Above 19200 baud the silence is fixed at 1.75 ms.
      silenceUs_(std::max(3.5 * characterTimeUs, 1750.0)) {}

bool RtuRequestReader::crcFits(int length) const {
  const std::uint16_t crc =
      Crc16(std::string_view(buffer_.constData(), static_cast<std::size_t>(length - 2)));
  return Byte(buffer_, length - 2) == (crc & 0xFF) && Byte(buffer_, length - 1) == (crc >> 8);
}

std::optional<RtuFrame> RtuRequestReader::finish(int length, bool crcOk) {
  RtuFrame frame{buffer_.left(crcOk ? length - 2 : length), crcOk};
  buffer_.remove(0, length);
  waitingForByteCount_ = false;
  return frame;
}

std::optional<RtuFrame> RtuRequestReader::push(std::uint8_t byte, std::int64_t endUs) {
  // A pause longer than 3.5 characters ends whatever was being collected.
  if (!buffer_.isEmpty() &&
      static_cast<double>(endUs - lastEndUs_) - characterTimeUs_ > silenceUs_) {
    buffer_.clear();
    waitingForByteCount_ = false;
  }
  lastEndUs_ = endUs;
  buffer_.append(static_cast<char>(byte));
  const auto size = static_cast<int>(buffer_.size());
  if (size < 2) return std::nullopt;

  switch (Byte(buffer_, 1)) {
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: {
      if (size == kReadRequestLength) {
        if (crcFits(size)) return finish(size, true);
        // A read whose quantity is followed by the byte count of its answer
        // is one byte longer.
        const int quantity = Byte(buffer_, 4) << 8 | Byte(buffer_, 5);
        if (Byte(buffer_, 1) == 0x03 && Byte(buffer_, 6) == 2 * quantity) {
          waitingForByteCount_ = true;
          return std::nullopt;
        }
        return finish(size, false);
      }
      if (size == kReadRequestLength + 1 && waitingForByteCount_) {
        return finish(size, crcFits(size));
      }
      return std::nullopt;
    }
    case 0x0F: case 0x10: {
      if (size < kWriteHeaderLength) return std::nullopt;
      const int length = kWriteHeaderLength + Byte(buffer_, 6) + 2;
      return size == length ? finish(size, crcFits(size)) : std::nullopt;
    }
    default:
      if (size >= kMinFrame && crcFits(size)) return finish(size, true);
      return size >= kMaxFrame ? finish(size, false) : std::nullopt;
  }
}

}  // namespace rbx14::sim
