// The configuration bits, their two-item lists and the input bits: lists
// and boxes in step both ways, the changed marks against the device's
// values, the write button, and the temperature-unit labels.

#include "model/bit_map.h"
#include "model/value_headings.h"
#include "support/config_fixture.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

class BitFieldsTest : public test::ConfigFixture, public ::testing::Test {
 protected:
  CheckBox& bit(int index) { return core.form.chk_cfg[index]; }
  ComboBox& bitList(int index) { return core.form.cmb_bit_cfg[index]; }
  CheckBox& inputBit(int index) { return core.form.chk_input[index]; }

  // What the read-out does with a configuration bit: the device's value,
  // the box, the list, the normal colour, the device's value again.
  void readBit(int index, int value) {
    core.form.iCfgBitValue[index] = value;
    bit(index).setValue(value);
    if (HasBitList(index)) bitList(index).setListIndex(bit(index).value());
    bit(index).setForeColor(colors::kButtonText);
    core.form.iCfgBitValue[index] = bit(index).value();
  }
};

// Every bit with a list: picking the other item sets the bit and marks
// list and box; picking the device's item again clears both marks.
class BitListRows : public test::ConfigFixture, public ::testing::TestWithParam<int> {};

TEST_P(BitListRows, PickingAnItemSetsTheBitAndMarksBothUntilTheDevicesValueIsPickedAgain) {
  const int i = GetParam();
  for (int device : {0, 1}) {
    core.form.iCfgBitValue[i] = device;
    core.form.chk_cfg[i].setValue(device);
    core.form.cmb_bit_cfg[i].setListIndex(device);
    core.form.chk_cfg[i].setForeColor(colors::kButtonText);
    core.form.cmb_bit_cfg[i].setForeColor(colors::kButtonText);
    CheckChangedFields(core.form);
    ASSERT_FALSE(core.form.set_parameter.enabled());

    core.form.cmb_bit_cfg[i].setListIndex(1 - device);
    EXPECT_EQ(core.form.chk_cfg[i].value(), 1 - device) << "bit " << i;
    EXPECT_TRUE(isRed(core.form.chk_cfg[i])) << "bit " << i;
    EXPECT_TRUE(isRed(core.form.cmb_bit_cfg[i])) << "bit " << i;
    EXPECT_TRUE(core.form.set_parameter.enabled()) << "bit " << i;

    core.form.cmb_bit_cfg[i].setListIndex(device);
    EXPECT_EQ(core.form.chk_cfg[i].value(), device);
    EXPECT_FALSE(isRed(core.form.chk_cfg[i])) << "bit " << i;
    EXPECT_FALSE(isRed(core.form.cmb_bit_cfg[i])) << "bit " << i;
    EXPECT_FALSE(core.form.set_parameter.enabled()) << "bit " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Bits16To26, BitListRows, ::testing::Range(16, 27));

TEST_F(BitFieldsTest, TheListsFollowTheBoxesAndAReadMarksNothing) {
  readBit(20, 1);
  EXPECT_EQ(bitList(20).text(), u"Komma einblenden");
  EXPECT_FALSE(isRed(bitList(20)));
  EXPECT_FALSE(isRed(bit(20)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
  // The box set by a program step: the list follows and both are marked.
  bit(16).setValue(1);
  EXPECT_EQ(bitList(16).text(), u"Mit zehntel-Stelle");
  EXPECT_TRUE(isRed(bitList(16)));
}

TEST_F(BitFieldsTest, AGreyedBoxOrAnEmptySelectionChangesNothingElse) {
  readBit(18, 0);
  bit(18).setValue(2);
  EXPECT_EQ(bitList(18).listIndex(), 0);
  EXPECT_FALSE(isRed(bitList(18)));
  readBit(19, 1);
  bitList(19).setListIndex(-1);
  EXPECT_EQ(bit(19).value(), 1);
  EXPECT_FALSE(isRed(bit(19)));
}

TEST_F(BitFieldsTest, TheUnitBitDrivesBothUnitLabels) {
  Label& picture = core.form.lbl_temp[1];
  Label& beside = core.form.lbl_desc[value_desc::kTemperatureUnit];
  EXPECT_EQ(picture.caption(), u"°C");  // the window starts in Celsius
  EXPECT_EQ(beside.caption(), u"°C");
  bitList(kUnitBit).setListIndex(0);
  EXPECT_EQ(bitList(kUnitBit).text(), u"°F");
  EXPECT_EQ(bit(kUnitBit).value(), 0);
  EXPECT_EQ(picture.caption(), u"°F");
  EXPECT_EQ(beside.caption(), u"°F");
  readBit(kUnitBit, 1);
  EXPECT_EQ(picture.caption(), u"°C");
  EXPECT_EQ(beside.caption(), u"°C");
}

// Configuration bits with a box only (31 is reserved: a box without a
// caption) and an input bit: a click marks the box against the device and
// turns the button on, a second click undoes both. The reserved input bits
// are carried, never shown.
TEST_F(BitFieldsTest, CheckBoxBitsAreMarkedAgainstTheDevice) {
  for (int i : {0, 10, 27, 30, 31}) readBit(i, 1);
  core.form.iInputBitValue[3] = 1;
  inputBit(3).setValue(1);
  EXPECT_FALSE(isRed(inputBit(3)));
  int n = 0;
  for (CheckBox* box : {&bit(0), &bit(10), &bit(27), &bit(30), &bit(31), &inputBit(3)}) {
    box->click();
    EXPECT_TRUE(isRed(*box) && core.form.set_parameter.enabled()) << "box " << n;
    box->click();
    EXPECT_FALSE(isRed(*box) || core.form.set_parameter.enabled()) << "box " << n++;
  }
  EXPECT_TRUE(bit(31).visible());
  EXPECT_FALSE(core.form.lbl_read_cfg_bit[31].visible());
  EXPECT_FALSE(inputBit(6).visible());
  EXPECT_FALSE(core.form.lbl_read_in_bit[15].visible());
}

TEST_F(BitFieldsTest, WhileCyclicReadingIsOnTheWriteButtonStaysAsItWas) {
  core.form.chk_read_out.setValue(1);
  bit(5).setValue(1);
  EXPECT_TRUE(isRed(bit(5)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
}

}  // namespace
}  // namespace rbx14
