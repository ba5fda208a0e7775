// The bus scan on the virtual clock against simulated devices sharing one
// line: who is found, how long a silent line takes, cancelling, and the
// link as it was afterwards.

#include "sim/simulated_bus.h"
#include "sim_test_helpers.h"
#include "support/core_state.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

namespace rbx14::sim {
namespace {

using Line = test::CoreOn<SimulatedBus>;

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
};

// Runs a scan to its end on `line`; returns the end and the virtual time it took.
std::pair<ScanEnd, std::int64_t> Scan(Line& line, std::vector<int> addresses,
                                      std::function<void(int, int)> progress = {}) {
  std::optional<ScanEnd> end;
  const std::int64_t startMs = line.clock.nowMs();
  EXPECT_TRUE(line.core.scan.start(std::move(addresses), {.progress = std::move(progress), .found = {},
                                                          .finished = [&](ScanEnd e) { end = e; }}));
  EXPECT_TRUE(line.clock.advanceUntil([&] { return end.has_value(); }, 60000));
  return {end.value_or(ScanEnd::Cancelled), line.clock.nowMs() - startMs};
}

std::vector<int> EveryAddress() {
  std::vector<int> all(247);
  std::iota(all.begin(), all.end(), 1);
  return all;
}

// Devices at 3, 17 and 200, each of another type and firmware.
constexpr std::pair<int, int> kAddressAndType[] = {{3, 2}, {17, 9}, {200, 12}};
class BusScanOnLine : public Line, public ::testing::TestWithParam<ModeRow> {
 protected:
  BusScanOnLine() : Line(DeviceSettings{}, std::vector<int>{3, 17, 200}) {
    for (auto [address, type] : kAddressAndType) {
      DeviceImage& image = device.device(address)->image();
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
    list(port_list::kMode).setListIndex(GetParam().modeListPosition);
    list(port_list::kOpenClose).setListIndex(1);
    ASSERT_TRUE(core.link.lineLent() == false && simulated.portOpen());
  }
};

TEST_P(BusScanOnLine, FindsExactlyTheDevicesOnTheLineWithTheirIdentity) {
  openQuietly();
  std::vector<std::pair<int, int>> progress;
  const auto [end, tookMs] = Scan(*this, EveryAddress(), [&](int done, int total) { progress.emplace_back(done, total); });
  EXPECT_EQ(end, ScanEnd::Completed);
  const auto& found = core.scan.devices();
  ASSERT_EQ(found.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto [address, type] = kAddressAndType[i];
    SCOPED_TRACE(address);
    EXPECT_EQ(found[i].address, address);
    EXPECT_EQ(found[i].deviceType, type);
    EXPECT_EQ(found[i].coding, 0x100 + address);
    EXPECT_EQ(found[i].firmware, 40 + address);
    EXPECT_EQ(found[i].busDelay, address % 7);
    EXPECT_EQ(found[i].responseTimeMs, 5 + address % 20);
  }
  // One probe per address, no repeats, and one identity read per device.
  EXPECT_EQ(sent.size(), 247u + 3u);
  ASSERT_EQ(progress.size(), 247u);
  EXPECT_EQ(progress.back(), std::make_pair(247, 247));
  EXPECT_LT(tookMs, 30000) << "244 silent addresses at 9600 baud";
  EXPECT_TRUE(messages.shown.isEmpty());
}

// A scan, then the second stage (every setting the lists offer), from the
// state a probe to an address nobody has leaves: after its time-out the
// warning shows and the time-out timer keeps ticking; that is the state to
// come back to. (Cancelling, and a unit found under other settings, are in
// the dialog's tests.)
TEST_P(BusScanOnLine, AScanAndTheSweepLeaveTheLinkExactlyAsItWas) {
  core.form.txt_Modbus_adress.setText(QStringLiteral("5"));
  list(port_list::kMode).setListIndex(GetParam().modeListPosition);
  list(port_list::kOpenClose).setListIndex(1);
  clock.advance(6000);
  ASSERT_TRUE(core.form.lbl_desc[desc::kCommWarning].visible());
  ASSERT_TRUE(core.scan.canStart());
  const std::string before = rbx14::test::Timers(core.form);
  const LineChoice line = CurrentLineChoice(core.form);
  const Globals g = core.globals;
  const auto expectAsBefore = [&] {
    EXPECT_EQ(rbx14::test::Timers(core.form), before);
    EXPECT_EQ(CurrentLineChoice(core.form), line);
    EXPECT_EQ(simulated.settings(), g.settingsString());
    EXPECT_EQ(core.globals.lJobState, g.lJobState);
    EXPECT_EQ(core.globals.iRegPointer, g.iRegPointer);
    EXPECT_EQ(core.globals.bSendFree, g.bSendFree);
    EXPECT_EQ(core.globals.sModbusFrame, g.sModbusFrame);
    EXPECT_EQ(core.globals.iBusDelay, g.iBusDelay);
    EXPECT_EQ(core.form.txt_Modbus_adress.text(), QStringLiteral("5"));
    EXPECT_TRUE(messages.shown.isEmpty());
  };
  Scan(*this, {1, 2, 3, 4});
  EXPECT_EQ(core.scan.devices().size(), 1u);
  expectAsBefore();

  std::vector<QString> tried;
  std::optional<ScanEnd> end;
  ASSERT_TRUE(core.sweep.start(
      {1, 2, 3, 4},
      {.setting = [&](int, int, const LineChoice& c) { tried.push_back(DescribeLineChoice(core.form, c)); },
       .progress = {},
       .found = {},
       .finished = [&](ScanEnd e) { end = e; }}));
  ASSERT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 120000));
  EXPECT_EQ(*end, ScanEnd::Completed);
  EXPECT_EQ(tried.size(), 17u) << "every choice but the one already scanned";
  EXPECT_EQ(std::set<QString>(tried.begin(), tried.end()).size(), 17u);
  expectAsBefore();
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
  list(port_list::kOpenClose).setListIndex(0);
  EXPECT_FALSE(core.scan.canStart()) << "the port is closed";
}

