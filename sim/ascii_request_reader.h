#pragma once
// Finds the requests in the character stream of an ASCII line: ":" starts a
// frame (and drops any unfinished one), line feed ends it. The hex pairs
// between are the address, function, data and LRC; a frame whose LRC does
// not fit, or that is not hex, is rejected.

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace rbx14::sim {

struct AsciiFrame {
  QByteArray body;  // address, function, data; without the LRC
  QByteArray text;  // the characters received, ":" to line feed
  bool lrcOk = false;
};

class AsciiRequestReader {
 public:
  std::optional<AsciiFrame> push(std::uint8_t character);

 private:
  QByteArray text_;
  bool collecting_ = false;
};

}  // namespace rbx14::sim
