// The settings string and the port map.

#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace rbx14 {
namespace {

TEST(PortSettings, ParsesTheSettingsString) {
  const auto s = ParsePortSettings(QStringLiteral("9600,E,8,1"));
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(*s, (PortSettings{9600, 'E', 8, 1}));
  EXPECT_EQ(ParsePortSettings(QStringLiteral("57600,n,7,2")), (PortSettings{57600, 'N', 7, 2}));
  EXPECT_EQ(ParsePortSettings(QStringLiteral("1200,O,5,1")), (PortSettings{1200, 'O', 5, 1}));
  for (const char* bad : {"", "9600", "9600,E,8", "x,E,8,1", "9600,Q,8,1", "9600,E,9,1",
                          "9600,E,8,3", "-5,E,8,1", "9600,EE,8,1", "9600,E,8,1,0"}) {
    EXPECT_FALSE(ParsePortSettings(QString::fromLatin1(bad)).has_value()) << bad;
  }
}

TEST(PortSettings, EveryFieldReachesQSerialPort) {
  const auto ascii = ToQtSerialPortSettings(*ParsePortSettings(QStringLiteral("19200,O,7,1")));
  EXPECT_EQ(ascii.baudRate, 19200);
  EXPECT_EQ(ascii.dataBits, QSerialPort::Data7);
  EXPECT_EQ(ascii.parity, QSerialPort::OddParity);
  EXPECT_EQ(ascii.stopBits, QSerialPort::OneStop);
  const auto rtu = ToQtSerialPortSettings(*ParsePortSettings(QStringLiteral("57600,E,8,2")));
  EXPECT_EQ(rtu.baudRate, 57600);
  EXPECT_EQ(rtu.dataBits, QSerialPort::Data8);
  EXPECT_EQ(rtu.parity, QSerialPort::EvenParity);
  EXPECT_EQ(rtu.stopBits, QSerialPort::TwoStop);
  EXPECT_EQ(ToQtSerialPortSettings(*ParsePortSettings(QStringLiteral("9600,N,8,1"))).parity,
            QSerialPort::NoParity);
}

TEST(PortSettings, CharacterTimeCountsEveryBit) {
  // 11 bits at 9600 baud for 8E1, 10 for 8N1.
  EXPECT_NEAR(CharacterTimeUs({9600, 'E', 8, 1}), 1145.83, 0.01);
  EXPECT_NEAR(CharacterTimeUs({9600, 'N', 8, 1}), 1041.67, 0.01);
  EXPECT_NEAR(CharacterTimeUs({19200, 'E', 7, 1}), 520.83, 0.01);
}

TEST(PortMap, ComPortsMapToTtySUnlessTheSettingsSayOtherwise) {
  PortMap map;
  EXPECT_EQ(map.devicePath(1), u"/dev/ttyS0");
  EXPECT_EQ(map.devicePath(40), u"/dev/ttyS39");
  map.setOverride(3, QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(map.devicePath(3), u"/dev/ttyUSB0");
}

TEST(PortMap, ReadsThePortsSectionOfTheUserSettings) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("user/rbx14-config")));
  ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("system/rbx14-config")));
  auto write = [](const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  };
  write(home.path() + QStringLiteral("/system/rbx14-config/rbx14-config.ini"),
        "[Ports]\nCOM1=/dev/ttyACM0\nCOM2=/dev/ttyUSB7\n");
  write(home.path() + QStringLiteral("/user/rbx14-config/rbx14-config.ini"),
        "[Ports]\nCOM2=/dev/ttyUSB0\nnonsense=/dev/null\nCOM5=\n");
  qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/user")).toLocal8Bit());
  qputenv("XDG_CONFIG_DIRS", (home.path() + QStringLiteral("/system")).toLocal8Bit());
  const PortMap map = PortMap::fromSettings(ReadSettings());
  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_CONFIG_DIRS");
  EXPECT_EQ(map.devicePath(1), u"/dev/ttyACM0");
  EXPECT_EQ(map.devicePath(2), u"/dev/ttyUSB0");  // the user's entry wins
  EXPECT_EQ(map.devicePath(5), u"/dev/ttyS4");    // an empty entry is no entry
}

}  // namespace
}  // namespace rbx14
