// Typing into the configuration fields, leaving them, and stepping them with
// the arrows, once per click and on the virtual clock while held.

#include "support/config_fixture.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

// ---- Key filters ------------------------------------------------------------

struct KeyRow {
  const char* name;
  const char16_t* separator;
  int field;
  const char16_t* text;  // the field's text before the key
  char16_t key;
  bool accepted;
  char16_t becomes = 0;  // the character the key stands for, when another
};

class KeyFilter : public test::ConfigFixture, public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyFilter, AcceptsOrDiscards) {
  const KeyRow& row = GetParam();
  core.globals.sDecimalSep = QString::fromUtf16(row.separator);
  field(row.field).setText(QString::fromUtf16(row.text));
  const int result = field(row.field).filterKey(row.key);
  EXPECT_EQ(result, row.accepted ? (row.becomes != 0 ? row.becomes : row.key) : 0);
}

// Field 3 takes whole numbers, 17 signed tenths, 44 decimals, 41 whole minutes.
INSTANTIATE_TEST_SUITE_P(
    Rows, KeyFilter,
    ::testing::Values(
        KeyRow{"integer_digit", u",", 3, u"12", u'7', true},
        KeyRow{"integer_backspace", u",", 3, u"12", 8, true},
        KeyRow{"integer_delete", u",", 3, u"12", 127, true},
        KeyRow{"integer_minus", u",", 3, u"12", u'-', false},
        KeyRow{"integer_comma", u",", 3, u"12", u',', false},
        KeyRow{"integer_letter", u",", 3, u"12", u'a', false},
        KeyRow{"integer_enter", u",", 3, u"12", 13, false},
        KeyRow{"integer_blank", u",", 3, u"12", u' ', false},
        KeyRow{"minutes_point", u".", 41, u"1", u'.', false},
        KeyRow{"minutes_minus", u".", 41, u"1", u'-', false},
        KeyRow{"signed_first_minus", u",", 17, u"12", u'-', true},
        KeyRow{"signed_second_minus", u",", 17, u"-12", u'-', false},
        KeyRow{"signed_minus_anywhere", u",", 17, u"1-2", u'-', false},
        KeyRow{"signed_first_comma", u",", 17, u"-12", u',', true},
        KeyRow{"signed_second_comma", u",", 17, u"1,2", u',', false},
        KeyRow{"signed_point_when_comma", u",", 17, u"12", u'.', true, u','},
        KeyRow{"signed_point_when_point", u".", 17, u"12", u'.', true},
        KeyRow{"signed_second_point", u".", 17, u"1.2", u'.', false},
        KeyRow{"signed_comma_when_point", u".", 17, u"12", u',', true, u'.'},
        KeyRow{"signed_point_after_comma", u",", 17, u"1,2", u'.', false},
        KeyRow{"decimal_comma", u",", 44, u"50", u',', true},
        KeyRow{"decimal_second_comma", u",", 44, u"5,0", u',', false},
        KeyRow{"decimal_minus", u",", 44, u"50", u'-', false},
        KeyRow{"decimal_point_when_point", u".", 44, u"50", u'.', true},
        KeyRow{"decimal_comma_when_point", u".", 44, u"50", u',', true, u'.'},
        KeyRow{"first_of_a_long_separator", u".,", 30, u"5", u'.', true},
        KeyRow{"reserved_field_decimal", u",", 60, u"", u',', true}),
    [](const auto& info) { return std::string(info.param.name); });

class FieldEntryTest : public test::ConfigFixture, public ::testing::Test {};

TEST_F(FieldEntryTest, TypingASignedValueCharacterByCharacter) {
  type(field(16), QStringLiteral("-1-,2,x"));
  EXPECT_EQ(field(16).text(), u"-1,2");
  type(field(3), QStringLiteral("65-5.3,5"));
  EXPECT_EQ(field(3).text(), u"65535");
  type(field(3), QStringLiteral("9"));  // five characters at most
  EXPECT_EQ(field(3).text(), u"65535");
}

// ---- Leaving a field --------------------------------------------------------

struct LeaveRow {
  const char* name;
  int field;
  const char16_t* typed;
  const char16_t* left;
};

class Leave : public test::ConfigFixture, public ::testing::TestWithParam<LeaveRow> {};

