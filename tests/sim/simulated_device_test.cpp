// The simulated device driven with frames built by the program's codec:
// exception answers, the frames it must ignore, and what the program never
// asks. Its answers to a read-out and a write-back are in the frame traces.
// Then a device started from a parameter file: one saved from one simulated
// device starts another with the same configuration.

#include "files/parameter_file.h"
#include "sim/image_from_file.h"
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

// What the window read, saved and loaded into a fresh image gives the first
// device's registers, bits, texts and units.
TEST(ImageFromFile, ASavedDeviceStartsAnotherWithItsConfiguration) {
  test::CoreOn<> first;
  DeviceImage& source = first.device.image();
  source.setReg(17, 275);             // tenths: 27.5
  source.setReg(4, 123);
  source.setCoil(5, !source.coil(5));
  source.setTextBytes(0x30A, QByteArray("B\xFC" "ro", 4) + QByteArray(16, '\0'));
  ASSERT_TRUE(first.openAndReadOut(1));
  const QStringList lines =
      BuildParameterLines(first.core.form, first.core.globals, QDateTime(), QStringLiteral(" 0 "));

  DeviceImage copy;  // factory values
  ApplyParameterFileToImage(lines, copy);
  EXPECT_EQ(copy.reg(0), DeviceImage().reg(0));  // the coding stays the device's own
  for (std::uint16_t r = 2; r < 60; ++r) EXPECT_EQ(copy.reg(r), source.reg(r)) << "register " << r;
  for (std::uint16_t c = 0; c < 32; ++c) EXPECT_EQ(copy.coil(c), source.coil(c)) << "bit " << c;
  for (std::uint16_t k = 0; k < 22; ++k) {
    const auto block = static_cast<std::uint16_t>(0x300 + 10 * k);
    EXPECT_EQ(copy.textBytes(block), source.textBytes(block)) << "text " << k;
  }
  for (std::uint16_t k = 0; k < 6; ++k) {
    const auto block = static_cast<std::uint16_t>(0x400 + 10 * k);
    for (int m = 0; m < 3; ++m) {
      // A unit shows three characters; the fourth byte of its registers is 0.
      EXPECT_EQ(copy.textBytes(block).mid(4 * m, 3), source.textBytes(block).mid(4 * m, 3))
          << "unit " << 3 * k + m;
    }
  }
}

TEST(ImageFromFile, LinesItCannotReadLeaveTheFactoryValues) {
  QStringList lines(kParameterFileLines, QStringLiteral("no separators here"));
  lines[kFirstDataLine - 1 + 17] = QStringLiteral("Register 18 ;x;27.5");  // a point works too
  lines[kFirstDataLine - 1 + 20] = QStringLiteral("Register 21 ;x;abc");
  DeviceImage image;
  const DeviceImage factory;
  ApplyParameterFileToImage(lines, image);
  EXPECT_EQ(image.reg(17), 275);
  EXPECT_EQ(image.reg(20), factory.reg(20));
  EXPECT_EQ(image.textBytes(0x300), factory.textBytes(0x300));
}

}  // namespace
}  // namespace rbx14::sim
