#pragma once
// The device on its line: it reads requests in its mode (RTU or ASCII),
// ignores what is meant for other addresses or fails the check, answers its
// own after its response delay, paces the answer at the line's character
// time and lets the fault injector spoil some answers. Pure: time comes in
// with every byte, answers go out as bytes with the time each one is on the
// line. Both front ends (the in-process port, the pseudo-terminal) drive it.

#include "link/serial_port.h"
#include "sim/device_image.h"
#include "sim/fault_injector.h"
#include "sim/request_readers.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace rbx14::sim {

enum class LineMode { Rtu, Ascii };

struct DeviceSettings {
  LineMode mode = LineMode::Rtu;
  int address = 1;
  // Fixed delay before an answer in ms; empty: the device's minimum
  // response time, holding register 15, as the tool has configured it.
  std::optional<int> responseDelayMs;
  FaultSettings faults;
};

// One byte going out, due when its last bit has left the device.
struct TimedByte {
  std::int64_t dueUs;
  char byte;
};
using TimedBytes = std::vector<TimedByte>;

// What happened on the line, for the hex log.
struct LineEvent {
  enum class Kind { Request, OtherAddress, BadCheck, Answer, Dropped };
  Kind kind;
  std::int64_t timeUs;
  QByteArray frame;  // as on the line
  QString note;      // faults applied
};

// What stands on the far end of a line: one device or several sharing it.
// The ports (in-process, pseudo-terminal) feed it bytes and pace its answers.
class LineDevice {
 public:
  virtual ~LineDevice() = default;
  virtual void setLine(const PortSettings& line) = 0;
  virtual void setMode(LineMode mode) = 0;
  virtual TimedBytes receive(std::uint8_t byte, std::int64_t endUs) = 0;
  virtual void resetLine() = 0;
  virtual double characterTimeUs() const = 0;
};

class SimulatedDevice final : public LineDevice {
 public:
  explicit SimulatedDevice(DeviceSettings settings = {});

  DeviceImage& image() { return image_; }
  const DeviceSettings& settings() const { return settings_; }

  // The line's character format sets the character time. Changing it or the
  // mode drops any half-received request.
  void setLine(const PortSettings& line) override;
  void setMode(LineMode mode) override;
  LineMode mode() const { return settings_.mode; }

  // A byte from the line whose last bit arrived at endUs. Returns the answer
  // it completes, if any, byte by byte with due times.
  TimedBytes receive(std::uint8_t byte, std::int64_t endUs) override;

  // Forgets half-received requests (the port was closed).
  void resetLine() override;

  void setOnLineEvent(std::function<void(const LineEvent&)> log) { log_ = std::move(log); }

  double characterTimeUs() const override { return characterTimeUs_; }
  int responseDelayMs() const;

 private:
  TimedBytes answer(const QByteArray& request, std::int64_t endUs);
  QByteArray frame(const QByteArray& body) const;
  void corrupt(QByteArray& frame, const FaultPlan& plan) const;
  void collide(QByteArray& frame, const QByteArray& body) const;
  void log(LineEvent::Kind kind, std::int64_t timeUs, const QByteArray& frame,
           const QString& note = {});

  DeviceSettings settings_;
  DeviceImage image_;
  FaultInjector faults_;
  double characterTimeUs_;
  RtuRequestReader rtu_;
  AsciiRequestReader ascii_;
  std::int64_t lineFreeUs_ = 0;
  std::function<void(const LineEvent&)> log_;
};

// A frame of bytes as upper-case hex pairs separated by blanks (RTU), or the
// characters as they are (ASCII, without the line end), for logs.
QString FrameText(const QByteArray& frame, LineMode mode);

}  // namespace rbx14::sim
