// The main window, offscreen: widgets follow the models and the address
// field lets only digits through.

#include "core/config_core.h"
#include "link/virtual_scheduler.h"
#include "support/fake_serial_port.h"
#include "support/qt_test_main.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace rbx14 {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : core(clock, port, messages), window((core.Main(), core), opener, files) {
    window.show();
  }

  template <class W>
  W* child(const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
  }

  VirtualScheduler clock;
  test::FakeSerialPort port;
  test::RecordingMessageBoxes messages;
  ConfigCore core;
  test::RecordingOpener opener;
  test::ScriptedFileDialogs files;
  MainWindow window;
};

TEST_F(MainWindowTest, AddressFieldRefusesLettersSignsBlanksAndEnter) {
  QLineEdit* address = window.addressField();
  ASSERT_NE(address, nullptr);
  address->setFocus();
  address->selectAll();
  QTest::keyClicks(address, QStringLiteral("a-+ 2x.,"));
  QTest::keyClick(address, Qt::Key_Return);
  QTest::keyClicks(address, QStringLiteral("4Z7"));
  EXPECT_EQ(address->text(), u"247");
  EXPECT_EQ(core.form.txt_Modbus_adress.text(), u"247");
  QTest::keyClick(address, Qt::Key_Backspace);
  EXPECT_EQ(core.form.txt_Modbus_adress.text(), u"24");
}

TEST_F(MainWindowTest, WidgetsShowTheStartState) {
  auto* ports = child<QComboBox>("Combo_Port_0");
  ASSERT_NE(ports, nullptr);
  EXPECT_EQ(ports->currentText(), u"COM1");
  EXPECT_EQ(ports->count(), 40);
  EXPECT_EQ(child<QComboBox>("Combo_Port_1")->currentText(), u"9600");
  EXPECT_EQ(child<QComboBox>("Combo_Port_2")->currentText(), u"Even");
  EXPECT_EQ(child<QComboBox>("Combo_Port_5")->currentText(), u"RTU");
  EXPECT_EQ(child<QComboBox>("Combo_Port_6")->currentText(), u"close");
  EXPECT_FALSE(child<QPushButton>("read_out_parameter")->isEnabled());
  EXPECT_FALSE(child<QLabel>("lbl_desc_7")->isVisible());
  EXPECT_EQ(window.tabs()->count(), 10);
  EXPECT_EQ(window.windowTitle(), u"RBX14-RS485-Modbus Configuration Software");
}

TEST_F(MainWindowTest, ChoosingOpenInTheListOpensThePortAndEnablesTheButtons) {
  auto* openClose = child<QComboBox>("Combo_Port_6");
  ASSERT_NE(openClose, nullptr);
  QTest::keyClick(openClose, Qt::Key_Down);  // a user's selection: "open"
  EXPECT_TRUE(port.portOpen());
  EXPECT_EQ(port.written.size(), 1u);
  EXPECT_TRUE(child<QPushButton>("read_out_parameter")->isEnabled());
  EXPECT_FALSE(child<QComboBox>("Combo_Port_0")->isEnabled());

  clock.advance(6000);  // unanswered: the warning appears in the window
  EXPECT_TRUE(child<QLabel>("lbl_desc_7")->isVisible());
}

}  // namespace
}  // namespace rbx14
