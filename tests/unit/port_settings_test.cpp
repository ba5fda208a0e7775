// The settings string and the port map. (The map read from the settings
// store is with the store's tests.)

#include "link/network_port.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "link/serial_port.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

TEST(PortSettings, ParsesTheSettingsStringAndEveryFieldReachesQSerialPort) {
  for (const auto& [text, parsed, dataBits, parity, stopBits] :
       {std::tuple{"19200,O,7,1", PortSettings{19200, 'O', 7, 1}, QSerialPort::Data7, QSerialPort::OddParity,
                   QSerialPort::OneStop},
        {"57600,E,8,2", PortSettings{57600, 'E', 8, 2}, QSerialPort::Data8, QSerialPort::EvenParity,
         QSerialPort::TwoStop},
        {"9600,n,8,1", PortSettings{9600, 'N', 8, 1}, QSerialPort::Data8, QSerialPort::NoParity,
         QSerialPort::OneStop}}) {
    const auto s = ParsePortSettings(QString::fromLatin1(text));
    ASSERT_EQ(s, parsed) << text;
    const auto qt = ToQtSerialPortSettings(*s);
    EXPECT_EQ(qt.baudRate, parsed.baudRate);
    EXPECT_EQ(qt.dataBits, dataBits);
    EXPECT_EQ(qt.parity, parity);
    EXPECT_EQ(qt.stopBits, stopBits);
  }
  EXPECT_EQ(ParsePortSettings(QStringLiteral("1200,O,5,1")), (PortSettings{1200, 'O', 5, 1}));
  for (const char* bad : {"", "9600", "9600,E,8", "x,E,8,1", "9600,Q,8,1", "9600,E,9,1",
                          "9600,E,8,3", "-5,E,8,1", "9600,EE,8,1", "9600,E,8,1,0"}) {
    EXPECT_FALSE(ParsePortSettings(QString::fromLatin1(bad)).has_value()) << bad;
  }
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

// A network line's name: the kind, the host (an IPv6 address in brackets)
// and a port 1..65535; anything else is a device path.
TEST(NetworkTarget, ParsesOnlyTheTwoKindsWithAHostAndAPort) {
  using Kind = NetworkTarget::Kind;
  for (const auto& [name, kind, host, port] :
       {std::tuple{"tcp://10.0.0.7:4001", Kind::RawTcp, "10.0.0.7", 4001},
        {"MBTCP://[::1]:502", Kind::ModbusTcp, "::1", 502},
        {" mbtcp://gw-3.local:65535 ", Kind::ModbusTcp, "gw-3.local", 65535}}) {
    const auto target = NetworkTarget::parse(QString::fromLatin1(name));
    ASSERT_TRUE(target.has_value()) << name;
    EXPECT_EQ(target->kind, kind) << name;
    EXPECT_EQ(target->host, QString::fromLatin1(host)) << name;
    EXPECT_EQ(target->port, port) << name;
  }
  for (const char* name : {"tcp://gw:0", "tcp://gw:65536", "udp://gw:502", "tcp://gw", "/dev/ttyUSB0", "tcp://:502"}) {
    EXPECT_FALSE(NetworkTarget::parse(QString::fromLatin1(name)).has_value()) << name;
  }
}

}  // namespace
}  // namespace rbx14
