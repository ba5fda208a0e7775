// The real port path: QSerialPort on the slave side of a pseudo-terminal,
// the test on the master side reading what goes out on the "line".

#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/qt_test_main.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <termios.h>

namespace rbx14 {
namespace {

// Maps COM1 to the pseudo-terminal through the user's settings file, the way
// a technician maps it to a USB adapter.
class PtyLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.valid());
    ASSERT_TRUE(config.isValid());
    ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("rbx14-config")));
    QFile ini(config.path() + QStringLiteral("/rbx14-config/rbx14-config.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Ports]\nCOM1=" + pty.slavePath().toLocal8Bit() + "\n");
    ini.close();
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    port = std::make_unique<QtSerialPort>(PortMap::fromSettings(ReadSettings()));
    qunsetenv("XDG_CONFIG_HOME");
    core = std::make_unique<ConfigCore>(scheduler, *port, messages);
    core->Main();
  }
  void TearDown() override {
    core.reset();
    port.reset();
  }

  ComboBox& list(int index) { return core->form.Combo_Port[index]; }

  test::PseudoTerminal pty;
  QTemporaryDir config;
  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  std::unique_ptr<QtSerialPort> port;
  std::unique_ptr<ConfigCore> core;
};

TEST_F(PtyLink, RtuProbeGoesOutByteExactWithTheChosenSettings) {
  list(port_list::kOpenClose).setListIndex(1);
  ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u'|').toStdString();
  ASSERT_TRUE(port->portOpen());
  const QByteArray expected("\x01\x03\x00\x21\x00\x01\xD4\x00", 8);
  EXPECT_EQ(pty.readFromLine(8, 3000), expected);

  const termios t = pty.lineSettings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
  // Linux drops the parity flag on pseudo-terminals; even parity must not
  // stop the port from opening on one.

  // The probe's answer carries the bus delay (5 ms) and starts the
  // read-out: the first configuration block is the next request.
  pty.writeToLine(QByteArray("\x01\x03\x02\x00\x05\x78\x47", 7));
  EXPECT_EQ(pty.readFromLine(8, 3000), QByteArray("\x01\x03\x00\x00\x00\x0A\xC5\xCD", 8));
  EXPECT_EQ(core->globals.iBusDelay, 5);
  EXPECT_EQ(core->globals.lJobState, 1);
}

TEST_F(PtyLink, AsciiProbeGoesOutAsTextWithSevenDataBits) {
  list(port_list::kMode).setListIndex(0);
  list(port_list::kBaud).setListIndex(1);
  list(port_list::kParity).setListIndex(2);
  list(port_list::kOpenClose).setListIndex(1);
  ASSERT_TRUE(port->portOpen());
  const QByteArray expected(":010300210001DA\r\n");
  EXPECT_EQ(pty.readFromLine(static_cast<int>(expected.size()), 3000), expected);

  const termios t = pty.lineSettings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
  // Seven data bits and odd parity are refused by the pseudo-terminal
  // (Linux keeps it at 8N); the open must still succeed.
}

TEST_F(PtyLink, UnansweredProbeIsSentAgainAfterASecond) {
  list(port_list::kOpenClose).setListIndex(1);
  const QByteArray probe("\x01\x03\x00\x21\x00\x01\xD4\x00", 8);
  EXPECT_EQ(pty.readFromLine(8, 3000), probe);
  EXPECT_EQ(pty.readFromLine(8, 3000), probe);
}

TEST_F(PtyLink, AMissingDeviceGivesTheMessageNotACrash) {
  list(port_list::kPort).setListIndex(39);  // COM40: /dev/ttyS39, absent here
  list(port_list::kOpenClose).setListIndex(1);
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_TRUE(messages.shown[0].startsWith(u"COM-Port not available,  "));
  EXPECT_FALSE(port->portOpen());
  EXPECT_EQ(list(port_list::kOpenClose).listIndex(), 0);
}

}  // namespace
}  // namespace rbx14