INSTANTIATE_TEST_SUITE_P(Modes, BusScanOnLine,
                         ::testing::Values(ModeRow{"RTU", 1}, ModeRow{"ASCII", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the answers a scan accepts ---------------------------------------------------

QByteArray Rtu(const std::string& hex) { return test::Framed(hex, LineMode::Rtu); }
QByteArray Ascii(const std::string& hex) { return test::Framed(hex, LineMode::Ascii); }
QByteArray Flipped(QByteArray frame, qsizetype at, char mask) {
  frame[at] = static_cast<char>(frame[at] ^ mask);
  return frame;
}

TEST(ScanAnswers, OnlyAGoodReadAnswerFromTheAddressAskedCounts) {
  struct Row {
    const char* name;
    QByteArray frame;
    bool ascii;
    int address, quantity;
    std::vector<std::uint16_t> registers;  // empty: no answer that counts
    int complete = -1;                     // -1: not asked
  };
  const QByteArray ascii = Ascii("1103060101002A0009");
  const Row rows[] = {
      {"rtu", Rtu("1103020007"), false, 0x11, 1, {7}, 1},
      {"another address", Rtu("1103020007"), false, 0x12, 1, {}},
      {"another quantity", Rtu("1103020007"), false, 0x11, 3, {}},
      {"bad CRC", Flipped(Rtu("1103020007"), 4, 0x01), false, 0x11, 1, {}},
      {"exception", Rtu("118302"), false, 0x11, 1, {}, 1},
      {"rtu cut", Rtu("1103020007").left(6), false, 0x11, 1, {}, 0},
      {"ascii", ascii, true, 0x11, 3, {0x0101, 0x002A, 0x0009}, 1},
      {"bad LRC", Flipped(ascii, ascii.size() - 3, 0x01), true, 0x11, 3, {}},
      {"no LF yet", ascii.left(ascii.size() - 1), true, 0x11, 3, {}, 0},
      {"no hex", ":11zz\r\n", true, 0x11, 1, {}},
      // Only a line its line feed has ended counts, even when an earlier
      // line ended in the same bytes (found by fuzzing).
      {"two lines", ":0103020005F5\r\n:0103020007F3\r", true, 1, 1, {5}},
  };
  for (const Row& row : rows) {
    const auto got = ReadAnswerRegisters(row.frame, row.ascii, row.address, row.quantity);
    EXPECT_EQ(got.value_or(std::vector<std::uint16_t>{}), row.registers) << row.name;
    EXPECT_EQ(got.has_value(), !row.registers.empty()) << row.name;
    if (row.complete >= 0) {
      EXPECT_EQ(ReadAnswerComplete(row.frame, row.ascii, row.quantity), row.complete == 1) << row.name;
    }
  }
}

// A scripted line: bytes waiting from before the scan are no answer, an
// answer in pieces is taken whole, and a spoilt identity answer is asked for
// again after the gap, once: a second spoilt one leaves the device listed
// with what its probe answer told.
TEST(ScanAnswers, StaleBytesPiecesAndASpoiltIdentityOnAScriptedLine) {
  for (const bool spoiltAgain : {false, true}) {
    VirtualScheduler clock;
    rbx14::test::FakeSerialPort port;
    rbx14::test::RecordingMessageBoxes messages;
    ConfigCore core(clock, port, messages);
    core.Main();
    core.form.txt_Modbus_adress.setText(QString());
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
    port.receiveUntold(Rtu("0103020009"));  // waiting from before the scan
    std::optional<ScanEnd> end;
    ASSERT_TRUE(core.scan.start({1}, {.progress = {}, .found = {}, .finished = [&](ScanEnd e) { end = e; }}));
    ASSERT_TRUE(clock.advanceUntil([&] { return port.written.size() == 1; }, 1000)) << "no probe";
    const QByteArray probeAnswer = Rtu("0103020005");
    port.receive(probeAnswer.left(5));  // the bytes of a whole frame without its CRC
    clock.advance(1);
    port.receive(probeAnswer.mid(5));
    ASSERT_TRUE(clock.advanceUntil([&] { return port.written.size() == 2; }, 1000)) << "no identity read";
    const QByteArray identity = Rtu("010320" "0105" "0029" "0002" + std::string(4 * 12, '0') + "0011");
    port.receive(Flipped(identity, 5, 0x01));
    ASSERT_TRUE(clock.advanceUntil([&] { return port.written.size() == 3; }, 2000)) << "not asked again";
    port.receive(spoiltAgain ? Flipped(identity, 5, 0x01) : identity);
    ASSERT_TRUE(clock.advanceUntil([&] { return end.has_value(); }, 4000)) << spoiltAgain;
    EXPECT_EQ(port.written.size(), 3u) << spoiltAgain;
    ASSERT_EQ(core.scan.devices().size(), 1u) << spoiltAgain;
    EXPECT_EQ(core.scan.devices()[0].busDelay, 5);
    EXPECT_EQ(core.scan.devices()[0].firmware, spoiltAgain ? std::nullopt : std::optional<int>(0x29));
    EXPECT_EQ(core.scan.devices()[0].responseTimeMs, spoiltAgain ? std::nullopt : std::optional<int>(0x11));
  }
}

TEST(ScanAnswers, TheWindowHoldsBothFramesTheSilenceAndTheDevice) {
  // 9600 8E1: 11 bits a character. A probe of 8 characters, its answer of 7,
  // 3.5 characters of silence, 50 ms for the device.
  EXPECT_EQ(ScanAnswerWindowMs(PortSettings{9600, 'E', 8, 1}, false, 8, 7), 22 + kScanAnswerAllowanceMs);
  // 7E1 ASCII: 10 bits; 17 + 15 characters, no silence.
  EXPECT_EQ(ScanAnswerWindowMs(PortSettings{9600, 'E', 7, 1}, true, 17, 15), 34 + kScanAnswerAllowanceMs);
  EXPECT_EQ(ScanAnswerWindowMs(PortSettings{57600, 'E', 8, 1}, false, 8, 7, 0), 5);
}

TEST(BusScanAllowance, ASlowDeviceNeedsALongerWaitAndGetsIt) {
  DeviceSettings slow;
  slow.responseDelayMs = 120;
  Line line(slow, std::vector<int>{6});
  line.core.form.txt_Modbus_adress.setText(QString());
  line.list(port_list::kOpenClose).setListIndex(1);
  Scan(line, {5, 6, 7});
  EXPECT_EQ(line.core.scan.devices().size(), 0u) << "120 ms is beyond the default wait";
  // Its late answer must not be taken for the next address's.
  line.core.scan.setAnswerAllowanceMs(150);
  Scan(line, {5, 6, 7});
  ASSERT_EQ(line.core.scan.devices().size(), 1u);
  EXPECT_EQ(line.core.scan.devices().front().address, 6);
}

}  // namespace
}  // namespace rbx14::sim
