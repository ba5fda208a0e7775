// The simulated device driven with frames built by the program's codec: every
// function in both modes, exception answers, and the frames it must ignore.

#include "sim/modbus_slave.h"
#include "sim/register_map.h"
#include "sim_test_helpers.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

using test::Framed;
using test::Send;

struct FrameRow {
  const char* name;
  LineMode mode;
  const char* request;  // body as hex pairs
  const char* answer;   // body as hex pairs; "" for no answer at all
};

std::ostream& operator<<(std::ostream& os, const FrameRow& row) { return os << row.name; }

// The factory image answers with these values:
//   registers 0..9: 1409, 112, 9, 1, 40, 200, 0x08, 0x09, 0x10, 0x22
//   register 0x21 (the bus delay): 5
//   coils set: 0, 5, 6, 9, 11, 12, 16, 21, 24, 28, 29, 30
constexpr const char* kConfigBlock0 = "01031405810070000900010028" "00C80008000900100022";
constexpr const char* kExternalValues =
    "01032C"
    "0000000000000000"  // 0x207..0x20A external values
    "00000000"          // 0x20B, 0x20C setpoint offsets
    "00D200F0"          // 0x20D, 0x20E basic setpoints 21.0 and 24.0
    "00000001"          // 0x20F fan stage off, 0x210 occupied
    "0000000000000000"  // 0x211..0x214 alarms
    "000300000000"      // 0x215 controller automatic, 0x216, 0x217 analogue outputs
    "7FFF"              // 0x218 no external temperature
    "0000000000000000"; // 0x219..0x21C reserved

class SlaveFrames : public ::testing::TestWithParam<FrameRow> {};

