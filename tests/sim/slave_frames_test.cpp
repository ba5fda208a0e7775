// The simulated device driven with frames built by the program's codec:
// exception answers, the frames it must ignore, and what the program never
// asks. Its answers to a read-out and a write-back are in the frame traces.

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

class SlaveFrames : public ::testing::TestWithParam<FrameRow> {};

TEST_P(SlaveFrames, AnswersAsTheDeviceDoes) {
  const FrameRow& row = GetParam();
  SimulatedDevice device(DeviceSettings{row.mode, 1, 0, {}});
  const QByteArray expected = *row.answer == '\0' ? QByteArray() : Framed(row.answer, row.mode);
  EXPECT_EQ(Send(device, Framed(row.request, row.mode)).toHex(' '), expected.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Rtu, SlaveFrames,
    ::testing::Values(
        FrameRow{"odd_coil_count_pads_the_last_byte", LineMode::Rtu, "010100050003", "01010103"},
        FrameRow{"write_clock_register", LineMode::Rtu, "01100200000102003B", "011002000001"},
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
        FrameRow{"unknown_function", LineMode::Ascii, "0105", "018501"},
        FrameRow{"byte_count_disagrees_with_data", LineMode::Ascii, "011002070001030064", "019003"},
        FrameRow{"another_address_is_ignored", LineMode::Ascii, "110300210001", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
