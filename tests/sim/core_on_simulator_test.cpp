// The program without its window, on the virtual clock, talking to the
// in-process simulated device: opening the port sends the probe, and the
// device's answer comes back through the port.

#include "core/config_core.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_serial_port.h"
#include "sim_test_helpers.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

using test::Framed;

// Passes everything to the simulated port and keeps what the program took
// from it, so the test sees the line without depending on what the response
// handler makes of it.
class TappedPort final : public SerialPort {
 public:
  explicit TappedPort(SerialPort& inner) : inner_(inner) {}
  int commPort() const override { return inner_.commPort(); }
  int setCommPort(int port) override { return inner_.setCommPort(port); }
  QString settings() const override { return inner_.settings(); }
  int setSettings(const QString& s) override { return inner_.setSettings(s); }
  bool portOpen() const override { return inner_.portOpen(); }
  int setPortOpen(bool open) override { return inner_.setPortOpen(open); }
  void setInputMode(InputMode mode) override { inner_.setInputMode(mode); }
  int output(const QByteArray& frame) override {
    written.push_back(frame);
    return inner_.output(frame);
  }
  int inBufferCount() override { return inner_.inBufferCount(); }
  QByteArray input() override {
    const QByteArray got = inner_.input();
    taken += got;
    return got;
  }

  std::vector<QByteArray> written;
  QByteArray taken;

 private:
  SerialPort& inner_;
};

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  LineMode mode;
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

class CoreOnSimulator : public ::testing::TestWithParam<ModeRow> {
 protected:
  CoreOnSimulator() : core(clock, tapped, messages) { core.Main(); }

  ComboBox& list(int index) { return core.form.Combo_Port[index]; }

  VirtualScheduler clock;
  SimulatedDevice device;
  SimulatedSerialPort simulated{clock, device};
  TappedPort tapped{simulated};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core;
};

TEST_P(CoreOnSimulator, TheProbeIsAnsweredWithTheBusDelay) {
  list(port_list::kMode).setListIndex(GetParam().modeListPosition);
  list(port_list::kOpenClose).setListIndex(1);
  ASSERT_TRUE(messages.shown.isEmpty());
  ASSERT_EQ(tapped.written.size(), 1u);
  EXPECT_EQ(device.mode(), GetParam().mode);

  // Request, delay and answer take some 30 ms (RTU) or 60 ms (ASCII); the
  // receive poll takes the bytes at its next tick.
  clock.advance(200);
  EXPECT_EQ(tapped.taken, Framed("0103020005", GetParam().mode));
  // The arrival stopped the repeats: a second later nothing more was sent.
  clock.advance(3000);
  EXPECT_EQ(tapped.written.size(), 1u);
  EXPECT_FALSE(core.form.lbl_desc[desc::kCommWarning].visible());
}

INSTANTIATE_TEST_SUITE_P(Modes, CoreOnSimulator,
                         ::testing::Values(ModeRow{"rtu", 1, LineMode::Rtu},
                                           ModeRow{"ascii", 0, LineMode::Ascii}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CoreOnSilentSimulator, TheRepeatsAndTheWarningComeAsWithAnAbsentDevice) {
  VirtualScheduler clock;
  FaultSettings silent;
  silent.silentAfter = 0;
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, std::nullopt, silent});
  SimulatedSerialPort port{clock, device};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core(clock, port, messages);
  core.Main();
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  clock.advance(6000);
  EXPECT_TRUE(core.form.lbl_desc[desc::kCommWarning].visible());
}

}  // namespace
}  // namespace rbx14::sim
