#pragma once
// Frames built with the program's own codec, sent to a simulated device
// byte by byte at the line's pace, and the answer collected.

#include "link/codec.h"
#include "sim/simulated_device.h"

#include <QByteArray>

#include <string>

namespace rbx14::sim::test {

inline QByteArray Raw(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// The request or answer frame of a body given as hex pairs, in a mode.
inline QByteArray Framed(const std::string& hexBody, LineMode mode) {
  return Raw(mode == LineMode::Rtu ? BuildRtuFrame(hexBody) : BuildAsciiFrame(hexBody));
}

struct Exchange {
  QByteArray answer;
  TimedBytes timed;
};

// Sends `frame` starting at startUs; returns whatever the device answers.
inline Exchange Send(SimulatedDevice& device, const QByteArray& frame, std::int64_t startUs = 0) {
  Exchange out;
  for (qsizetype k = 0; k < frame.size(); ++k) {
    const auto endUs = startUs + static_cast<std::int64_t>(device.characterTimeUs() * static_cast<double>(k + 1));
    for (const TimedByte& b : device.receive(static_cast<std::uint8_t>(frame[k]), endUs)) {
      out.answer.append(b.byte);
      out.timed.push_back(b);
    }
  }
  return out;
}

}  // namespace rbx14::sim::test
