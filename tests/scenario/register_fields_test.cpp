// The configuration fields and what follows from them: lists and fields in
// step both ways, the device-type rules, the minimum response time, the
// changed marks with the write button; typing into the fields, leaving them,
// and stepping them with the arrows, once per click and on the virtual clock
// while held.

#include "model/register_controls.h"
#include "model/register_map.h"
#include "support/config_fixture.h"

#include "shell/localisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace rbx14 {
namespace {

class RegisterFieldsTest : public test::ConfigFixture, public ::testing::Test {};

// ---- Lists and fields ------------------------------------------------------

// Picking an item writes its code into the field; a code from the device
// selects its item (a selection that must give way is there first), or none
// when no item carries it, and stays in the field unmarked.
TEST_F(RegisterFieldsTest, ListsAndFieldsFollowEachOther) {
  for (const auto& [index, position, code] : {std::tuple{6, 15, "32"}, {27, 13, "16"}, {25, 2, "3"}, {2, 9, "9"}}) {
    list(index).setListIndex(position);
    EXPECT_EQ(field(index).text(), QString::fromLatin1(code)) << index;
    EXPECT_EQ(list(index).listIndex(), position) << index;
  }
  for (const auto& [index, code, position] :
       {std::tuple{6, "48", 18}, {6, "10", -1} /* a gap */, {6, "64", -1} /* beyond */, {28, "27", 24}, {25, "0", -1},
        {10, "3", -1}, {13, "-1", -1}, {43, "1,5", -1}, {2, "12", 12}, {2, "13", -1}}) {
    list(index).setListIndex(0);
    readFromDevice(index, QString::fromLatin1(code));
    EXPECT_EQ(list(index).listIndex(), position) << index << " " << code;
    EXPECT_EQ(field(index).text(), QString::fromLatin1(code));
    EXPECT_FALSE(isRed(field(index)));
  }
  // A list without a selection leaves the field's code, and picking an item
  // afterwards still works and marks the change. Read-only fields show their
  // text in their labels.
  readFromDevice(26, QStringLiteral("13"));
  list(26).setListIndex(-1);
  EXPECT_EQ(field(26).text(), u"13");
  list(26).setListIndex(1);
  EXPECT_EQ(field(26).text(), u"1");
  EXPECT_TRUE(isRed(list(26)));
  readFromDevice(0, QStringLiteral("4711"));
  readFromDevice(1, QStringLiteral("-3"));
  EXPECT_EQ(core.form.lbl_cfg_val[0].caption(), u"4711");
  EXPECT_EQ(core.form.lbl_cfg_val[1].caption(), u"-3");
  EXPECT_FALSE(field(0).visible());
}

// ---- Device type -----------------------------------------------------------

// Per device type: the controller's frames, the fan stages, inputs 3 and 4,
// and the monitor's captions (those of types 10 and above stay as the last
// type left them), from the device and from the list alike.
TEST_F(RegisterFieldsTest, DeviceTypesShowTheirPartsFromTheDeviceAndFromTheList) {
  FrmConfig& form = core.form;
  for (const auto& [type, controller, fanStages, inputs3And4, caption11, caption12] :
       std::initializer_list<std::tuple<int, bool, bool, bool, const char16_t*, const char16_t*>>{
           {0, false, false, false, u"Temperatur:", u"Sollwert:"},
           {1, false, false, true, u"Digital Eingang 3:", u"Digital Eingang 4:"},
           {5, true, false, false, u"Stellgröße Heizen:", u"Stellgröße Kühlen:"},
           {7, false, false, false, u"Stellgröße Heizen:", u"Stellgröße Kühlen:"},
           {8, true, false, false, u"Stellgröße:", u"Stellgröße Kühlen:"},
           {9, true, true, false, u"Stellgröße:", u"Lüfter Ausgang:"},
           {10, true, false, false, u"Stellgröße:", u"Lüfter Ausgang:"},
           {12, true, true, false, u"Stellgröße:", u"Lüfter Ausgang:"}}) {
    for (bool fromList : {false, true}) {
      SCOPED_TRACE(testing::Message() << "type " << type << (fromList ? " from the list" : ""));
      readFromDevice(2, QStringLiteral("9"));
      fromList ? list(2).setListIndex(type) : readFromDevice(2, QString::number(type));
      using Controls = std::initializer_list<const Control*>;
      for (const Control* c : Controls{&form.frm_ctrl[1], &form.frm_ctrl[2], &form.frm_ctrl[4], &form.lbl_cfg[43],
                                       &form.cmb_cfg[43], &form.lbl_in_val[13], &form.lbl_read_out[13],
                                       &form.lbl_data_in[21], &form.cmb_in[21]}) {
        EXPECT_EQ(c->visible(), controller);
      }
      for (const Control* c : Controls{&form.frm_VX9H, &form.frm_VX9K}) EXPECT_EQ(c->visible(), fanStages);
      for (const Control* c : Controls{&form.lbl_cfg[28], &form.cmb_cfg[28], &form.lbl_cfg[29], &form.cmb_cfg[29]}) {
        EXPECT_EQ(c->visible(), inputs3And4);
      }
      EXPECT_TRUE(form.frm_ctrl[0].visible() && form.cmb_cfg[27].visible());
      EXPECT_EQ(form.lbl_read_out[11].caption(), QString::fromUtf16(caption11));
      EXPECT_EQ(form.lbl_read_out[12].caption(), QString::fromUtf16(caption12));
    }
  }
}

// Before the first device type, and for types the list does not know, the
// controller shows; unknown types keep the monitor's captions.
TEST_F(RegisterFieldsTest, UnknownDeviceTypesShowTheControllerAndKeepTheMonitorCaptions) {
  for (int frame : {1, 2, 4}) EXPECT_TRUE(core.form.frm_ctrl[frame].visible());
  EXPECT_TRUE(core.form.cmb_cfg[43].visible() && core.form.cmb_cfg[29].visible() && !core.form.frm_VX9H.visible());
  readFromDevice(2, QStringLiteral("1"));
  for (const char16_t* type : {u"13", u"-1", u"1,5"}) {
    readFromDevice(2, QStringLiteral("1"));
    readFromDevice(2, QString::fromUtf16(type));
    EXPECT_TRUE(core.form.frm_ctrl[1].visible() && !core.form.cmb_cfg[28].visible() && !core.form.frm_VX9H.visible());
    EXPECT_EQ(core.form.lbl_read_out[11].caption(), u"Digital Eingang 3:");
  }
  // Not a number: the window stays as it was.
  readFromDevice(2, QStringLiteral("1"));
  field(2).setText(QString());
  EXPECT_TRUE(core.form.cmb_cfg[28].visible());
  // The monitor's captions follow the language.
  UseLanguageTexts(core.globals, true);
  readFromDevice(2, QStringLiteral("9"));
  EXPECT_EQ(core.form.lbl_read_out[11].caption(), u"Ctrl var:");
  EXPECT_EQ(core.form.lbl_read_out[12].caption(), u"Fan output:");
}

// ---- Minimum response time --------------------------------------------------

// Any response time raises the delay flag; only one below five changes the
// delay, and that one is raised to five.
TEST_F(RegisterFieldsTest, TheResponseTimeRaisesTheDelayFlagAndBelowFiveBecomesFive) {
  for (const auto& [typed, shown, delay] : {std::tuple{u"5", u"5", 40}, {u"3000", u"3000", 40}, {u"3", u"5", 5}}) {
    core.form.bDelayChanged = false;
    core.globals.iBusDelay = 40;
    field(15).setText(QString::fromUtf16(typed));
    EXPECT_EQ(field(15).text(), QString::fromUtf16(shown));
    EXPECT_TRUE(core.form.bDelayChanged) << QString::fromUtf16(typed).toStdString();
    EXPECT_EQ(core.globals.iBusDelay, delay);
  }
  core.form.bDelayChanged = false;
  field(15).setText(QString());  // emptied while typing: nothing to follow yet
  EXPECT_FALSE(core.form.bDelayChanged);
}

// ---- Changed marks and the write button -------------------------------------

// A value, tenths compared by value, texts and units compared exactly: each
// marked while it differs from the device's, the button on while any is.
TEST_F(RegisterFieldsTest, AValueChangedAndChangedBackIsUnchangedAgain) {
  readFromDevice(42, QStringLiteral("30"));
  readFromDevice(17, QStringLiteral("21,5"));
  readFromDevice(18, QStringLiteral("-2"));
  EXPECT_FALSE(core.form.set_parameter.enabled());
  TextBox& text = core.form.txt_data_cfg_txt[20];
  TextBox& unit = core.form.txt_data_cfg_unit[7];
  core.form.sCfgTextValue[20] = QStringLiteral("Raum");
  core.form.sCfgUnitValue[7] = QStringLiteral("%");
  int n = 0;
  for (const auto& [box, typed, red, button] : std::initializer_list<std::tuple<TextBox*, const char16_t*, bool, bool>>{
           {&field(42), u"31", true, true}, {&field(42), u"30", false, false}, {&field(17), u"21,50", false, false},
           {&field(17), u"21,6", true, true}, {&field(18), u"-2,1", true, true}, {&field(17), u"21,5", false, true},
           {&field(18), u"-", true, true} /* half typed */, {&field(18), u"-2", false, false},
           {&text, u"raum", true, true}, {&text, u"Raum", false, false}, {&unit, u"% ", true, true},
           {&unit, u"%", false, false}}) {
    box->setText(QString::fromUtf16(typed));
    EXPECT_EQ(isRed(*box), red) << "step " << n;
    EXPECT_EQ(core.form.set_parameter.enabled(), button) << "step " << n++;
  }
}

// While cyclic reading is on, a change is marked but the button stays off;
// ticking the polling box disables the button; while it is ticked a field
// that turns back to the device's value leaves the button alone.
TEST_F(RegisterFieldsTest, TheWriteButtonStaysWhileCyclicReadingIsOn) {
  readFromDevice(42, QStringLiteral("30"));
  core.form.chk_read_out.setValue(1);
  field(42).setText(QStringLiteral("31"));
  EXPECT_TRUE(isRed(field(42)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
  core.form.chk_read_out.setValue(0);
  field(42).setText(QStringLiteral("32"));
  EXPECT_TRUE(core.form.set_parameter.enabled());
  core.form.chk_read_out.setValue(1);
  EXPECT_FALSE(core.form.set_parameter.enabled());
  core.form.set_parameter.setEnabled(true);
  field(42).setText(QStringLiteral("30"));
  EXPECT_FALSE(isRed(field(42)));
  EXPECT_TRUE(core.form.set_parameter.enabled());
}

TEST_F(RegisterFieldsTest, ListsOfSettingFieldsShowTheFieldsMarkTheDeviceListDoesNot) {
  readFromDevice(6, QStringLiteral("1"));
  readFromDevice(2, QStringLiteral("3"));
  list(6).setListIndex(15);
  EXPECT_TRUE(isRed(field(6)) && isRed(list(6)));
  list(6).setListIndex(1);
  EXPECT_FALSE(isRed(list(6)));
  list(2).setListIndex(4);
  EXPECT_TRUE(isRed(field(2)));
  EXPECT_FALSE(isRed(list(2)));
  EXPECT_TRUE(core.form.set_parameter.enabled());
}

// A unit holds no more than the three characters the read-out gives back.
TEST_F(RegisterFieldsTest, UnitsFitTheirRegisters) {
  TextBox& unit = core.form.txt_data_cfg_unit[4];
  for (const auto& [typed, kept] : {std::pair{u"kWh/m", u"kWh"}, {u"kWh", u"kWh"}, {u"m3/h", u"m3/"}}) {
    unit.setText(QString::fromUtf16(typed));
    EXPECT_EQ(unit.text(), QString::fromUtf16(kept));
  }
  core.form.txt_data_cfg_txt[0].setText(QStringLiteral("0123456789ABCDEF"));
  EXPECT_EQ(core.form.txt_data_cfg_txt[0].text(), u"0123456789ABCD");
}

// ---- Key filters ------------------------------------------------------------

// Field 3 takes whole numbers, 17 signed tenths, 44 decimals, 41 whole
// minutes, 30 a decimal under a two-character separator, 60 is reserved.
TEST_F(RegisterFieldsTest, EachFieldTakesOnlyItsKeys) {
  // Typed character by character, at most five.
  type(field(16), QStringLiteral("-1-,2,x"));
  EXPECT_EQ(field(16).text(), u"-1,2");
  type(field(3), QStringLiteral("65-5.3,5"));
  EXPECT_EQ(field(3).text(), u"65535");
  type(field(3), QStringLiteral("9"));
  EXPECT_EQ(field(3).text(), u"65535");
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
    for (const char16_t* k = row.accepted; *k != 0; ++k) EXPECT_EQ(field(row.field).filterKey(*k), *k) << row.field;
    for (const char16_t* k = row.refused; *k != 0; ++k) EXPECT_EQ(field(row.field).filterKey(*k), 0) << row.field;
  }
  // The point of the other keyboard stands for the separator.
  for (const auto& [separator, index, key, becomes] :
       {std::tuple{u",", 17, u'.', u','}, {u".", 17, u',', u'.'}, {u".", 44, u',', u'.'}}) {
    core.globals.sDecimalSep = QString::fromUtf16(separator);
    field(index).setText(QStringLiteral("12"));
    EXPECT_EQ(field(index).filterKey(key), becomes) << index;
  }
  // The device's texts take what its code page has: no control characters,
  // nothing it cannot show.
  TextBox& text = core.form.txt_data_cfg_txt[0];
  for (int key : {1, 0x1F, 0x2603}) EXPECT_EQ(text.filterKey(key), 0) << key;
  for (int key : {int{u'a'}, int{u'ä'}, int{u'?'}, int{u'€'}, 8}) EXPECT_EQ(text.filterKey(key), key) << key;
}

// ---- Leaving a field --------------------------------------------------------

TEST_F(RegisterFieldsTest, LeavingCorrectsTheText) {
  // The change handlers run on the corrected text.
  readFromDevice(4, QStringLiteral("255"));
  field(4).setText(QStringLiteral("300"));
  EXPECT_TRUE(isRed(field(4)));
  field(4).lostFocus();
  EXPECT_FALSE(isRed(field(4)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
  // A list's field (6) and an empty one become 0; beyond the arrows' range
  // (-200 in 16, 1000 in 15) only the field's range applies; the rest as typed.
  for (const auto& [index, typed, left] : std::initializer_list<std::tuple<int, const char16_t*, const char16_t*>>{
           {4, u"300", u"255"}, {16, u"-300", u"0"}, {3, u"", u"0"}, {6, u"", u"0"}, {16, u"-200", u"-200"},
           {15, u"1000", u"255"}, {17, u"255,1", u"255"}, {16, u"-255", u"-255"}, {17, u"07,50", u"07,50"},
           {18, u"1-2", u"1-2"}, {18, u"-", u"-"}}) {
    field(index).setText(QStringLiteral("1"));
    field(index).setText(QString::fromUtf16(typed));
    field(index).lostFocus();
    EXPECT_EQ(field(index).text(), QString::fromUtf16(left)) << index;
  }
}

// ---- One step ---------------------------------------------------------------

TEST_F(RegisterFieldsTest, AStepStaysWithinTheArrowsRange) {
  using Row = std::tuple<const char16_t*, int, const char16_t*, bool, const char16_t*>;  // separator, field, start, up
  // Tenths: just below, at and just above the limits, one step below, below
  // the minimum as typed, whole and decimal sums without binary noise, the
  // point as separator; resolution 1 stops at 0, resolution 2 goes negative
  // down to its minimum; whole numbers, a wide range, a whole field holding
  // decimals, the response time, the decimal fan stage, no number.
  for (const auto& [separator, index, start, up, result] : std::initializer_list<Row>{
           {u",", 16, u"9,95", true, u"10"}, {u",", 16, u"10", true, u"10"}, {u",", 16, u"-9,95", false, u"-10"},
           {u",", 16, u"9,9", true, u"10"}, {u",", 16, u"-20", true, u"-19,9"}, {u",", 19, u"19,9", true, u"20"},
           {u",", 17, u"20", true, u"20,1"}, {u",", 16, u"0,2", true, u"0,3"}, {u".", 16, u"9.95", true, u"10"},
           {u".", 20, u"0", false, u"-0.1"}, {u",", 19, u"0", false, u"0"}, {u",", 23, u"0", false, u"-0,1"},
           {u",", 23, u"-98,95", false, u"-99"}, {u",", 14, u"0", false, u"0"}, {u",", 14, u"254", true, u"255"},
           {u",", 14, u"255", true, u"255"}, {u",", 3, u"65534", true, u"65535"}, {u",", 4, u"2,5", true, u"3,5"},
           {u",", 15, u"6", false, u"5"}, {u",", 44, u"99", true, u"100"}, {u",", 17, u"-", true, u"-"},
           {u",", 17, u"", false, u""}}) {
    core.globals.sDecimalSep = QString::fromUtf16(separator);
    field(index).setText(QString::fromUtf16(start));
    up ? arrows(index).upClick() : arrows(index).downClick();
    EXPECT_EQ(field(index).text(), QString::fromUtf16(result))
        << index << " from " << QString::fromUtf16(start).toStdString();
  }
}

// ---- Auto-repeat ------------------------------------------------------------


// A held arrow stops only when the pointer moves far right or below; the
// arrows are 16 x 22, their margins end at 19.2 and 26.4.
TEST_F(RegisterFieldsTest, TheRepeatStopsOnlyFarRightOrBelowAndFollowsTheLastArrows) {
  using P = PointerAt;
  const P upper{8, 4, 16, 22};
  for (const auto& [at, keepsRepeating] :
       {std::pair{P{8, 10, 16, 22}, true}, {P{19, 10, 16, 22}, true}, {P{19.5, 10, 16, 22}, false},
        {P{8, 26, 16, 22}, true}, {P{8, 27, 16, 22}, false}, {P{-500, 10, 16, 22}, true}, {P{8, -500, 16, 22}, true}}) {
    field(31).setText(QStringLiteral("0"));
    arrows(31).mouseDown(upper);
    arrows(31).upClick();
    arrows(31).mouseMove(at);
    clock.advance(1000);
    EXPECT_EQ(field(31).text(), keepsRepeating ? u"6" : u"1") << at.x << "," << at.y;
    arrows(31).mouseUp(at);
  }
  // The repeat follows the last pressed arrows.
  field(4).setText(QStringLiteral("100"));
  field(5).setText(QStringLiteral("100"));
  arrows(4).mouseDown(upper);
  arrows(4).mouseUp(upper);
  arrows(5).mouseDown(P{8, 11, 16, 22});  // the lower arrow
  clock.advance(400);
  EXPECT_EQ(field(4).text(), u"100");
  EXPECT_EQ(field(5).text(), u"98");
}

// ---- The tables -------------------------------------------------------------

TEST(RegisterMap, KindsRangesListsAndKeyClassesAgree) {
  for (const ConfigField& row : kConfigFields) {
    SCOPED_TRACE(row.index);
    const auto items = ItemsOf(row.list);
    EXPECT_EQ(row.kind == FieldKind::kList, !items.empty());
    if (!items.empty()) {
      const auto [low, high] = std::ranges::minmax_element(items, {}, &ListItem::code);
      EXPECT_EQ(row.min, low->code);
      EXPECT_EQ(row.max, high->code);
    }
    const bool upDown = row.kind == FieldKind::kUpDown;
    EXPECT_TRUE(!upDown || row.min < row.max);
    // A tenths field takes a separator; a range below 0 needs the minus key.
    EXPECT_TRUE(!row.tenths || row.keys != KeyClass::kInteger);
    EXPECT_TRUE(!upDown || row.min >= 0 || row.keys == KeyClass::kSigned);
    EXPECT_EQ(row.frame == frames::kNone, row.kind == FieldKind::kHidden);
    EXPECT_TRUE(row.frame == frames::kNone || FindFrame(row.frame) != nullptr);
  }
}

}  // namespace
}  // namespace rbx14
