#pragma once
// Finds the requests in what arrives on the simulated device's line.
//
// RTU: a request has no end mark, so the reader takes its length from the
// function code (8 bytes for reads and single writes, 9 plus the byte count
// for block writes), falls back to the first length whose CRC fits for other
// functions, and starts afresh after a silence of 3.5 characters. The
// external-value read carries one byte more than a standard read; it is
// recognised by which length gives a good CRC.
//
// ASCII: ":" starts a frame (and drops any unfinished one), line feed ends
// it. The hex pairs between are the address, function, data and LRC; a frame
// whose LRC does not fit, or that is not hex, is rejected.

#include "link/modbus_frame.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace rbx14::sim {

// A request as read off the line: the frame (its check failed for a
// rejected one) and the bytes or characters it came in.
struct LineRequest {
  ModbusFrame frame;
  QByteArray received;
};

class RtuRequestReader {
 public:
  explicit RtuRequestReader(double characterTimeUs);

  // Takes one byte whose last bit arrived at endUs. Returns a request when
  // this byte completes one: with a good CRC, or a rejected one whose bytes
  // are dropped.
  std::optional<LineRequest> push(std::uint8_t byte, std::int64_t endUs);

 private:
  LineRequest finish(int length);

  double characterTimeUs_;
  double silenceUs_;
  QByteArray buffer_;
  std::int64_t lastEndUs_ = 0;
  bool waitingForByteCount_ = false;
};

class AsciiRequestReader {
 public:
  std::optional<LineRequest> push(std::uint8_t character);

 private:
  AsciiLineCollector line_;
};

}  // namespace rbx14::sim
