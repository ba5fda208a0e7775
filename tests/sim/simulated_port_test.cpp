// The in-process port on the virtual clock: answers become readable as their
// line time passes, and the port opens and closes like a port.

#include "link/virtual_scheduler.h"
#include "sim/simulated_serial_port.h"
#include "sim_test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rbx14::sim {
namespace {

using test::Framed;

struct PacingRow {
  const char* name;
  const char* settings;
  int bitsPerCharacter;
  const char* request;
  int answerBytes;
};
std::ostream& operator<<(std::ostream& os, const PacingRow& row) { return os << row.name; }

class Pacing : public ::testing::TestWithParam<PacingRow> {
 protected:
  VirtualScheduler clock;
  SimulatedDevice device{DeviceSettings{LineMode::Rtu, 1, 10, {}}};
  SimulatedSerialPort port{clock, device};
};

// Each byte is readable once its last bit has arrived: first the request
// travels to the device, then the device waits its response delay, then the
// answer comes at one character time per byte.
TEST_P(Pacing, BytesArriveAtTheLinesCharacterTime) {
  const PacingRow& row = GetParam();
  ASSERT_EQ(port.setSettings(QString::fromLatin1(row.settings)), 0);
  ASSERT_EQ(port.setPortOpen(true), 0);
  const auto parsed = ParsePortSettings(QString::fromLatin1(row.settings));
  const double characterUs = 1e6 * row.bitsPerCharacter / parsed->baudRate;
  const LineMode mode = parsed->dataBits == 7 ? LineMode::Ascii : LineMode::Rtu;
  const QByteArray request = Framed(row.request, mode);
  ASSERT_EQ(port.output(request), 0);

  std::vector<std::int64_t> arrivalMs;  // when each byte became readable
  int notices = 0;
  port.setOnBytesArrived([&] { ++notices; });
  while (static_cast<int>(arrivalMs.size()) < row.answerBytes && clock.nowMs() < 2000) {
    clock.advance(1);
    for (int n = static_cast<int>(arrivalMs.size()); n < port.inBufferCount(); ++n) arrivalMs.push_back(clock.nowMs());
  }
  ASSERT_EQ(static_cast<int>(arrivalMs.size()), row.answerBytes);
  EXPECT_GT(notices, 0);

  // Line times are kept in whole microseconds.
  const std::int64_t answerStartUs = std::llround(request.size() * characterUs) + 10'000;
  for (int k = 0; k < row.answerBytes; ++k) {
    const std::int64_t dueUs = answerStartUs + std::llround((k + 1) * characterUs);
    EXPECT_EQ(arrivalMs[static_cast<std::size_t>(k)], (dueUs + 999) / 1000) << "byte " << k;
  }
  const QByteArray answer = port.input();
  EXPECT_EQ(answer.size(), row.answerBytes);
  EXPECT_EQ(port.inBufferCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Pacing,
    ::testing::Values(
        // 25 bytes at 11 bits and 9600 baud: 28.6 ms after the delay.
        PacingRow{"block_9600_8E1", "9600,E,8,1", 11, "01030000000A", 25},
        PacingRow{"block_19200_8N1", "19200,N,8,1", 10, "01030000000A", 25},
        PacingRow{"block_57600_8O1", "57600,O,8,1", 11, "01030000000A", 25},
        PacingRow{"block_9600_8N2", "9600,N,8,2", 11, "01030000000A", 25},
        // ASCII: ":", 2 x 23 digits, LRC, CR LF = 51 characters of 10 bits.
        PacingRow{"ascii_block_9600_7E1", "9600,E,7,1", 10, "01030000000A", 51}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimulatedPort, TheAnswerOf25BytesAt9600EvenTakesAbout28_6Ms) {
  VirtualScheduler clock;
  SimulatedDevice device{DeviceSettings{LineMode::Rtu, 1, 10, {}}};
  SimulatedSerialPort port{clock, device};
  port.setSettings(QStringLiteral("9600,E,8,1"));
  port.setPortOpen(true);
  port.output(Framed("01030000000A", LineMode::Rtu));
  // The request takes 8 x 1.146 ms = 9.2 ms, the delay 10 ms.
  clock.advance(20);
  EXPECT_EQ(port.inBufferCount(), 0);
  clock.advance(27);  // 19.2 + 28.6 = 47.8 ms: not yet all there
  EXPECT_EQ(port.inBufferCount(), 24);
  clock.advance(1);
  EXPECT_EQ(port.inBufferCount(), 25);
}

TEST(SimulatedPort, BehavesLikeAPort) {
  VirtualScheduler clock;
  SimulatedDevice device;
  SimulatedSerialPort port{clock, device};
  EXPECT_EQ(port.setSettings(QStringLiteral("9600,X,8,1")), port_error::kInvalidPropertyValue);
  EXPECT_EQ(port.setSettings(QStringLiteral("")), port_error::kInvalidPropertyValue);
  EXPECT_EQ(port.setCommPort(0), port_error::kInvalidPortNumber);
  EXPECT_EQ(port.output(QByteArray("x")), port_error::kPortNotOpen);
  EXPECT_EQ(port.setPortOpen(true), 0);
  EXPECT_EQ(port.setCommPort(3), port_error::kNotWhileOpen);

  // Closing drops an answer on its way.
  port.output(Framed("010300210001", LineMode::Rtu));
  clock.advance(15);
  EXPECT_EQ(port.setPortOpen(false), 0);
  clock.advance(100);
  EXPECT_EQ(port.inBufferCount(), 0);
  EXPECT_EQ(port.setPortOpen(true), 0);
  clock.advance(100);
  EXPECT_EQ(port.inBufferCount(), 0);
}

TEST(SimulatedPort, ADeviceOnAnotherLineUnderstandsNothing) {
  VirtualScheduler clock;
  SimulatedDevice device;
  SimulatedSerialPort port{clock, device};
  port.setDeviceLine(PortSettings{19200, 'E', 8, 1});
  port.setSettings(QStringLiteral("9600,E,8,1"));
  port.setPortOpen(true);
  port.output(Framed("010300210001", LineMode::Rtu));
  clock.advance(500);
  EXPECT_EQ(port.inBufferCount(), 0);

  port.setSettings(QStringLiteral("19200,E,8,1"));
  port.output(Framed("010300210001", LineMode::Rtu));
  clock.advance(500);
  EXPECT_EQ(port.input(), Framed("0103020005", LineMode::Rtu));
}

}  // namespace
}  // namespace rbx14::sim
