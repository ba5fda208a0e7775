// The bus scan on the virtual clock against simulated devices sharing one
// line: who is found, how long a silent line takes, cancelling, and the
// link as it was afterwards.

#include "session/config_core.h"
#include "link/codec.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_serial_port.h"
#include "support/core_state.h"
#include "support/fake_serial_port.h"
#include "support/tapped_port.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

// Devices at 3, 17 and 200, each of another type and firmware.
class BusScanOnLine : public ::testing::TestWithParam<ModeRow> {
 protected:
  BusScanOnLine() : core(clock, tapped, messages) {
    core.Main();
    for (auto [address, type] : {std::pair{3, 2}, {17, 9}, {200, 12}}) {
      DeviceImage& image = bus.device(address)->image();
      image.setReg(0, static_cast<std::uint16_t>(0x100 + address));  // coding
      image.setReg(1, static_cast<std::uint16_t>(40 + address));     // firmware
      image.setReg(2, static_cast<std::uint16_t>(type));
      image.setReg(0x21, static_cast<std::uint16_t>(address % 7));  // the link's delay
      image.setReg(15, static_cast<std::uint16_t>(5 + address % 20));  // minimum response time
    }
  }

  // Opens the port without an address, so nothing is probed.
  void openQuietly() {
    core.form.txt_Modbus_adress.setText(QString());
    core.form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
    ASSERT_TRUE(core.link.lineLent() == false && simulated.portOpen());
  }

  // Runs a scan to its end; returns the end and the virtual time it took.
  std::pair<ScanEnd, std::int64_t> scan(std::vector<int> addresses) {
    std::optional<ScanEnd> end;
    const std::int64_t startMs = clock.nowMs();
    EXPECT_TRUE(core.scan.start(std::move(addresses), {.progress = [this](int done, int total) {
                                                         progress.emplace_back(done, total);
                                                       },
                                                       .found = {},
                                                       .finished = [&](ScanEnd e) { end = e; }}));
    EXPECT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 60000));
    return {end.value_or(ScanEnd::Cancelled), clock.nowMs() - startMs};
  }

  std::vector<int> everyAddress() const {
    std::vector<int> all;
    for (int a = 1; a <= 247; ++a) all.push_back(a);
    return all;
  }

  VirtualScheduler clock;
  SimulatedBus bus{DeviceSettings{}, {3, 17, 200}};
  SimulatedSerialPort simulated{clock, bus};
  rbx14::test::TappedPort tapped{simulated, clock};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core;
  std::vector<std::pair<int, int>> progress;
};

TEST_P(BusScanOnLine, FindsExactlyTheDevicesOnTheLineWithTheirIdentity) {
  openQuietly();
  const auto [end, tookMs] = scan(everyAddress());
  EXPECT_EQ(end, ScanEnd::Completed);
  const auto& found = core.scan.devices();
  ASSERT_EQ(found.size(), 3u);
  const int types[] = {2, 9, 12};
  const int addresses[] = {3, 17, 200};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(addresses[i]);
    EXPECT_EQ(found[i].address, addresses[i]);
    EXPECT_EQ(found[i].deviceType, types[i]);
    EXPECT_EQ(found[i].coding, 0x100 + addresses[i]);
    EXPECT_EQ(found[i].firmware, 40 + addresses[i]);
    EXPECT_EQ(found[i].busDelay, addresses[i] % 7);
    EXPECT_EQ(found[i].responseTimeMs, 5 + addresses[i] % 20);
  }
  // One probe per address, no repeats, and one identity read per device.
  EXPECT_EQ(tapped.written.size(), 247u + 3u);
  ASSERT_EQ(progress.size(), 247u);
  EXPECT_EQ(progress.back(), std::make_pair(247, 247));
  EXPECT_LT(tookMs, 30000) << "244 silent addresses at 9600 baud";
  EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(BusScanOnLine, CancelStopsWithinOneWindowAndTheDeviceCanBeReadRightAfter) {
  openQuietly();
  std::optional<ScanEnd> end;
  ASSERT_TRUE(core.scan.start(everyAddress(), {.progress = {}, .found = {},
                                               .finished = [&](ScanEnd e) { end = e; }}));
  clock.advance(500);  // a few addresses in
  const std::size_t sentBefore = tapped.written.size();
  core.scan.cancel();
  ASSERT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 200));
  EXPECT_EQ(*end, ScanEnd::Cancelled);
  EXPECT_LE(tapped.written.size(), sentBefore + 1);
  EXPECT_FALSE(core.scan.running());
  EXPECT_FALSE(core.link.lineLent());

  // The window reads out the device at 17 as on opening.
  core.form.txt_Modbus_adress.setText(QStringLiteral("17"));
  core.link.ProbeDevice();
  ASSERT_TRUE(clock.advanceUntil([&] { return core.frmState.loaded(); }, 2000));
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.busy(); }, 60000));
  EXPECT_EQ(core.form.txt_data_cfg[1].text(), QStringLiteral("57"));
  EXPECT_EQ(core.globals.iBusDelay, 17 % 7);
}