TEST_P(SlaveFrames, AnswersAsTheDeviceDoes) {
  const FrameRow& row = GetParam();
  SimulatedDevice device(DeviceSettings{row.mode, 1, 0, {}});
  const auto got = Send(device, Framed(row.request, row.mode));
  const QByteArray expected = std::string(row.answer).empty() ? QByteArray() : Framed(row.answer, row.mode);
  EXPECT_EQ(got.answer.toHex(' '), expected.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Rtu, SlaveFrames,
    ::testing::Values(
        FrameRow{"probe_answers_bus_delay", LineMode::Rtu, "010300210001", "0103020005"},
        FrameRow{"read_out_block", LineMode::Rtu, "01030000000A", kConfigBlock0},
        FrameRow{"display_text_block", LineMode::Rtu, "01030300000A",
                 "010314" "46656E73746572206F6666656E000000000000"  "00"},
        FrameRow{"unit_block", LineMode::Rtu, "01030400000A",
                 "010314" "B0430000" "25000000" "70706D00" "0000000000000000"},
        FrameRow{"external_values_with_byte_count", LineMode::Rtu, "010302070016" "2C", kExternalValues},
        FrameRow{"config_bits_lsb_first", LineMode::Rtu, "010100000020", "010104611A2171"},
        FrameRow{"input_bits", LineMode::Rtu, "010101000010", "0101020000"},
        FrameRow{"odd_coil_count_pads_the_last_byte", LineMode::Rtu, "010100050003", "01010103"},
        FrameRow{"write_config_block_echoes", LineMode::Rtu,
                 "01100000000A14" "0581007000090001002800C80008000900100022", "01100000000A"},
        FrameRow{"write_one_input_register", LineMode::Rtu, "011002070001020064", "011002070001"},
        FrameRow{"write_clock_register", LineMode::Rtu, "01100200000102003B", "011002000001"},
        FrameRow{"write_config_bits", LineMode::Rtu, "010F000000200400000000", "010F00000020"},
        FrameRow{"write_input_bits", LineMode::Rtu, "010F010000100201FF", "010F01000010"},
        FrameRow{"read_input_registers_is_illegal_function", LineMode::Rtu, "010400000001", "018401"},
        FrameRow{"write_single_register_is_illegal_function", LineMode::Rtu, "010600000001", "018601"},
        FrameRow{"unknown_function_is_illegal_function", LineMode::Rtu, "0141", "01C101"},
        FrameRow{"read_past_the_configuration", LineMode::Rtu, "01030037000A", "018302"},
        FrameRow{"read_clock_registers", LineMode::Rtu, "010302000001", "018302"},
        FrameRow{"read_unmapped", LineMode::Rtu, "010305000001", "018302"},
        FrameRow{"coils_past_the_configuration_bits", LineMode::Rtu, "010100100011", "018102"},
        FrameRow{"write_output_register", LineMode::Rtu, "011001000001020001", "019002"},
        FrameRow{"block_write_to_input_registers", LineMode::Rtu, "0110020700020400010002", "019002"},
        FrameRow{"read_of_zero_registers", LineMode::Rtu, "010300000000", "018303"},
        FrameRow{"another_address_is_ignored", LineMode::Rtu, "020300210001", ""},
        FrameRow{"broadcast_is_ignored", LineMode::Rtu, "000300210001", ""}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Ascii, SlaveFrames,
    ::testing::Values(
        FrameRow{"probe_answers_bus_delay", LineMode::Ascii, "010300210001", "0103020005"},
        FrameRow{"read_out_block", LineMode::Ascii, "01030000000A", kConfigBlock0},
        FrameRow{"external_values_with_byte_count", LineMode::Ascii, "010302070016" "2C", kExternalValues},
        FrameRow{"config_bits_lsb_first", LineMode::Ascii, "010100000020", "010104611A2171"},
        FrameRow{"write_input_bits", LineMode::Ascii, "010F010000100201FF", "010F01000010"},
        FrameRow{"unknown_function", LineMode::Ascii, "0105", "018501"},
        FrameRow{"byte_count_disagrees_with_data", LineMode::Ascii, "011002070001030064", "019003"},
        FrameRow{"another_address_is_ignored", LineMode::Ascii, "110300210001", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A damaged check makes the device keep quiet, in either mode.
TEST(SlaveChecks, AWrongCrcIsIgnoredAndTheNextRequestAnswered) {
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, 0, {}});
  QByteArray bad = Framed("010300210001", LineMode::Rtu);
  bad[bad.size() - 1] = static_cast<char>(bad[bad.size() - 1] ^ 0x01);
  EXPECT_TRUE(Send(device, bad).answer.isEmpty());
  // After a pause the device takes the next request.
  EXPECT_EQ(Send(device, Framed("010300210001", LineMode::Rtu), 100'000).answer,
            Framed("0103020005", LineMode::Rtu));
}

TEST(SlaveChecks, AWrongLrcIsIgnored) {
  SimulatedDevice device(DeviceSettings{LineMode::Ascii, 1, 0, {}});
  EXPECT_TRUE(Send(device, QByteArray(":010300210001DB\r\n")).answer.isEmpty());
  EXPECT_FALSE(Send(device, QByteArray(":010300210001DA\r\n")).answer.isEmpty());
  // Not hex, or no line end: nothing.
  EXPECT_TRUE(Send(device, QByteArray(":01030021000GDA\r\n")).answer.isEmpty());
  EXPECT_TRUE(Send(device, QByteArray(":010300210001DA")).answer.isEmpty());
}

TEST(SlaveChecks, LowerCaseHexIsAcceptedInAscii) {
  SimulatedDevice device(DeviceSettings{LineMode::Ascii, 0x1A, 0, {}});
  const std::string upper = BuildAsciiFrame("1A0300210001");
  QByteArray lower = test::Raw(upper).toLower();
  EXPECT_EQ(Send(device, lower).answer, Framed("1A03020005", LineMode::Ascii));
}

// The extended read must not pass as a standard read of 8 bytes for any
// address: if its first 8 bytes carried a good CRC, the device would answer
// early and take the last byte as the start of the next request.
TEST(SlaveChecks, TheExternalValueReadIsAnsweredAtEveryAddress) {
  for (int address = 1; address <= 247; ++address) {
    SimulatedDevice device(DeviceSettings{LineMode::Rtu, address, 0, {}});
    const std::string body = ByteToHexStr(static_cast<std::uint8_t>(address)) + "0302070016" "2C";
    const auto got = Send(device, Framed(body, LineMode::Rtu));
    ASSERT_EQ(got.answer.size(), 5 + 44) << "address " << address;
    EXPECT_EQ(static_cast<unsigned char>(got.answer[0]), address);
  }
}

TEST(SlaveChecks, BackToBackRequestsAreBothAnswered) {
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, 0, {}});
  const QByteArray two = Framed("010300210001", LineMode::Rtu) + Framed("010101000010", LineMode::Rtu);
  EXPECT_EQ(Send(device, two).answer,
            Framed("0103020005", LineMode::Rtu) + Framed("0101020000", LineMode::Rtu));
}

TEST(SlaveChecks, ASilenceDropsAHalfRequest) {
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, 0, {}});
  // Three bytes of a request, then nothing for longer than 3.5 characters.
  EXPECT_TRUE(Send(device, Framed("010300210001", LineMode::Rtu).left(3)).answer.isEmpty());
  const auto got = Send(device, Framed("010300210001", LineMode::Rtu), 20'000);
  EXPECT_EQ(got.answer, Framed("0103020005", LineMode::Rtu));
}

TEST(SlaveChecks, NoiseNeverStopsTheDevice) {
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, 0, {}});
  QByteArray noise;
  std::uint32_t x = 12345;
  for (int k = 0; k < 5000; ++k) {
    x = x * 1103515245u + 12345u;
    noise.append(static_cast<char>(x >> 16));
  }
  Send(device, noise);
  EXPECT_EQ(Send(device, Framed("010300210001", LineMode::Rtu), 1'000'000'000).answer,
            Framed("0103020005", LineMode::Rtu));
}

// Writes land in the image and come back on the next read.
TEST(SlaveWrites, RegistersAndCoilsReadBackAsWritten) {
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, 0, {}});
  std::int64_t t = 0;
  auto send = [&](const char* body) {
    t += 100'000;
    return Send(device, Framed(body, LineMode::Rtu), t).answer;
  };
  send("01100010000214" "FF38" "0012");  // malformed byte count: refused
  EXPECT_EQ(device.image().reg(16), 0);
  send("011000100002" "04" "FF38" "0012");
  EXPECT_EQ(send("010300100002"), Framed("010304FF380012", LineMode::Rtu));

  // Coil n is bit n % 8 of byte n / 8.
  send("010F0000000A" "02" "0502");
  for (int c = 0; c < 10; ++c) EXPECT_EQ(device.image().coil(static_cast<std::uint16_t>(c)), c == 0 || c == 2 || c == 9) << c;
  EXPECT_EQ(send("01010000000A"), Framed("0101020502", LineMode::Rtu));

  const QByteArray text("Hallo Welt");
  send("01100310000A14" "48616C6C6F2057656C74" "00000000000000000000");
  EXPECT_EQ(device.image().textBytes(0x0310).left(text.size()), text);
}

}  // namespace
}  // namespace rbx14::sim
