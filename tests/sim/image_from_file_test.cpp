// A parameter file saved from one simulated device starts another with the
// same configuration: what the window read, saved and loaded into a fresh
// image gives the first device's registers, bits, texts and units.

#include "files/parameter_file.h"
#include "sim/image_from_file.h"
#include "sim_test_helpers.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

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