TEST_P(BusScanOnLine, LeavesTheLinkExactlyAsItWas) {
  // A probe to an address nobody has: after its time-out the warning shows
  // and the time-out timer keeps ticking; that is the state to come back to.
  core.form.txt_Modbus_adress.setText(QStringLiteral("5"));
  core.form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  clock.advance(6000);
  ASSERT_TRUE(core.form.lbl_desc[desc::kCommWarning].visible());
  ASSERT_TRUE(core.scan.canStart());
  const std::string before = rbx14::test::Timers(core.form);
  const Globals g = core.globals;

  scan({1, 2, 3, 4});
  EXPECT_EQ(core.scan.devices().size(), 1u);
  EXPECT_EQ(rbx14::test::Timers(core.form), before);
  EXPECT_EQ(core.globals.lJobState, g.lJobState);
  EXPECT_EQ(core.globals.iRegPointer, g.iRegPointer);
  EXPECT_EQ(core.globals.bSendFree, g.bSendFree);
  EXPECT_EQ(core.globals.sModbusFrame, g.sModbusFrame);
  EXPECT_EQ(core.globals.iBusDelay, g.iBusDelay);
  EXPECT_EQ(core.form.txt_Modbus_adress.text(), QStringLiteral("5"));
}

TEST_P(BusScanOnLine, NoScanWhileATransactionRuns) {
  openQuietly();
  EXPECT_TRUE(core.scan.canStart());
  core.form.txt_Modbus_adress.setText(QStringLiteral("3"));
  core.link.ProbeDevice();
  EXPECT_FALSE(core.scan.canStart()) << "the probe waits for its answer";
  ASSERT_TRUE(clock.advanceUntil([&] { return core.frmState.loaded(); }, 2000));
  EXPECT_FALSE(core.scan.canStart()) << "the read-out runs";
  EXPECT_FALSE(core.scan.start({3}, {}));
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.busy(); }, 60000));
  EXPECT_TRUE(core.scan.canStart());
  EXPECT_FALSE(core.scan.start({}, {})) << "an empty list scans nothing";
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(0);
  EXPECT_FALSE(core.scan.canStart()) << "the port is closed";
}

