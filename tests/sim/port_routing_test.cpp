// The port list beyond COM40 and the routing behind it: COM1..COM40 stay as
// they are, the system's own ports follow, then the built-in simulated
// device; a port mapped to "simulator" is the simulated device too.

#include "link/routing_serial_port.h"
#include "sim_test_helpers.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

using test::Framed;

const std::vector<SystemPort> kSystemPorts{
    {QStringLiteral("/dev/ttyS0")},    // already COM1
    {QStringLiteral("/dev/ttyUSB0")},  // mapped to COM3 below
    {QStringLiteral("/dev/ttyUSB1")},
    {QStringLiteral("/dev/ttyACM0")},
};

TEST(PortRouting, SystemPortsNotYetNamedFollowCom40ThenTheSimulator) {
  const PortRouting routing(PortMap({{3, QStringLiteral("/dev/ttyUSB0")}}), kSystemPorts,
                            QStringLiteral("RBX14-Simulator"));
  EXPECT_EQ(routing.namesBeyondCom40(),
            (QStringList{"/dev/ttyUSB1", "/dev/ttyACM0", "RBX14-Simulator"}));
  EXPECT_EQ(routing.map().devicePath(41), u"/dev/ttyUSB1");
  EXPECT_EQ(routing.map().devicePath(42), u"/dev/ttyACM0");
  EXPECT_EQ(routing.builtInNumber(), 43);
  EXPECT_TRUE(routing.isBuiltIn(43));
  for (int number : {1, 42, 44}) EXPECT_FALSE(routing.isBuiltIn(number)) << number;
}

TEST(PortRouting, TheReservedValueMakesAComPortTheSimulator) {
  const PortRouting routing(PortMap({{1, QStringLiteral("simulator")}, {2, QStringLiteral("Simulator")}}),
                            {}, QStringLiteral("RBX14-Simulator"));
  EXPECT_TRUE(routing.isBuiltIn(1));
  EXPECT_TRUE(routing.isBuiltIn(2));
  EXPECT_FALSE(routing.isBuiltIn(3));
  EXPECT_EQ(routing.builtInNumber(), 41);
}

// The program on the routing port: the hardware is a fake that records,
// the built-in device the in-process simulator.
struct RoutedCore {
  explicit RoutedCore(PortMap map = {})
      : port(PortRouting(std::move(map), kSystemPorts, QStringLiteral("RBX14-Simulator")), hardware,
             simulated),
        core(clock, port, messages) {
    hardware.highestPort = 99;
    core.Main();
  }

  ComboBox& list(int index) { return core.form.Combo_Port[index]; }
  void openAt(int position) {
    list(port_list::kPort).setListIndex(position);
    list(port_list::kOpenClose).setListIndex(1);
  }

  VirtualScheduler clock;
  rbx14::test::FakeSerialPort hardware;
  SimulatedDevice device;
  SimulatedSerialPort simulated{clock, device};
  RoutingSerialPort port;
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core;
};
struct RoutedCoreTest : RoutedCore, ::testing::Test {};

TEST_F(RoutedCoreTest, TheListKeepsCom1ToCom40AndAddsTheRest) {
  const QStringList items = list(port_list::kPort).items();
  ASSERT_EQ(items.size(), 40 + 4);
  for (int n = 1; n <= 40; ++n) EXPECT_EQ(items[n - 1], QStringLiteral("COM%1").arg(n));
  EXPECT_EQ(items.mid(40), (QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "RBX14-Simulator"}));
  EXPECT_EQ(list(port_list::kPort).text(), u"COM1");
}

// The settings chosen before switching go along (ASCII: 7 data bits).
TEST_F(RoutedCoreTest, TheLastEntryOpensTheSimulatedDeviceWithTheSettingsChosen) {
  list(port_list::kMode).setListIndex(0);
  openAt(43);
  ASSERT_TRUE(messages.shown.isEmpty());
  EXPECT_TRUE(port.onBuiltInDevice());
  EXPECT_EQ(port.commPort(), 44);
  EXPECT_EQ(simulated.settings(), u"9600,E,7,1");
  EXPECT_EQ(simulated.inputMode(), InputMode::Text);
  EXPECT_FALSE(hardware.portOpen());
  EXPECT_TRUE(hardware.written.empty());
  // The probe's answer is waiting before the receive poll's first tick.
  clock.advance(60);
  EXPECT_EQ(port.input(), Framed("0103020005", LineMode::Ascii));
}

TEST_F(RoutedCoreTest, ComPortsAndSystemPortsGoToTheHardware) {
  openAt(2);
  EXPECT_FALSE(port.onBuiltInDevice());
  EXPECT_EQ(hardware.commPort(), 3);
  ASSERT_EQ(hardware.written.size(), 1u);
  EXPECT_EQ(hardware.written[0], Framed("010300210001", LineMode::Rtu));

  list(port_list::kOpenClose).setListIndex(0);
  openAt(41);  // the second system port
  EXPECT_EQ(hardware.commPort(), 42);
  EXPECT_EQ(hardware.written.size(), 2u);
  EXPECT_EQ(hardware.settings(), u"9600,E,8,1");
}

// A port mapped to "simulator" is the simulated device from the start entry on.
TEST(RoutedCoreWithSimulatorOnCom1, TheStartEntryIsTheSimulatedDevice) {
  RoutedCore routed(PortMap({{1, QStringLiteral("simulator")}}));
  routed.list(port_list::kOpenClose).setListIndex(1);
  EXPECT_TRUE(routed.port.onBuiltInDevice());
  EXPECT_TRUE(routed.hardware.written.empty());
}

}  // namespace
}  // namespace rbx14::sim
