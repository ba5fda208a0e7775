#pragma once
// Frames built with the program's own codec, and the program's core on a
// simulated line on the virtual clock, every frame through the tap, the
// line's adapter ready to be pulled out.

#include "link/codec.h"
#include "link/frame_tap.h"
#include "link/virtual_scheduler.h"
#include "session/config_core.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/forwarding_port.h"

#include <QByteArray>

#include <string>

namespace rbx14::sim::test {

// The request or answer frame of a body given as hex pairs, in a mode.
inline QByteArray Framed(const std::string& hexBody, LineMode mode) {
  return QByteArray::fromStdString(mode == LineMode::Rtu ? BuildRtuFrame(hexBody) : BuildAsciiFrame(hexBody));
}

// A device at address 1 in `mode` whose answers `faults` spoil.
inline DeviceSettings WithFaults(const FaultSettings& faults, LineMode mode = LineMode::Rtu) {
  return {mode, 1, std::nullopt, faults};
}

// Sends `frame` byte by byte at the line's pace; returns whatever the device answers.
inline QByteArray Send(SimulatedDevice& device, const QByteArray& frame) {
  QByteArray answer;
  for (qsizetype k = 0; k < frame.size(); ++k) {
    const auto endUs = static_cast<std::int64_t>(device.characterTimeUs() * static_cast<double>(k + 1));
    for (const TimedByte& b : device.receive(static_cast<std::uint8_t>(frame[k]), endUs)) answer.append(b.byte);
  }
  return answer;
}

// Types `keys` into an emptied field as the technician does, then leaves it.
inline void Type(TextBox& field, const QString& keys) {
  field.setText(QString());
  for (QChar key : keys) {
    if (field.filterKey(key.unicode()) != 0) field.setText(field.text() + key);
  }
  field.lostFocus();
}

// Passes everything to the simulated port until it is pulled out: then it
// reports its failure, as a real port does, and takes no more frames.
class PullablePort final : public rbx14::test::ForwardingPort {
 public:
  using ForwardingPort::ForwardingPort;
  void pull() {
    pulled_ = true;
    notifyFailure(port_error::kHardwareNotAvailable);
  }
  bool pulled() const { return pulled_; }
  int setPortOpen(bool open) override {
    return open && pulled_ ? port_error::kInvalidPortNumber : inner_.setPortOpen(open);
  }
  int output(const QByteArray& frame) override {
    return pulled_ ? port_error::kHardwareNotAvailable : inner_.output(frame);
  }
  int inBufferCount() override { return pulled_ ? 0 : inner_.inBufferCount(); }
  QByteArray input() override { return pulled_ ? QByteArray() : inner_.input(); }

 private:
  bool pulled_ = false;
};

// The core on one simulated device (or a bus of them); `sent` holds every
// request that went out.
template <class Line = SimulatedDevice>
struct CoreOn {
  template <class... Args>
  explicit CoreOn(Args&&... args) : device(std::forward<Args>(args)...) {
    tap.addObserver([this](const TappedFrame& f) {
      if (f.direction == TappedFrame::Direction::Sent) sent.push_back(f.bytes);
    });
    core.Main();
  }
  ComboBox& list(int index) { return core.form.Combo_Port[index]; }
  bool idle() const { return core.globals.lJobState == 0 && !core.frmState.loaded(); }
  // Opens the port (0 ASCII, 1 RTU); true once the read-out the probe starts has ended.
  bool openAndReadOut(int modeListPosition, int readOutMs = 30000) {
    list(port_list::kMode).setListIndex(modeListPosition);
    list(port_list::kOpenClose).setListIndex(1);
    return clock.advanceUntil([this] { return core.frmState.loaded(); }, 10000) &&
           clock.advanceUntil([this] { return idle(); }, readOutMs);
  }

  VirtualScheduler clock;
  Line device;
  SimulatedSerialPort simulated{clock, device};
  PullablePort pullable{simulated};
  FrameTap tap{pullable, clock};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core{clock, tap, messages};
  std::vector<QByteArray> sent;
};

}  // namespace rbx14::sim::test
