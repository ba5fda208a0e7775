// The input-register fields and the monitor: keys per field, the range and
// clock corrections on leaving, the lists in step with their fields, the
// changed marks, the reference values from the start texts, and the texts
// beside the output values. The configuration bits, their two-item lists
// and the input bits: lists and boxes in step both ways, the changed marks
// against the device's values, the write button, and the temperature-unit
// labels.

#include "model/bit_map.h"
#include "model/input_map.h"
#include "model/value_headings.h"
#include "base/message_table.h"
#include "transactions/jobs.h"
#include "support/config_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace rbx14 {
namespace {

using Steps = std::initializer_list<std::tuple<int, const char*, const char*>>;

class ValueFields : public test::ConfigFixture {
 protected:
  TextBox& in(int index) { return core.form.txt_data_in[index]; }
  ComboBox& inList(int index) { return core.form.cmb_in[index]; }
  TextBox& out(int index) { return core.form.txt_data_out[index]; }
  CheckBox& bit(int index) { return core.form.chk_cfg[index]; }
  ComboBox& bitList(int index) { return core.form.cmb_bit_cfg[index]; }
  CheckBox& inputBit(int index) { return core.form.chk_input[index]; }
  bool button() { return core.form.set_parameter.enabled(); }

  // What the read-out and the completed write do: the text, then the
  // normal colour and the device's value.
  void readInput(int index, const QString& text) {
    in(index).setText(text);
    in(index).setForeColor(colors::kButtonText);
    core.form.dInputRegValue[index] = ParseDecimal(in(index).text(), core.globals.decimalSep()).value_or(0);
    if (ComboBox* list = core.form.cmb_in.find(index)) list->setForeColor(colors::kButtonText);
    CheckChangedFields(core.form);
  }
  QString leave(int index, const char* typed) {
    in(index).setText(QString::fromUtf8(typed));
    in(index).lostFocus();
    return in(index).text();
  }
  // What the read-out does with a configuration bit: the device's value,
  // the box, the list, the normal colour, the device's value again.
  void readBit(int index, int value) {
    core.form.iCfgBitValue[index] = value;
    bit(index).setValue(value);
    if (HasBitList(index)) {
      bitList(index).setListIndex(bit(index).value());
      bitList(index).setForeColor(colors::kButtonText);
    }
    bit(index).setForeColor(colors::kButtonText);
    core.form.iCfgBitValue[index] = bit(index).value();
    CheckChangedFields(core.form);
  }
};

class InputFieldsTest : public ValueFields, public ::testing::Test {};

// The writer of the input registers encodes tenths where the read-out
// decodes them; the clock fields are written whole.
TEST(InputMap, TheWriterEncodesTenthsWhereTheTableReadsThem) {
  for (const auto& row : kInputFields) {
    EXPECT_EQ(IsTenthsInputRegister(row.index), row.read == InputRead::kSignedTenths) << row.index;
  }
}

// ---- Keys -------------------------------------------------------------------

// Clock, date, base setpoint 2 and fan stage (0, 5, 14, 15): digits only.
// External values (7, 11, 19, 24, 6): digits and one separator, no minus,
// although a read can deliver one. 16, 21, 23, 17: digits, one separator and
// one minus sign anywhere.
TEST_F(InputFieldsTest, OnlyTheFieldsKeysPass) {
  for (const auto& [index, typed, kept] :
       Steps{{0, "1,-a5", "15"}, {5, "0-7", "07"}, {14, "2,5", "25"}, {15, "-3,", "3"}, {7, "-1,2,5", "1,25"},
             {11, "0,,5", "0,5"}, {19, "-1", "1"}, {24, "21,5.", "21,5"}, {6, "1,5", "1,5"}, {16, "1-,0-,", "1-,0"},
             {21, "-2", "-2"}, {23, "--1,5x", "-1,5"}, {17, "-1", "-1"}}) {
    in(index).setText(QString());
    type(in(index), QString::fromUtf8(typed));
    EXPECT_EQ(in(index).text(), QString::fromUtf8(kept)) << index;
  }
  // Backspace and delete pass everywhere, enter nowhere. With the point as
  // separator the comma stands for it; a second separator of either kind is
  // refused.
  for (int k = 0; k <= 24; ++k) {
    EXPECT_TRUE(in(k).filterKey(8) == 8 && in(k).filterKey(127) == 127 && in(k).filterKey(13) == 0) << k;
  }
  core.globals.sDecimalSep = QStringLiteral(".");
  in(7).setText(QString());
  type(in(7), QStringLiteral("2,1.5.3"));
  EXPECT_EQ(in(7).text(), u"2.153");
}

// ---- Leaving a field ----------------------------------------------------------

// The range first, then the clock's own corrections (150 in the month: 0,
// then 7). 3276,7 in 24 means no value; 100,1 in 8 is not 100; the automatic
// fan stages come only from the list. A text that is no number gets the
// device's value back.
TEST_F(InputFieldsTest, LeavingCorrectsRangeThenClock) {
  readInput(8, QStringLiteral("12,5"));
  readInput(16, QStringLiteral("1"));
  for (const auto& [index, typed, left] :
       Steps{{9, "", "0"}, {5, "0", "7"}, {5, "150", "7"}, {5, "100", "1"}, {5, "99", "99"}, {5, "", "7"},
             {0, "60", "0"}, {1, "59", "59"}, {2, "24", "0"}, {2, "23", "23"}, {3, "32", "1"}, {3, "0", "1"},
             {4, "13", "1"}, {4, "00", "1"}, {4, "12", "12"}, {24, "3276,7", "3276,7"}, {24, "50", "50"},
             {24, "50,1", "0"}, {24, "-0,5", "0"}, {22, "-1", "-1"}, {23, "-2", "0"}, {22, "1023", "1023"},
             {23, "1024", "0"}, {8, "100", "100"}, {8, "100,1", "0"}, {12, "-101", "0"}, {15, "65280", "0"},
             {8, "-", "12,5"}, {8, ",", "12,5"}, {16, "1-", "1"}}) {
    EXPECT_EQ(leave(index, typed), QString::fromUtf8(left)) << index << " " << typed;
  }
  EXPECT_FALSE(isRed(in(8)));
}

// ---- Lists ---------------------------------------------------------------------

TEST_F(InputFieldsTest, TheFanStageListAndFieldAgreeOnTheAutomaticStages) {
  ComboBox& fan = inList(15);
  for (int item = 0; item < 8; ++item) {
    fan.setListIndex(item);
    EXPECT_EQ(in(15).text(), QString::number(item < 4 ? item : 65280 + item - 4)) << item;
  }
  // 4 is past the manual stages and no automatic one: no item.
  for (int code : {65283, 65280, 3, 0, 4}) {
    in(15).setText(QString::number(code));
    EXPECT_EQ(fan.listIndex(), code < 4 ? code : code >= 65280 ? code - 65280 + 4 : -1) << code;
  }
  // A read of an automatic stage: unsigned in the field, its item, unmarked;
  // the write-back looks at the field, so it is marked with the list.
  readInput(15, QStringLiteral("65282"));
  EXPECT_EQ(fan.text(), u"0xFF02, Auto 2. Stufe");
  EXPECT_FALSE(isRed(fan) || button());
  fan.setListIndex(1);
  EXPECT_TRUE(isRed(fan) && isRed(in(15)) && button());
  fan.setListIndex(6);
  EXPECT_FALSE(isRed(fan) || button());
}

// A value without an item: the list selects nothing (its old item would
// show a value the field no longer holds) and the value is marked against
// the device's; the device holding such a value shows it unmarked; a text
// that is no number leaves the list as it was; a fraction becomes the list's
// code, halves to even.
TEST_F(InputFieldsTest, ValuesWithoutAnItemAndFractionsInTheLists) {
  readInput(16, QStringLiteral("1"));
  in(16).setText(QStringLiteral("2"));
  EXPECT_EQ(inList(16).listIndex(), -1);
  EXPECT_EQ(in(16).text(), u"2");
  EXPECT_TRUE(isRed(inList(16)) && isRed(in(16)) && button());
  readInput(17, QStringLiteral("5"));
  EXPECT_EQ(inList(17).listIndex(), -1);
  EXPECT_EQ(in(17).text(), u"5");
  EXPECT_FALSE(isRed(inList(17)));
  in(21).setText(QStringLiteral("-"));
  EXPECT_EQ(inList(21).listIndex(), 0);
  readInput(21, QStringLiteral("2"));
  for (const auto& [typed, shown, item, red] : {std::tuple{u"2,5", u"2", 2, false}, {u"0,6", u"1", 1, true}}) {
    in(21).setText(QString::fromUtf16(typed));
    EXPECT_EQ(in(21).text(), QString::fromUtf16(shown));
    EXPECT_EQ(inList(21).listIndex(), item);
    EXPECT_EQ(isRed(inList(21)), red);
  }
}

// Until a read, the start texts are the device's values; plain fields are
// marked against the device's value, compared by value.
TEST_F(InputFieldsTest, TheStartTextsAreTheDevicesValuesUntilARead) {
  const double expected[] = {0, 0, 0, 1, 1, 7, 0, 0, 0, 0, 0, 0, 0, 22, 22};
  for (int k = 0; k < 15; ++k) EXPECT_EQ(core.form.dInputRegValue[k], expected[k]) << k;
  EXPECT_EQ(in(5).text(), u"07");
  for (int k = 15; k <= 21; ++k) EXPECT_EQ(inList(k).listIndex(), 0) << k;
  EXPECT_FALSE(AnyFieldMarked(core.form));
  readInput(7, QStringLiteral("21,5"));
  int n = 0;
  for (const auto& [index, typed, red] : {std::tuple{13, u"21", true}, {13, u"22", false}, {7, u"21,50", false},
                                          {7, u"21,4", true}, {7, u"21,5", false}}) {
    in(index).setText(QString::fromUtf16(typed));
    EXPECT_EQ(isRed(in(index)), red) << "step " << n;
    EXPECT_EQ(button(), red) << "step " << n++;
  }
}

// ---- Output texts ----------------------------------------------------------------

// The texts beside the output values; a value without a text keeps the
// previous one; in English the message table speaks English.
TEST_F(InputFieldsTest, OutputTextsInGermanAndUnknownValuesKeepThePreviousText) {
  for (const auto& [index, value, caption] :
       {std::tuple{7, "65281", u"Auto 1. Stufe"}, {7, "65283", u"Auto 3. Stufe"}, {7, "4", u"Auto 3. Stufe"},
        {8, "0", u"Raum nicht belegt"}, {8, "1", u"Raum belegt"}, {13, "2", u"Kühlen"}, {13, "5", u"Kühlen"},
        {13, "4", u"Auto Kühlen"}}) {
    out(index).setText(QString::fromLatin1(value));
    EXPECT_EQ(core.form.lbl_in_val[index].caption(), QString::fromUtf16(caption)) << index << " " << value;
  }
  core.globals.MsgText[14] = MsgText(14, true);
  out(7).setText(QStringLiteral("65281"));
  EXPECT_EQ(core.form.lbl_in_val[7].caption(), u"Auto Stage 1");
}

// ---- Bits ---------------------------------------------------------------------

// Every bit with a list: picking the other item sets the bit and marks
// list and box; picking the device's item again clears both marks.
class BitListRows : public ValueFields, public ::testing::TestWithParam<int> {};

TEST_P(BitListRows, PickingAnItemSetsTheBitAndMarksBothUntilTheDevicesValueIsPickedAgain) {
  const int i = GetParam();
  for (int device : {0, 1}) {
    readBit(i, device);
    ASSERT_FALSE(button());
    bitList(i).setListIndex(1 - device);
    EXPECT_EQ(bit(i).value(), 1 - device);
    EXPECT_TRUE(isRed(bit(i)) && isRed(bitList(i)) && button()) << "device " << device;
    bitList(i).setListIndex(device);
    EXPECT_EQ(bit(i).value(), device);
    EXPECT_FALSE(isRed(bit(i)) || isRed(bitList(i)) || button()) << "device " << device;
  }
}

INSTANTIATE_TEST_SUITE_P(Bits16To26, BitListRows, ::testing::Range(16, 27));

// A read marks nothing and the list follows the box; the box set by a
// program step: the list follows and both are marked. A greyed box or an
// empty selection changes nothing else.
TEST_F(InputFieldsTest, TheBitListsFollowTheBoxes) {
  readBit(20, 1);
  EXPECT_EQ(bitList(20).text(), u"Komma einblenden");
  EXPECT_FALSE(isRed(bitList(20)) || isRed(bit(20)) || button());
  bit(16).setValue(1);
  EXPECT_EQ(bitList(16).text(), u"Mit zehntel-Stelle");
  EXPECT_TRUE(isRed(bitList(16)));
  readBit(18, 0);
  bit(18).setValue(2);
  EXPECT_EQ(bitList(18).listIndex(), 0);
  EXPECT_FALSE(isRed(bitList(18)));
  readBit(19, 1);
  bitList(19).setListIndex(-1);
  EXPECT_EQ(bit(19).value(), 1);
  EXPECT_FALSE(isRed(bit(19)));
}

// The window starts in Celsius; the unit bit drives both unit labels.
TEST_F(InputFieldsTest, TheUnitBitDrivesBothUnitLabels) {
  const auto labels = [this] {
    return core.form.lbl_temp[1].caption() + u'|' + core.form.lbl_desc[value_desc::kTemperatureUnit].caption();
  };
  EXPECT_EQ(labels(), u"°C|°C");
  bitList(kUnitBit).setListIndex(0);
  EXPECT_EQ(bitList(kUnitBit).text(), u"°F");
  EXPECT_EQ(bit(kUnitBit).value(), 0);
  EXPECT_EQ(labels(), u"°F|°F");
  readBit(kUnitBit, 1);
  EXPECT_EQ(labels(), u"°C|°C");
}

// Configuration bits with a box only (31 is reserved: a box without a
// caption) and an input bit: a click marks the box against the device and
// turns the button on, a second click undoes both. The reserved input bits
// are carried, never shown. While cyclic reading is on, the button stays
// as it was.
TEST_F(InputFieldsTest, CheckBoxBitsAreMarkedAgainstTheDevice) {
  for (int i : {0, 10, 27, 30, 31}) readBit(i, 1);
  core.form.iInputBitValue[3] = 1;
  inputBit(3).setValue(1);
  EXPECT_FALSE(isRed(inputBit(3)));
  int n = 0;
  for (CheckBox* box : {&bit(0), &bit(10), &bit(27), &bit(30), &bit(31), &inputBit(3)}) {
    box->click();
    EXPECT_TRUE(isRed(*box) && button()) << "box " << n;
    box->click();
    EXPECT_FALSE(isRed(*box) || button()) << "box " << n++;
  }
  EXPECT_TRUE(bit(31).visible());
  EXPECT_FALSE(core.form.lbl_read_cfg_bit[31].visible());
  EXPECT_FALSE(inputBit(6).visible());
  EXPECT_FALSE(core.form.lbl_read_in_bit[15].visible());
  core.form.chk_read_out.setValue(1);
  bit(5).setValue(1);
  EXPECT_TRUE(isRed(bit(5)));
  EXPECT_FALSE(button());
}

}  // namespace
}  // namespace rbx14
