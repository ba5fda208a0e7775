// The register tabs, offscreen: typing, pasting and leaving through the
// real widgets, holding an arrow on the virtual clock, lists and frames following
// the model, and a window that fits without overlapping controls.

#include "support/window_fixture.h"
#include "ui/up_down_arrows.h"

#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

namespace rbx14 {
namespace {

class RegisterTabsTest : public test::WindowFixture {
 protected:
  QLineEdit* edit(int field) { return child<QLineEdit>(QStringLiteral("txt_data_cfg_%1").arg(field)); }
};

TEST_F(RegisterTabsTest, TypingAChangeTurnsTheFieldRedAndEnablesTheWriteButton) {
  showTab(Tab::kGeneral);
  QLineEdit* backlight = edit(4);
  const QColor normal = backlight->palette().color(QPalette::Text);
  QTest::keyClicks(backlight, QStringLiteral("7"));
  EXPECT_EQ(backlight->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_TRUE(child<QPushButton>(QStringLiteral("set_parameter"))->isEnabled());
  QTest::keyClick(backlight, Qt::Key_Backspace);
  QTest::keyClicks(backlight, QStringLiteral("0"));  // the device's value
  EXPECT_EQ(backlight->palette().color(QPalette::Text), normal);
  EXPECT_FALSE(child<QPushButton>(QStringLiteral("set_parameter"))->isEnabled());
}

// Each row: a field, what the typist does in it, what it then holds, and
// whether the focus has left it.
TEST_F(RegisterTabsTest, TabPasteDropPointAndArrowKeysGoThroughTheFieldsRules) {
  ASSERT_TRUE(active);
  // Characters beyond Latin-1, one key each (a pair of surrogates is one key).
  const auto typeAny = [](QString text) {
    return [text](QLineEdit* e) {
      for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, text.mid(i, n), {});
        i += n - 1;
      }
    };
  };
  const auto paste = [](QString text) {
    return [text](QLineEdit* e) {
      QGuiApplication::clipboard()->setText(text);
      QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    };
  };
  const auto drop = [](QString text) {
    return [text](QLineEdit* e) {
      QMimeData data;
      data.setText(text);
      // The drop goes to the widget that took the drag's entry.
      QDragEnterEvent enter(e->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(e, &enter);
      QDropEvent drop(QPointF(e->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(e, &drop);
    };
  };
  const auto keys = [](QString text, std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> presses) {
    return [text, presses](QLineEdit* e) {
      QTest::keyClicks(e, text);
      for (const auto& [key, modifiers] : presses) QTest::keyClick(e, key, modifiers);
    };
  };
  struct Row {
    Tab tab;
    const char* field;
    std::function<void(QLineEdit*)> act;
    const char16_t* holds;
    bool leaves = false;
  };
  const Row rows[] = {
      // Typed keys pass the field's key filter and its maximum length.
      {Tab::kSetpoint1, "txt_data_cfg_17", keys("-1-2,5,x", {}), u"-12,5"},
      {Tab::kGeneral, "txt_data_cfg_3", keys("a-7,5.123", {}), u"75123"},
      // Tab and Shift+Tab move on and correct the field as a click elsewhere.
      {Tab::kGeneral, "txt_data_cfg_4", keys("300", {{Qt::Key_Tab, {}}}), u"255", true},
      {Tab::kSymbols, "txt_data_in_22", keys("2000", {{Qt::Key_Backtab, Qt::ShiftModifier}}), u"0", true},
      {Tab::kGeneral, "txt_Modbus_adress", keys("a-+ 2x.,", {{Qt::Key_Return, {}}, {Qt::Key_4, {}}, {Qt::Key_Tab, {}}}),
       u"24", true},
      {Tab::kGeneral, "txt_data_cfg_5", keys("1", {{Qt::Key_Backspace, {}}, {Qt::Key_Tab, {}}}), u"0", true},
      // Pasted and dropped text passes the key filter character by character.
      {Tab::kGeneral, "txt_data_cfg_3", paste(QStringLiteral("-7x")), u"7"},
      {Tab::kGeneral, "txt_data_in_0", paste(QStringLiteral("-7x")), u"7"},
      {Tab::kGeneral, "txt_data_cfg_3", drop(QStringLiteral("-7x")), u"7"},
      {Tab::kSymbols, "txt_data_in_22", paste(QStringLiteral("-1.5\n-2")), u"-1,52"},
      // With the comma as separator the point is taken as it, on either keyboard.
      {Tab::kSetpoint1, "txt_data_cfg_19", keys("0.7", {}), u"0,7"},
      {Tab::kExternalValues, "txt_data_in_7", keys("1", {{Qt::Key_Period, Qt::KeypadModifier}, {Qt::Key_5, {}}}), u"1,5"},
      // Texts hold only what the device's code page has.
      {Tab::kSetpoint1, "txt_data_cfg_txt_0", typeAny(QStringLiteral("Grüße €ŁΩ☃😀")), u"Grüße €"},
      {Tab::kSetpoint1, "txt_data_cfg_unit_0", paste(QStringLiteral("€Ł😀°C")), u"€°C"},
      // Up and Down step like the arrows.
      {Tab::kGeneral, "txt_data_cfg_4", keys("5", {{Qt::Key_Up, {}}, {Qt::Key_Up, {}}, {Qt::Key_Down, {}}}), u"6"},
  };
  for (const Row& row : rows) {
    showTab(row.tab);
    auto* field = child<QLineEdit>(QString::fromLatin1(row.field));
    ASSERT_NE(field, nullptr) << row.field;
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    row.act(field);
    EXPECT_EQ(field->text(), QString::fromUtf16(row.holds)) << row.field;
    EXPECT_EQ(field->hasFocus(), !row.leaves) << row.field;
  }
}

TEST_F(RegisterTabsTest, AnotherWindowTakingTheFocusDoesNotLeaveTheField) {
  ASSERT_TRUE(active);
  showTab(Tab::kGeneral);
  edit(4)->setFocus();
  QTest::keyClicks(edit(4), QStringLiteral("300"));
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(edit(4)->text(), u"300");
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  edit(5)->setFocus();
  EXPECT_EQ(edit(4)->text(), u"255");
}

TEST_F(RegisterTabsTest, DisabledButtonsAndLabelsKeepTheDisabledLook) {
  const QPalette plain = QPushButton().palette();
  auto* write = child<QPushButton>(QStringLiteral("set_parameter"));
  ASSERT_TRUE(write != nullptr && !write->isEnabled());
  EXPECT_EQ(write->palette().color(QPalette::Disabled, QPalette::ButtonText),
            plain.color(QPalette::Disabled, QPalette::ButtonText));
  EXPECT_NE(write->palette().color(QPalette::Disabled, QPalette::ButtonText),
            write->palette().color(QPalette::Active, QPalette::ButtonText));
  auto* pollCaption = child<QLabel>(QStringLiteral("lbl_desc_30"));
  ASSERT_TRUE(pollCaption != nullptr && !pollCaption->isEnabled());
  EXPECT_EQ(pollCaption->palette().color(QPalette::Disabled, QPalette::WindowText),
            plain.color(QPalette::Disabled, QPalette::WindowText));
}

TEST_F(RegisterTabsTest, HoldingAnArrowRepeatsUntilReleased) {
  showTab(Tab::kController);
  auto* arrows = child<UpDownArrows>(QStringLiteral("UpD_txt_cfg_35"));
  ASSERT_NE(arrows, nullptr);
  core.form.txt_data_cfg[35].setText(QStringLiteral("29,5"));
  const QPoint upper(arrows->width() / 2, 2);
  QTest::mousePress(arrows, Qt::LeftButton, {}, upper);
  EXPECT_EQ(edit(35)->text(), u"29,6");
  clock.advance(400);
  EXPECT_EQ(edit(35)->text(), u"29,8");
  clock.advance(1000);
  EXPECT_EQ(edit(35)->text(), u"30");
  QTest::mouseRelease(arrows, Qt::LeftButton, {}, upper);
  EXPECT_FALSE(core.form.Timer->enabled());

  const QPoint lower(arrows->width() / 2, arrows->height() - 2);
  QTest::mouseClick(arrows, Qt::LeftButton, {}, lower);
  clock.advance(1000);
  EXPECT_EQ(edit(35)->text(), u"29,9");

  // Held while the window stops taking input (the state window opens): the
  // button's release never arrives, the repetition ends anyway.
  QTest::mousePress(arrows, Qt::LeftButton, {}, lower);
  window.setEnabled(false);
  clock.advance(1000);
  EXPECT_EQ(edit(35)->text(), u"29,8");
  EXPECT_FALSE(core.form.Timer->enabled());
}

TEST_F(RegisterTabsTest, ListsAndFramesFollowTheModel) {
  showTab(Tab::kButtonsInputs);
  auto* button1 = child<QComboBox>(QStringLiteral("cmb_cfg_6"));
  ASSERT_NE(button1, nullptr);
  EXPECT_EQ(button1->count(), 23);
  core.form.txt_data_cfg[6].setText(QStringLiteral("48"));
  EXPECT_EQ(button1->currentText(), u"0x30, Regelung toggel Auto / Aus");
  button1->setFocus();
  QTest::keyClick(button1, Qt::Key_Down);  // a user's selection
  EXPECT_EQ(core.form.txt_data_cfg[6].text(), u"49");

  auto* deviceType = child<QComboBox>(QStringLiteral("cmb_cfg_2"));
  auto* heatingFans = child<QGroupBox>(QStringLiteral("frm_VX9H"));
  auto* input3 = child<QComboBox>(QStringLiteral("cmb_cfg_28"));
  EXPECT_TRUE(input3->isVisible());
  showTab(Tab::kGeneral);
  deviceType->setCurrentIndex(8);
  QTest::keyClick(deviceType, Qt::Key_Down);
  EXPECT_EQ(core.form.txt_data_cfg[2].text(), u"9");
  showTab(Tab::kController);
  EXPECT_TRUE(heatingFans->isVisible());
  EXPECT_FALSE(child<QGroupBox>(QStringLiteral("frm_VX9K"))->isHidden());
  showTab(Tab::kButtonsInputs);
  EXPECT_FALSE(input3->isVisible());
}

// Every tab, with every frame shown: the window fits a 1280 x 800 screen and
// no two controls of a frame or a page overlap, at its own size and made
// as small as 600 x 400 (it scrolls then).
TEST_F(RegisterTabsTest, EveryTabFitsWithoutOverlappingControls) {
  core.form.txt_data_cfg[2].setText(QStringLiteral("9"));
  EXPECT_LE(window.frameGeometry().width(), 1280);
  EXPECT_LE(window.frameGeometry().height(), 800);
  for (const QSize small : {QSize(), QSize(600, 400)}) {
    if (small.isValid()) {
      window.resize(small);
      QApplication::processEvents();
      EXPECT_LE(window.width(), small.width());
      EXPECT_LE(window.height(), small.height());
    }
    for (int tab = 0; tab < window.tabs()->count(); ++tab) {
      window.tabs()->setCurrentIndex(tab);
      QApplication::processEvents();
      QWidget* page = window.tabs()->widget(tab);
      // At its own size the window shows every page whole.
      EXPECT_TRUE(small.isValid() || window.rect().contains(page->mapTo(&window, page->rect().bottomRight())));
      const QList<QWidget*> containers = page->findChildren<QWidget*>() << page;
      for (QWidget* container : containers) {
        QList<QWidget*> shown = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        shown.removeIf([](const QWidget* w) { return !w->isVisible(); });
        for (qsizetype a = 0; a < shown.size(); ++a) {
          EXPECT_TRUE(container->rect().contains(shown[a]->geometry()))
              << shown[a]->objectName().toStdString() << " leaves " << container->objectName().toStdString();
          for (qsizetype b = a + 1; b < shown.size(); ++b) {
            EXPECT_FALSE(shown[a]->geometry().intersects(shown[b]->geometry()))
                << shown[a]->objectName().toStdString() << " overlaps " << shown[b]->objectName().toStdString()
                << " on tab " << tab;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace rbx14
