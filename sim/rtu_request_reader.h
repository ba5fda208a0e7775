#pragma once
// Finds the requests in the byte stream of an RTU line. A request has no end
// mark, so the reader takes its length from the function code (8 bytes for
// reads, 9 plus the byte count for block writes), falls back to the first
// length whose CRC fits for other functions, and starts afresh after a
// silence of 3.5 characters. The external-value read carries one byte more
// than a standard read; it is recognised by which length gives a good CRC.

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace rbx14::sim {

struct RtuFrame {
  QByteArray body;  // address, function, data; without the CRC
  bool crcOk = false;
};

class RtuRequestReader {
 public:
  explicit RtuRequestReader(double characterTimeUs);

  // Takes one byte whose last bit arrived at endUs. Returns a frame when this
  // byte completes one: with a good CRC, or a rejected one (crcOk false)
  // whose bytes are dropped.
  std::optional<RtuFrame> push(std::uint8_t byte, std::int64_t endUs);

 private:
  std::optional<RtuFrame> finish(int length, bool crcOk);
  bool crcFits(int length) const;

  double characterTimeUs_;
  double silenceUs_;
  QByteArray buffer_;
  std::int64_t lastEndUs_ = 0;
  bool waitingForByteCount_ = false;
};

}  // namespace rbx14::sim
