// Typing into the configuration fields, leaving them, and stepping them with
// the arrows, once per click and on the virtual clock while held.

#include "support/config_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace rbx14 {
namespace {

class FieldEntryTest : public test::ConfigFixture, public ::testing::Test {};

// ---- Key filters ------------------------------------------------------------

// Field 3 takes whole numbers, 17 signed tenths, 44 decimals, 41 whole
// minutes, 30 a decimal under a two-character separator, 60 is reserved.
TEST_F(FieldEntryTest, EachFieldTakesOnlyItsKeys) {
  struct Row {
    const char16_t* separator;
    int field;
    const char16_t* text;      // the field's text before the key
    const char16_t* accepted;  // keys that pass unchanged
    const char16_t* refused;
  };
  for (const Row& row : std::initializer_list<Row>{
           {u",", 3, u"12", u"7\b\x7F", u"-,a\r "}, {u".", 41, u"1", u"", u".-"}, {u",", 17, u"12", u"-", u""},
           {u",", 17, u"-12", u",", u"-"}, {u",", 17, u"1-2", u"", u"-"}, {u",", 17, u"1,2", u"", u",."},
           {u".", 17, u"12", u".", u""}, {u".", 17, u"1.2", u"", u"."}, {u",", 44, u"50", u",", u"-"},
           {u",", 44, u"5,0", u"", u","}, {u".", 44, u"50", u".", u""}, {u".,", 30, u"5", u".", u""},
           {u",", 60, u"", u",", u""}}) {
    core.globals.sDecimalSep = QString::fromUtf16(row.separator);
    field(row.field).setText(QString::fromUtf16(row.text));
    for (const char16_t* k = row.accepted; *k != 0; ++k) {
      EXPECT_EQ(field(row.field).filterKey(*k), *k) << row.field << " " << static_cast<int>(*k);
    }
    for (const char16_t* k = row.refused; *k != 0; ++k) {
      EXPECT_EQ(field(row.field).filterKey(*k), 0) << row.field << " " << static_cast<int>(*k);
    }
  }
  // The point of the other keyboard stands for the separator.
  for (const auto& [separator, index, key, becomes] :
       {std::tuple{u",", 17, u'.', u','}, std::tuple{u".", 17, u',', u'.'}, std::tuple{u".", 44, u',', u'.'}}) {
    core.globals.sDecimalSep = QString::fromUtf16(separator);
    field(index).setText(QStringLiteral("12"));
    EXPECT_EQ(field(index).filterKey(key), becomes) << index;
  }
}

// The device's texts take what its code page has: no control characters,
// nothing it cannot show.
TEST_F(FieldEntryTest, DeviceTextsTakeOnlyWhatTheDeviceCanShow) {
  TextBox& text = core.form.txt_data_cfg_txt[0];
  for (int key : {1, 0x1F, 0x2603}) EXPECT_EQ(text.filterKey(key), 0) << key;
  for (int key : {int{u'a'}, int{u'ä'}, int{u'?'}, int{u'€'}, 8}) EXPECT_EQ(text.filterKey(key), key) << key;
}

TEST_F(FieldEntryTest, TypingASignedValueCharacterByCharacter) {
  type(field(16), QStringLiteral("-1-,2,x"));
  EXPECT_EQ(field(16).text(), u"-1,2");
  type(field(3), QStringLiteral("65-5.3,5"));
  EXPECT_EQ(field(3).text(), u"65535");
  type(field(3), QStringLiteral("9"));  // five characters at most
  EXPECT_EQ(field(3).text(), u"65535");
}

// ---- Leaving a field --------------------------------------------------------

TEST_F(FieldEntryTest, LeavingCorrectsTheText) {
  struct Row {
    int field;
    const char16_t* typed;
    const char16_t* left;
  };
  // The change handlers run on the corrected text.
  readFromDevice(4, QStringLiteral("255"));
  field(4).setText(QStringLiteral("300"));
  EXPECT_TRUE(isRed(field(4)));
  field(4).lostFocus();
  EXPECT_FALSE(isRed(field(4)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
  // A list's field (6) and an empty one become 0; beyond the arrows' range
  // (-200 in 16, 1000 in 15) only the field's range applies; the rest as typed.
  for (const Row& row : std::initializer_list<Row>{
           {4, u"300", u"255"}, {16, u"-300", u"0"}, {3, u"", u"0"}, {6, u"", u"0"}, {16, u"-200", u"-200"},
           {15, u"1000", u"255"}, {17, u"255,1", u"255"}, {16, u"-255", u"-255"}, {17, u"07,50", u"07,50"},
           {18, u"1-2", u"1-2"}, {18, u"-", u"-"}}) {
    field(row.field).setText(QStringLiteral("1"));
    field(row.field).setText(QString::fromUtf16(row.typed));
    field(row.field).lostFocus();
    EXPECT_EQ(field(row.field).text(), QString::fromUtf16(row.left)) << row.field;
  }
}

// ---- One step ---------------------------------------------------------------

TEST_F(FieldEntryTest, AStepStaysWithinTheArrowsRange) {
  struct Row {
    const char16_t* separator;
    int field;
    const char16_t* start;
    bool up;
    const char16_t* result;
  };
  // Tenths: just below, at and just above the limits, one step below, below
  // the minimum as typed, whole and decimal sums without binary noise, the
  // point as separator; resolution 1 stops at 0, resolution 2 goes negative
  // down to its minimum; whole numbers, a wide range, a whole field holding
  // decimals, the response time, the decimal fan stage, no number.
  for (const Row& row : std::initializer_list<Row>{
           {u",", 16, u"9,95", true, u"10"}, {u",", 16, u"10", true, u"10"}, {u",", 16, u"-9,95", false, u"-10"},
           {u",", 16, u"9,9", true, u"10"}, {u",", 16, u"-20", true, u"-19,9"}, {u",", 19, u"19,9", true, u"20"},
           {u",", 17, u"20", true, u"20,1"}, {u",", 16, u"0,2", true, u"0,3"}, {u".", 16, u"9.95", true, u"10"},
           {u".", 20, u"0", false, u"-0.1"}, {u",", 19, u"0", false, u"0"}, {u",", 23, u"0", false, u"-0,1"},
           {u",", 23, u"-98,95", false, u"-99"}, {u",", 14, u"0", false, u"0"}, {u",", 14, u"254", true, u"255"},
           {u",", 14, u"255", true, u"255"}, {u",", 3, u"65534", true, u"65535"}, {u",", 4, u"2,5", true, u"3,5"},
           {u",", 15, u"6", false, u"5"}, {u",", 44, u"99", true, u"100"}, {u",", 17, u"-", true, u"-"},
           {u",", 17, u"", false, u""}}) {
    core.globals.sDecimalSep = QString::fromUtf16(row.separator);
    field(row.field).setText(QString::fromUtf16(row.start));
    row.up ? arrows(row.field).upClick() : arrows(row.field).downClick();
    EXPECT_EQ(field(row.field).text(), QString::fromUtf16(row.result))
        << row.field << " from " << QString::fromUtf16(row.start).toStdString();
  }
}

// ---- Auto-repeat ------------------------------------------------------------

constexpr PointerAt kUpperArrow{8, 4, 16, 22};
constexpr PointerAt kLowerArrow{8, 11, 16, 22};

// A held arrow stops only when the pointer moves far right or below; the
// arrows are 16 x 22, their margins end at 19.2 and 26.4.
TEST_F(FieldEntryTest, TheRepeatStopsOnlyFarRightOrBelow) {
  using P = PointerAt;
  for (const auto& [at, keepsRepeating] :
       {std::pair{P{8, 10, 16, 22}, true}, {P{19, 10, 16, 22}, true}, {P{19.5, 10, 16, 22}, false},
        {P{8, 26, 16, 22}, true}, {P{8, 27, 16, 22}, false}, {P{-500, 10, 16, 22}, true}, {P{8, -500, 16, 22}, true}}) {
    field(31).setText(QStringLiteral("0"));
    arrows(31).mouseDown(kUpperArrow);
    arrows(31).upClick();
    arrows(31).mouseMove(at);
    clock.advance(1000);
    EXPECT_EQ(field(31).text(), keepsRepeating ? u"6" : u"1") << at.x << "," << at.y;
    arrows(31).mouseUp(at);
  }
}

TEST_F(FieldEntryTest, TheRepeatFollowsTheLastPressedArrows) {
  field(4).setText(QStringLiteral("100"));
  field(5).setText(QStringLiteral("100"));
  arrows(4).mouseDown(kUpperArrow);
  arrows(4).mouseUp(kUpperArrow);
  arrows(5).mouseDown(kLowerArrow);
  clock.advance(400);
  EXPECT_EQ(field(4).text(), u"100");
  EXPECT_EQ(field(5).text(), u"98");
}

}  // namespace
}  // namespace rbx14