TEST_P(Leave, CorrectsTheText) {
  const LeaveRow& row = GetParam();
  field(row.field).setText(QStringLiteral("1"));
  field(row.field).setText(QString::fromUtf16(row.typed));
  field(row.field).lostFocus();
  EXPECT_EQ(field(row.field).text(), QString::fromUtf16(row.left));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Leave,
    ::testing::Values(LeaveRow{"above_255", 4, u"300", u"255"},
                      LeaveRow{"below_minus_255", 16, u"-300", u"0"},
                      LeaveRow{"empty", 3, u"", u"0"},
                      LeaveRow{"empty_list_field", 6, u"", u"0"},
                      LeaveRow{"beyond_range_kept", 16, u"-200", u"-200"},
                      LeaveRow{"range_not_applied", 15, u"1000", u"255"},
                      LeaveRow{"tenths_above", 17, u"255,1", u"255"},
                      LeaveRow{"exactly_minus_255", 16, u"-255", u"-255"},
                      LeaveRow{"as_typed", 17, u"07,50", u"07,50"},
                      LeaveRow{"not_a_number_stays", 18, u"1-2", u"1-2"},
                      LeaveRow{"lone_minus_stays", 18, u"-", u"-"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FieldEntryTest, LeavingRunsTheChangeHandlersOfTheCorrectedText) {
  readFromDevice(4, QStringLiteral("255"));
  field(4).setText(QStringLiteral("300"));
  EXPECT_TRUE(isRed(field(4)));
  field(4).lostFocus();
  EXPECT_FALSE(isRed(field(4)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
}

// ---- One step ---------------------------------------------------------------

struct StepRow {
  const char* name;
  const char16_t* separator;
  int field;
  const char16_t* start;
  bool up;
  const char16_t* result;
};

class Step : public test::ConfigFixture, public ::testing::TestWithParam<StepRow> {};

TEST_P(Step, StaysWithinTheArrowsRange) {
  const StepRow& row = GetParam();
  core.globals.sDecimalSep = QString::fromUtf16(row.separator);
  field(row.field).setText(QString::fromUtf16(row.start));
  if (row.up) {
    arrows(row.field).upClick();
  } else {
    arrows(row.field).downClick();
  }
  EXPECT_EQ(field(row.field).text(), QString::fromUtf16(row.result));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Step,
    ::testing::Values(StepRow{"tenths_just_below_max", u",", 16, u"9,95", true, u"10"},
                      StepRow{"tenths_at_max", u",", 16, u"10", true, u"10"},
                      StepRow{"tenths_just_above_min", u",", 16, u"-9,95", false, u"-10"},
                      StepRow{"tenths_one_step_below_max", u",", 16, u"9,9", true, u"10"},
                      StepRow{"tenths_below_min_typed", u",", 16, u"-20", true, u"-19,9"},
                      StepRow{"tenths_sum_to_whole", u",", 19, u"19,9", true, u"20"},
                      StepRow{"tenths_sum_with_decimals", u",", 17, u"20", true, u"20,1"},
                      StepRow{"tenths_binary_noise", u",", 16, u"0,2", true, u"0,3"},
                      StepRow{"tenths_point_separator", u".", 16, u"9.95", true, u"10"},
                      StepRow{"tenths_point_down", u".", 20, u"0", false, u"-0.1"},
                      StepRow{"resolution_1_stops_at_0", u",", 19, u"0", false, u"0"},
                      StepRow{"resolution_2_goes_negative", u",", 23, u"0", false, u"-0,1"},
                      StepRow{"resolution_2_at_min", u",", 23, u"-98,95", false, u"-99"},
                      StepRow{"integer_at_min", u",", 14, u"0", false, u"0"},
                      StepRow{"integer_below_max", u",", 14, u"254", true, u"255"},
                      StepRow{"integer_at_max", u",", 14, u"255", true, u"255"},
                      StepRow{"integer_wide_range", u",", 3, u"65534", true, u"65535"},
                      StepRow{"integer_field_with_decimals", u",", 4, u"2,5", true, u"3,5"},
                      StepRow{"response_time_down", u",", 15, u"6", false, u"5"},
                      StepRow{"decimal_fan_stage", u",", 44, u"99", true, u"100"},
                      StepRow{"not_a_number", u",", 17, u"-", true, u"-"},
                      StepRow{"empty", u",", 17, u"", false, u""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Auto-repeat ------------------------------------------------------------

constexpr PointerAt kUpperArrow{8, 4, 16, 22};
constexpr PointerAt kLowerArrow{8, 11, 16, 22};

struct MoveRow {
  const char* name;
  PointerAt at;
  bool keepsRepeating;
};

class RepeatWhileMoving : public test::ConfigFixture, public ::testing::TestWithParam<MoveRow> {};

TEST_P(RepeatWhileMoving, StopsOnlyFarRightOrBelow) {
  const MoveRow& row = GetParam();
  field(31).setText(QStringLiteral("0"));
  arrows(31).mouseDown(kUpperArrow);
  arrows(31).upClick();
  arrows(31).mouseMove(row.at);
  clock.advance(1000);
  EXPECT_EQ(field(31).text(), row.keepsRepeating ? u"6" : u"1");
}

// The arrows are 16 x 22: the margins end at 19.2 and 26.4.
INSTANTIATE_TEST_SUITE_P(
    Rows, RepeatWhileMoving,
    ::testing::Values(MoveRow{"inside", {8, 10, 16, 22}, true},
                      MoveRow{"within_right_margin", {19, 10, 16, 22}, true},
                      MoveRow{"beyond_right_margin", {19.5, 10, 16, 22}, false},
                      MoveRow{"within_lower_margin", {8, 26, 16, 22}, true},
                      MoveRow{"beyond_lower_margin", {8, 27, 16, 22}, false},
                      MoveRow{"far_left", {-500, 10, 16, 22}, true},
                      MoveRow{"far_above", {8, -500, 16, 22}, true}),
    [](const auto& info) { return std::string(info.param.name); });

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
