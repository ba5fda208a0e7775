// The tabs of the bits, the external values and the monitor, offscreen: a
// bit list and a bit box through their widgets, the input fields' lists, and
// the monitor following a poll.

#include "support/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rbx14 {
namespace {

using ValueTabsTest = test::WindowFixture;

TEST_F(ValueTabsTest, ABitListSetsItsBitMarksItselfAndTheUnitFollows) {
  showTab(Tab::kDisplay);
  auto* tenths = child<QComboBox>(QStringLiteral("cmb_bit_cfg_16"));
  ASSERT_NE(tenths, nullptr);
  EXPECT_EQ(tenths->count(), 2);
  EXPECT_EQ(window.findChild<QCheckBox*>(QStringLiteral("chk_cfg_16")), nullptr);  // the bit's box has no widget
  core.form.cmb_bit_cfg[16].setListIndex(0);
  tenths->setFocus();
  QTest::keyClick(tenths, Qt::Key_Down);
  EXPECT_EQ(core.form.chk_cfg[16].value(), 1);
  EXPECT_EQ(tenths->palette().color(QPalette::ButtonText), QColor(Qt::red));
  EXPECT_TRUE(child<QPushButton>(QStringLiteral("set_parameter"))->isEnabled());

  auto* unit = child<QComboBox>(QStringLiteral("cmb_bit_cfg_24"));
  core.form.cmb_bit_cfg[24].setListIndex(1);
  unit->setFocus();
  QTest::keyClick(unit, Qt::Key_Up);
  EXPECT_EQ(unit->currentText(), u"°F");
  showTab(Tab::kMonitor);
  EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_temp_1"))->text(), u"°F");
  EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_desc_35"))->text(), u"°F");
}

TEST_F(ValueTabsTest, ABitBoxShowsItsMarkOnItsCaption) {
  showTab(Tab::kSymbols);
  auto* fault = child<QCheckBox>(QStringLiteral("chk_input_0"));
  auto* caption = child<QLabel>(QStringLiteral("lbl_read_in_bit_0"));
  ASSERT_TRUE(fault && caption);
  const QColor normal = caption->palette().color(QPalette::WindowText);
  QTest::mouseClick(fault, Qt::LeftButton);
  EXPECT_EQ(core.form.chk_input[0].value(), 1);
  EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(Qt::red));
  QTest::mouseClick(fault, Qt::LeftButton);
  EXPECT_EQ(caption->palette().color(QPalette::WindowText), normal);
  EXPECT_EQ(window.findChild<QCheckBox*>(QStringLiteral("chk_input_6")), nullptr);  // reserved, not shown
}

// The lists of the input fields through their widgets.
TEST_F(ValueTabsTest, AnInputListWritesItsCodeAndKeepsNoStaleItem) {
  ASSERT_TRUE(active);
  showTab(Tab::kSymbols);
  // The fan stage's list writes the automatic stages.
  auto* fan = child<QComboBox>(QStringLiteral("cmb_in_15"));
  fan->setFocus();
  QTest::keyClick(fan, Qt::Key_End);
  EXPECT_EQ(core.form.txt_data_in[15].text(), u"65283");
  EXPECT_EQ(fan->palette().color(QPalette::ButtonText), QColor(Qt::red));

  // A value a list has no item for: the list keeps no stale item, and the
  // field beside it shows what the device holds.
  for (const auto& [k, value] : {std::pair{15, u"5"}, {16, u"2"}, {17, u"2"}, {20, u"-1,5"}, {21, u"4"}}) {
    core.form.txt_data_in[k].setText(QStringLiteral("1"));
    core.form.txt_data_in[k].setText(QString::fromUtf16(value));
    auto* list = child<QComboBox>(QStringLiteral("cmb_in_%1").arg(k));
    auto* field = child<QLineEdit>(QStringLiteral("txt_data_in_%1").arg(k));
    ASSERT_TRUE(list && field);
    EXPECT_EQ(list->currentText(), u"") << k;
    EXPECT_TRUE(field->isVisible()) << k;
    EXPECT_EQ(field->text(), QString::fromUtf16(value)) << k;
  }
}

TEST_F(ValueTabsTest, TheMonitorFollowsAPoll) {
  showTab(Tab::kMonitor);
  FrmConfig& form = core.form;
  // What a poll leaves: values, the temperature, keys 3 and 1 held.
  form.txt_data_out[2].setText(QStringLiteral("21,5"));
  form.txt_data_out[7].setText(QStringLiteral("65281"));
  form.txt_data_out[13].setText(QStringLiteral("1"));
  form.lbl_temp[0].setCaption(QStringLiteral("21,5"));
  for (int held : {1, 3}) form.Lbl_button[held].setForeColor(colors::kRed);

  auto* fan = child<QLineEdit>(QStringLiteral("txt_data_out_7"));
  ASSERT_NE(fan, nullptr);
  EXPECT_TRUE(fan->isReadOnly());
  EXPECT_EQ(fan->text(), u"65281");
  EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_in_val_7"))->text(), u"Auto 1. Stufe");
  EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_in_val_13"))->text(), u"Heizen");
  EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_temp_0"))->text(), u"21,5");
  for (int j = 0; j <= 3; ++j) {
    auto* indicator = child<QLabel>(QStringLiteral("Lbl_button_%1").arg(j));
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(indicator->palette().color(QPalette::WindowText) == QColor(Qt::red), j == 1 || j == 3) << j;
  }
  // Key 4 stands left of key 1, each under its number.
  EXPECT_LT(child<QLabel>(QStringLiteral("Lbl_button_0"))->x(), child<QLabel>(QStringLiteral("Lbl_button_3"))->x());
  EXPECT_GT(child<QLabel>(QStringLiteral("lbl_temp_0"))->font().pointSizeF(),
            child<QLabel>(QStringLiteral("lbl_in_val_7"))->font().pointSizeF());
}

// Texts that arrive while the monitor is not shown (a poll, the device
// type's captions) still get their room when it is shown.
TEST_F(ValueTabsTest, TextsThatArriveWhileTheMonitorIsHiddenGetTheirRoom) {
  showTab(Tab::kMonitor);
  showTab(Tab::kGeneral);
  core.form.txt_data_cfg[2].setText(QStringLiteral("9"));
  core.form.txt_data_out[8].setText(QStringLiteral("0"));
  core.form.txt_data_out[13].setText(QStringLiteral("3"));
  showTab(Tab::kMonitor);
  for (const char* name : {"lbl_in_val_8", "lbl_in_val_13", "lbl_read_out_9", "lbl_read_out_12"}) {
    auto* label = child<QLabel>(QString::fromLatin1(name));
    ASSERT_NE(label, nullptr);
    EXPECT_GE(label->width(), label->sizeHint().width()) << name;
    EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry())) << name;
  }
}

}  // namespace
}  // namespace rbx14
