// The frame codec against known vectors. Whole frames of both modes, as
// the program sends and takes them, are in the frame traces.

#include "link/codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace rbx14 {
namespace {

using namespace std::string_literals;

std::string AllBytes() {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  return all;
}

TEST(Codec, CrcMatchesKnownValues) {
  const std::pair<std::string, const char*> rows[] = {
      {"\x01\x03\x00\x00\x00\x01"s, "0A84"}, {"", "FFFF"}, {"123456789", "4B37"},
      {"\x01\x03\x00\x21\x00\x01"s, "00D4"}, {"\x00"s, "40BF"},
      {"\xFF"s, "00FF"}, {AllBytes(), "DE6C"}};
  for (const auto& [data, crc] : rows) EXPECT_EQ(CalculateCRC(data), crc);
}

TEST(Codec, LrcMatchesDefinition) {
  // "FF01": a sum that is a multiple of 256.
  for (const auto& [digits, lrc] : {std::pair{"0A0100000020", "D5"}, {"", "00"}, {"FF01", "00"},
                                    {"010300210001", "DA"}, {"01", "FF"}, {"FFFFFF", "03"}}) {
    EXPECT_EQ(CalculateLRC(digits), lrc) << digits;
  }
}

TEST(Codec, LongToHexStrPadsButNeverCuts) {
  for (const auto& [value, bytes, hex] :
       {std::tuple{5, 1, "05"}, {0x1A5, 1, "1A5"}, {7, 0, "7"}, {0, 2, "0000"}, {0xABC, 2, "0ABC"},
        {-1, 0, "FFFFFFFF"}, {255, -3, "FF"}}) {
    EXPECT_EQ(LongToHexStr(value, bytes), hex);
  }
}

TEST(Codec, HexStrToByteReadsOnlyUpperCaseDigits) {
  for (const auto& [hex, value] : {std::pair{"7F", 127}, {"F", 15}, {"7f", 112}, {"1234", 18}, {"", 0},
                                   {"G1", 1}, {"FF", 255}}) {
    EXPECT_EQ(HexStrToByte(hex), value) << hex;
  }
}

TEST(Codec, ByteToHexStrIsTwoUpperCaseDigitsForEveryByte) {
  EXPECT_EQ(ByteToHexStr(0x0A) + ByteToHexStr(0) + ByteToHexStr(255), "0A00FF");
  for (int b = 0; b < 256; ++b) {
    const std::string hex = ByteToHexStr(static_cast<std::uint8_t>(b));
    ASSERT_EQ(hex.size(), 2u);
    ASSERT_EQ(HexStrToByte(hex), b);
  }
}

TEST(Codec, ShiftRightWordIsLogicalShiftOfLow16Bits) {
  for (int v = -32768; v <= 65535; v += 7) {
    const auto pattern = static_cast<std::uint16_t>(v);
    ASSERT_EQ(static_cast<std::uint16_t>(ShiftRightWord(v)), pattern >> 1) << v;
  }
  EXPECT_EQ(ShiftRightWord(0xA001), 0x5000);
}

TEST(Codec, RtuFrameIsEveryByteOfTheBodyAndTheCrcLowByteFirst) {
  std::string hex;
  for (int b = 0; b < 256; ++b) hex += ByteToHexStr(static_cast<std::uint8_t>(b));
  EXPECT_EQ(BuildRtuFrame(hex), AllBytes() + "\x6C\xDE"s);
  EXPECT_EQ(BuildRtuFrame(""), "\xFF\xFF"s);
  // An odd digit count rounds half to even: 5 digits give 2 bytes, 7 give
  // 4, the last from the lone digit.
  EXPECT_EQ(BuildRtuFrame("01030").substr(0, 2), "\x01\x03"s);
  EXPECT_EQ(BuildRtuFrame("01030").size(), 4u);
  EXPECT_EQ(BuildRtuFrame("0103001").substr(0, 4), "\x01\x03\x00\x01"s);
}

}  // namespace
}  // namespace rbx14
