// Shared number and text conversions, and the code page.

#include "base/codepage.h"
#include "base/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace rbx14 {
namespace {

TEST(Numbers, ParseDecimalAcceptsOnlyNumbersInTheUsersForm) {
  EXPECT_EQ(ParseDecimal(u"12", u','), 12.0);
  EXPECT_EQ(ParseDecimal(u"-1,5", u','), -1.5);
  EXPECT_EQ(ParseDecimal(u" ,5 ", u','), 0.5);
  EXPECT_EQ(ParseDecimal(u"3,", u','), 3.0);
  EXPECT_EQ(ParseDecimal(u"21.5", u'.'), 21.5);
  for (const char16_t* bad : {u"", u"-", u",", u"1,2,3", u"1e3", u"abc", u"1.5", u"--1", u"1 2"}) {
    EXPECT_FALSE(ParseDecimal(bad, u',').has_value()) << QString::fromUtf16(bad).toStdString();
  }
}

TEST(Numbers, LeadingValueReadsUpToTheFirstNonNumber) {
  EXPECT_EQ(LeadingValue(u"12abc"), 12.0);
  EXPECT_EQ(LeadingValue(u""), 0.0);
  EXPECT_EQ(LeadingValue(u"abc"), 0.0);
  EXPECT_EQ(LeadingValue(u"  -7.25x"), -7.25);
  EXPECT_EQ(LeadingValue(u"247"), 247.0);
}

TEST(Numbers, FormatDecimalGivesTheShortestText) {
  EXPECT_EQ(FormatDecimal(21.5, u','), u"21,5");
  EXPECT_EQ(FormatDecimal(21.5, u'.'), u"21.5");
  EXPECT_EQ(FormatDecimal(-20, u','), u"-20");
  EXPECT_EQ(FormatDecimal(32768, u','), u"32768");
  EXPECT_EQ(FormatDecimal(-0.0, u','), u"0");
  EXPECT_EQ(FormatDecimal(0.1, u','), u"0,1");
  EXPECT_EQ(FormatDecimal(-3276.8, u','), u"-3276,8");
  EXPECT_EQ(FormatDecimal(1e20, u','), u"100000000000000000000");
  EXPECT_EQ(FormatDecimal(1e-20, u','), u"0,00000000000000000001");
  // Every tenth of the 16-bit range reads back to the same number.
  for (int raw = -32768; raw <= 32767; raw += 13) {
    const double value = raw / 10.0;
    const QString text = FormatDecimal(value, u',');
    ASSERT_EQ(ParseDecimal(text, u','), value) << text.toStdString();
  }
}

TEST(Numbers, FormatDecimal15WritesWhatTheUserExpectsOfASum) {
  EXPECT_EQ(FormatDecimal15(19.9 + 0.1, u','), u"20");
  EXPECT_EQ(FormatDecimal15(0.2 + 0.1, u','), u"0,3");
  EXPECT_EQ(FormatDecimal15(29.6 + 0.1, u'.'), u"29.7");
  EXPECT_EQ(FormatDecimal15(-0.1 - 0.2, u','), u"-0,3");
  EXPECT_EQ(FormatDecimal15(1234567890.12345, u','), u"1234567890,12345");
  EXPECT_EQ(FormatDecimal15(1e20, u','), u"100000000000000000000");
  EXPECT_EQ(FormatDecimal15(255, u','), u"255");
}

TEST(Numbers, AsWholeNumberTakesOnlyWholeValuesInRange) {
  EXPECT_EQ(AsWholeNumber(12.0), 12);
  EXPECT_EQ(AsWholeNumber(-3.0), -3);
  EXPECT_EQ(AsWholeNumber(-0.0), 0);
  for (double bad : {1.5, -0.1, 3e9, -3e9, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(AsWholeNumber(bad).has_value()) << bad;
  }
}

TEST(Numbers, RoundHalfEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(215.0), 215);
  EXPECT_EQ(RoundHalfEven(21.5 * 10), 215);
}

TEST(Numbers, SixteenBitTwosComplement) {
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
  EXPECT_EQ(NumberWithSignSpace(8002), u" 8002");
  EXPECT_EQ(NumberWithSignSpace(0), u" 0");
  EXPECT_EQ(NumberWithSignSpace(-5), u"-5");
}

TEST(CodePage, RoundTripsEveryByte) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const QString text = FromCodePage(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToCodePage(text), all);
}

TEST(CodePage, UmlautsAndEuroHaveTheirWindowsCodes) {
  EXPECT_EQ(ToCodePage(QStringLiteral("Ä")), QByteArray("\xC4"));
  EXPECT_EQ(ToCodePage(QStringLiteral("ß")), QByteArray("\xDF"));
  EXPECT_EQ(ToCodePage(QStringLiteral("°C")), QByteArray("\xB0" "C"));
  EXPECT_EQ(ToCodePage(QStringLiteral("€")), QByteArray("\x80"));
  EXPECT_EQ(FromCodePage(QByteArray("\x80")), QStringLiteral("€"));
  EXPECT_EQ(ToCodePage(QStringLiteral("Ω")), QByteArray("?"));
  EXPECT_EQ(FromCodePage(QByteArray("A\0B", 3)).size(), 3);  // NUL is kept
}

}  // namespace
}  // namespace rbx14
