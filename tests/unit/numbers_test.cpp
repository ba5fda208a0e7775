// Shared number and text conversions, and the code page.

#include "base/codepage.h"
#include "base/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace rbx14 {
namespace {

TEST(Numbers, ParseDecimalAcceptsOnlyNumbersInTheUsersForm) {
  for (const auto& [text, sep, value] : {std::tuple{u"12", u',', 12.0}, {u"-1,5", u',', -1.5}, {u" ,5 ", u',', 0.5},
                                         {u"3,", u',', 3.0}, {u"21.5", u'.', 21.5}}) {
    EXPECT_EQ(ParseDecimal(text, sep), value);
  }
  for (const char16_t* bad : {u"", u"-", u",", u"1,2,3", u"1e3", u"abc", u"1.5", u"--1", u"1 2"}) {
    EXPECT_FALSE(ParseDecimal(bad, u',').has_value()) << QString::fromUtf16(bad).toStdString();
  }
}

TEST(Numbers, LeadingValueReadsUpToTheFirstNonNumber) {
  for (const auto& [text, value] : {std::pair{u"12abc", 12.0}, {u"", 0.0}, {u"abc", 0.0}, {u"  -7.25x", -7.25},
                                    {u"247", 247.0}}) {
    EXPECT_EQ(LeadingValue(text), value);
  }
}

// FormatDecimal gives the shortest text; FormatDecimal15 writes what the
// user expects of a sum.
TEST(Numbers, FormatDecimalGivesTheShortestText) {
  for (const auto& [value, sep, text] :
       {std::tuple{21.5, u',', u"21,5"}, {21.5, u'.', u"21.5"}, {-20.0, u',', u"-20"}, {32768.0, u',', u"32768"},
        {-0.0, u',', u"0"}, {0.1, u',', u"0,1"}, {-3276.8, u',', u"-3276,8"},
        {1e20, u',', u"100000000000000000000"}, {1e-20, u',', u"0,00000000000000000001"}}) {
    EXPECT_EQ(FormatDecimal(value, sep), text);
  }
  for (const auto& [value, sep, text] :
       {std::tuple{19.9 + 0.1, u',', u"20"}, {0.2 + 0.1, u',', u"0,3"}, {29.6 + 0.1, u'.', u"29.7"},
        {-0.1 - 0.2, u',', u"-0,3"}, {1234567890.12345, u',', u"1234567890,12345"},
        {1e20, u',', u"100000000000000000000"}, {255.0, u',', u"255"}}) {
    EXPECT_EQ(FormatDecimal15(value, sep), text);
  }
  // Every tenth of the 16-bit range reads back to the same number.
  for (int raw = -32768; raw <= 32767; raw += 13) {
    const double value = raw / 10.0;
    const QString text = FormatDecimal(value, u',');
    ASSERT_EQ(ParseDecimal(text, u','), value) << text.toStdString();
  }
}

TEST(Numbers, AsWholeNumberTakesOnlyWholeValuesInRange) {
  for (const auto& [value, whole] : {std::pair{12.0, 12}, {-3.0, -3}, {-0.0, 0}}) EXPECT_EQ(AsWholeNumber(value), whole);
  for (double bad : {1.5, -0.1, 3e9, -3e9, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(AsWholeNumber(bad).has_value()) << bad;
  }
}

TEST(Numbers, RoundHalfEvenAndSixteenBitTwosComplement) {
  for (const auto& [value, rounded] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2},
                                       {215.0, 215}, {21.5 * 10, 215}}) {
    EXPECT_EQ(RoundHalfEven(value), rounded) << value;
  }
  EXPECT_EQ(ToWord(-1), 0xFFFF);
  EXPECT_EQ(ToWord(-32768), 0x8000);
  EXPECT_EQ(ToWord(65536 + 5), 5);
  EXPECT_EQ(AsSigned16(0xFF38), -200);
  EXPECT_EQ(AsSigned16(0x8000), -32768);
  EXPECT_EQ(ClampToInt16(2 * 3000 + 200), 6200);
  EXPECT_EQ(ClampToInt16(2 * 16290 + 200), 32767);
  EXPECT_EQ(ClampToInt16(-40000), -32768);
}

TEST(Numbers, ErrorNumbersGetABlankBeforeNonNegativeValues) {
  EXPECT_EQ(NumberWithSignSpace(8002) + NumberWithSignSpace(0) + NumberWithSignSpace(-5), u" 8002 0-5");
}

TEST(CodePage, RoundTripsEveryByteAndGivesUmlautsAndEuroTheirWindowsCodes) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const QString text = FromCodePage(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToCodePage(text), all);
  EXPECT_EQ(ToCodePage(QStringLiteral("Ä ß °C € Ω")), QByteArray("\xC4 \xDF \xB0" "C \x80 ?"));
  EXPECT_EQ(FromCodePage(QByteArray("\x80")), QStringLiteral("€"));
  EXPECT_EQ(FromCodePage(QByteArray("A\0B", 3)).size(), 3);  // NUL is kept
}

}  // namespace
}  // namespace rbx14
