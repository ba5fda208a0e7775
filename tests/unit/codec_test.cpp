// The frame codec against known vectors. Whole frames of both modes, as
// the program sends and takes them, are in the frame traces.

#include "link/codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace rbx14 {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(static_cast<unsigned char>(v));
  return out;
}

std::string ToHex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 0xF];
  }
  return out;
}

std::string AllBytes() {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  return all;
}

struct CrcRow {
  const char* name;
  std::string data;
  const char* expected;
};

class CrcVectors : public ::testing::TestWithParam<CrcRow> {};

TEST_P(CrcVectors, MatchesKnownValue) {
  const CrcRow& row = GetParam();
  EXPECT_EQ(CalculateCRC(row.data), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, CrcVectors,
    ::testing::Values(
        CrcRow{"read_one_register", Bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x01}), "0A84"},
        CrcRow{"empty_body", "", "FFFF"},
        CrcRow{"check_string", "123456789", "4B37"},
        CrcRow{"probe_address_1", Bytes({0x01, 0x03, 0x00, 0x21, 0x00, 0x01}), "00D4"},
        CrcRow{"single_zero", Bytes({0x00}), "40BF"},
        CrcRow{"single_ff", Bytes({0xFF}), "00FF"},
        CrcRow{"every_byte", AllBytes(), "DE6C"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Codec, LrcMatchesDefinition) {
  EXPECT_EQ(CalculateLRC("0A0100000020"), "D5");
  EXPECT_EQ(CalculateLRC(""), "00");
  EXPECT_EQ(CalculateLRC("FF01"), "00");  // sum a multiple of 256
  EXPECT_EQ(CalculateLRC("010300210001"), "DA");
  EXPECT_EQ(CalculateLRC("01"), "FF");
  EXPECT_EQ(CalculateLRC("FFFFFF"), "03");
}

TEST(Codec, LongToHexStrPadsButNeverCuts) {
  EXPECT_EQ(LongToHexStr(5, 1), "05");
  EXPECT_EQ(LongToHexStr(0x1A5, 1), "1A5");
  EXPECT_EQ(LongToHexStr(7), "7");
  EXPECT_EQ(LongToHexStr(0, 2), "0000");
  EXPECT_EQ(LongToHexStr(0xABC, 2), "0ABC");
  EXPECT_EQ(LongToHexStr(-1), "FFFFFFFF");
  EXPECT_EQ(LongToHexStr(255, -3), "FF");
}

TEST(Codec, HexStrToByteReadsOnlyUpperCaseDigits) {
  EXPECT_EQ(HexStrToByte("7F"), 127);
  EXPECT_EQ(HexStrToByte("F"), 15);
  EXPECT_EQ(HexStrToByte("7f"), 112);
  EXPECT_EQ(HexStrToByte("1234"), 18);
  EXPECT_EQ(HexStrToByte(""), 0);
  EXPECT_EQ(HexStrToByte("G1"), 1);
  EXPECT_EQ(HexStrToByte("FF"), 255);
}

TEST(Codec, ByteToHexStrIsTwoDigitsForEveryByte) {
  EXPECT_EQ(ByteToHexStr(0), "00");
  EXPECT_EQ(ByteToHexStr(255), "FF");
  EXPECT_EQ(ByteToHexStr(0x0A), "0A");
  for (int b = 0; b < 256; ++b) {
    const std::string hex = ByteToHexStr(static_cast<std::uint8_t>(b));
    ASSERT_EQ(hex.size(), 2u);
    ASSERT_EQ(HexStrToByte(hex), b);
  }
}

TEST(Codec, ShiftRightWordIsLogicalShiftOfLow16Bits) {
  EXPECT_EQ(ShiftRightWord(-1), 0x7FFF);
  EXPECT_EQ(ShiftRightWord(-32768), 0x4000);
  EXPECT_EQ(ShiftRightWord(0xA001), 0x5000);
  for (int v = -32768; v <= 32767; v += 7) {
    const auto pattern = static_cast<std::uint16_t>(v);
    ASSERT_EQ(static_cast<std::uint16_t>(ShiftRightWord(v)), pattern >> 1) << v;
  }
}

TEST(Codec, RtuFrameEndsWithCrcLowByteFirst) {
  EXPECT_EQ(BuildRtuFrame("010300000001"), Bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
  EXPECT_EQ(BuildRtuFrame(""), Bytes({0xFF, 0xFF}));
}

TEST(Codec, EveryByteSurvivesTheRtuHandOver) {
  EXPECT_EQ(BuildRtuFrame(ToHex(AllBytes())), AllBytes() + Bytes({0x6C, 0xDE}));
}

TEST(Codec, OddDigitCountRoundsHalfToEven) {
  // 5 digits: 2.5 rounds to 2 bytes; 7 digits: 3.5 rounds to 4 bytes, the
  // last from the lone digit.
  EXPECT_EQ(BuildRtuFrame("01030").substr(0, 2), Bytes({0x01, 0x03}));
  EXPECT_EQ(BuildRtuFrame("01030").size(), 4u);
  EXPECT_EQ(BuildRtuFrame("0103001").substr(0, 4), Bytes({0x01, 0x03, 0x00, 0x01}));
}

}  // namespace
}  // namespace rbx14
