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

}  // namespace
}  // namespace rbx14::sim