INSTANTIATE_TEST_SUITE_P(Modes, BusScanOnLine,
                         ::testing::Values(ModeRow{"RTU", 1}, ModeRow{"ASCII", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the answers a scan accepts ---------------------------------------------------

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

TEST(ScanAnswers, OnlyAGoodReadAnswerFromTheAddressAskedCounts) {
  const QByteArray rtu = Bytes(BuildRtuFrame("1103020007"));
  ASSERT_TRUE(ReadAnswerComplete(rtu, false, 1));
  EXPECT_EQ(ReadAnswerRegisters(rtu, false, 0x11, 1), std::vector<std::uint16_t>{7});
  EXPECT_FALSE(ReadAnswerRegisters(rtu, false, 0x12, 1)) << "another address";
  EXPECT_FALSE(ReadAnswerRegisters(rtu, false, 0x11, 3)) << "another quantity";
  QByteArray corrupt = rtu;
  corrupt[4] = static_cast<char>(corrupt[4] ^ 0x01);
  EXPECT_FALSE(ReadAnswerRegisters(corrupt, false, 0x11, 1)) << "bad CRC";
  const QByteArray exception = Bytes(BuildRtuFrame("118302"));
  EXPECT_TRUE(ReadAnswerComplete(exception, false, 1));
  EXPECT_FALSE(ReadAnswerRegisters(exception, false, 0x11, 1));
  EXPECT_FALSE(ReadAnswerComplete(rtu.left(6), false, 1));

  const QByteArray ascii = Bytes(BuildAsciiFrame("1103060101002A0009"));
  ASSERT_TRUE(ReadAnswerComplete(ascii, true, 3));
  EXPECT_EQ(ReadAnswerRegisters(ascii, true, 0x11, 3),
            (std::vector<std::uint16_t>{0x0101, 0x002A, 0x0009}));
  QByteArray badLrc = ascii;
  badLrc[badLrc.size() - 3] = badLrc[badLrc.size() - 3] == '0' ? '1' : '0';
  EXPECT_FALSE(ReadAnswerRegisters(badLrc, true, 0x11, 3)) << "bad LRC";
  EXPECT_FALSE(ReadAnswerComplete(ascii.left(ascii.size() - 1), true, 3)) << "no LF yet";
  EXPECT_FALSE(ReadAnswerRegisters(Bytes(":11zz\r\n"), true, 0x11, 1));
  // Only a line its line feed has ended counts, even when an earlier line
  // ended in the same bytes (found by fuzzing).
  EXPECT_EQ(ReadAnswerRegisters(Bytes(":0103020005F5\r\n:0103020007F3\r"), true, 1, 1),
            std::vector<std::uint16_t>{5});
}

// A scripted line: bytes waiting from before the scan are no answer, an
// answer in pieces is taken whole, and a spoilt identity answer is asked for
// again after the gap.
TEST(ScanAnswers, StaleBytesPiecesAndASpoiltIdentityOnAScriptedLine) {
  VirtualScheduler clock;
  rbx14::test::FakeSerialPort port;
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core(clock, port, messages);
  core.Main();
  core.form.txt_Modbus_adress.setText(QString());
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  port.receiveUntold(Bytes(BuildRtuFrame("0103020009")));  // waiting from before the scan
  std::optional<ScanEnd> end;
  ASSERT_TRUE(core.scan.start({1}, {.progress = {}, .found = {}, .finished = [&](ScanEnd e) { end = e; }}));
  ASSERT_TRUE(clock.advanceUntil([&] { return port.written.size() == 1; }, 1000)) << "no probe";
  const QByteArray probeAnswer = Bytes(BuildRtuFrame("0103020005"));
  port.receive(probeAnswer.left(5));  // the bytes of a whole frame without its CRC
  clock.advance(1);
  port.receive(probeAnswer.mid(5));
  ASSERT_TRUE(clock.advanceUntil([&] { return port.written.size() == 2; }, 1000)) << "no identity read";
  const QByteArray identity =
      Bytes(BuildRtuFrame("010320" "0105" "0029" "0002" + std::string(4 * 12, '0') + "0011"));
  QByteArray spoilt = identity;
  spoilt[5] = static_cast<char>(spoilt[5] ^ 0x01);
  port.receive(spoilt);
  ASSERT_TRUE(clock.advanceUntil([&] { return port.written.size() == 3; }, 2000)) << "not asked again";
  port.receive(identity);
  ASSERT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 2000));
  ASSERT_EQ(core.scan.devices().size(), 1u);
  EXPECT_EQ(core.scan.devices()[0].busDelay, 5);
  EXPECT_EQ(core.scan.devices()[0].firmware, 0x29);
  EXPECT_EQ(core.scan.devices()[0].responseTimeMs, 0x11);
}

TEST(ScanAnswers, TheWindowHoldsBothFramesTheSilenceAndTheDevice) {
  // 9600 8E1: 11 bits a character. A probe of 8 characters, its answer of 7,
  // 3.5 characters of silence, 50 ms for the device.
  const PortSettings rtu{9600, 'E', 8, 1};
  EXPECT_EQ(ScanAnswerWindowMs(rtu, false, 8, 7), 22 + kScanAnswerAllowanceMs);
  // 7E1 ASCII: 10 bits; 17 + 15 characters, no silence.
  const PortSettings ascii{9600, 'E', 7, 1};
  EXPECT_EQ(ScanAnswerWindowMs(ascii, true, 17, 15), 34 + kScanAnswerAllowanceMs);
  EXPECT_EQ(ScanAnswerWindowMs(PortSettings{57600, 'E', 8, 1}, false, 8, 7, 0), 5);
}

// ---- the second stage: every setting the lists offer ---------------------------

TEST(SettingsSweep, FindsAUnitWithForgottenSettingsAndPutsTheListsBack) {
  VirtualScheduler clock;
  SimulatedBus bus{DeviceSettings{}, {9}};
  SimulatedSerialPort simulated{clock, bus};
  simulated.setDeviceLine(PortSettings{19200, 'O', 7, 1});  // ASCII, odd parity
  rbx14::test::TappedPort tapped{simulated, clock};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core(clock, tapped, messages);
  core.Main();
  core.form.txt_Modbus_adress.setText(QStringLiteral("4"));
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  clock.advance(6000);  // nobody at 4 with 9600 Even RTU: the warning shows
  ASSERT_TRUE(core.scan.canStart());
  const LineChoice before = CurrentLineChoice(core.form);
  const Globals g = core.globals;

  std::vector<QString> tried;
  std::optional<ScanEnd> end;
  ASSERT_TRUE(core.sweep.start(
      {8, 9, 10},
      {.setting = [&](int, int, const LineChoice& c) { tried.push_back(DescribeLineChoice(core.form, c)); },
       .progress = {},
       .found = {},
       .finished = [&](ScanEnd e) { end = e; }}));
  ASSERT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 120000));
  EXPECT_EQ(*end, ScanEnd::Completed);
  EXPECT_EQ(tried.size(), 17u) << "every choice but the one already scanned";
  ASSERT_EQ(core.sweep.devices().size(), 1u);
  const SweptDevice& found = core.sweep.devices().front();
  EXPECT_EQ(found.device.address, 9);
  EXPECT_EQ(DescribeLineChoice(core.form, found.line), u"19200 Odd ASCII");

  EXPECT_EQ(CurrentLineChoice(core.form), before);
  EXPECT_TRUE(simulated.portOpen());
  EXPECT_EQ(simulated.settings(), g.settingsString());
  EXPECT_EQ(core.form.txt_Modbus_adress.text(), u"4");
  EXPECT_EQ(core.globals.lJobState, g.lJobState);
  EXPECT_TRUE(core.form.Timer3->enabled()) << "the warning's timer runs as before";
  EXPECT_TRUE(core.form.Timer4->enabled());
  EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(BusScanAllowance, ASlowDeviceNeedsALongerWaitAndGetsIt) {
  VirtualScheduler clock;
  DeviceSettings slow;
  slow.responseDelayMs = 120;
  SimulatedBus bus{slow, {6}};
  SimulatedSerialPort simulated{clock, bus};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core(clock, simulated, messages);
  core.Main();
  core.form.txt_Modbus_adress.setText(QString());
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  const auto scanOnce = [&] {
    std::optional<ScanEnd> end;
    EXPECT_TRUE(core.scan.start({5, 6, 7}, {.progress = {}, .found = {},
                                            .finished = [&](ScanEnd e) { end = e; }}));
    EXPECT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 10000));
    return core.scan.devices().size();
  };
  EXPECT_EQ(scanOnce(), 0u) << "120 ms is beyond the default wait";
  // Its late answer must not be taken for the next address's.
  core.scan.setAnswerAllowanceMs(150);
  EXPECT_EQ(scanOnce(), 1u);
  EXPECT_EQ(core.scan.devices().front().address, 6);
}

}  // namespace
}  // namespace rbx14::sim
