// The requests and the transactions a user starts, on the virtual clock: the
// request builders' encodings, what the jobs send or hold back, what the
// write button does with each kind of mark, the state window's budget and
// cancel, the sync box, and the bus delay retuned during a write. The frames
// of every block of a read-out and a write-back, byte for byte, are in the
// frame traces (sim/frame_trace_test).

#include "link/codec.h"
#include "support/config_fixture.h"
#include "transactions/request_builders.h"

#include <gtest/gtest.h>

#include <optional>

namespace rbx14 {
namespace {

// What each builder makes of its input: the encoding, or nothing. (Read
// requests, signed tenths, texts and units as a device holds them are in the
// frame traces.)
TEST(RequestBuilders, EncodingsOfAddressesNumbersTextsAndUnits) {
  const auto q = [](const char* text) { return QString::fromUtf8(text); };
  using Encoding = std::optional<std::string>;
  for (const auto& [got, want] : std::initializer_list<std::pair<Encoding, Encoding>>{
           {AddressPrefix(q("5")), "05"}, {AddressPrefix(q("17")), "11"}, {AddressPrefix(q("247")), "F7"},
           {EncodeTenths(q("21,5"), u','), "00D7"}, {EncodeTenths(q("0,25"), u','), "0002"} /* to even */,
           {EncodeTenths(q("21.5"), u'.'), "00D7"}, {EncodeTenths(QString(), u','), std::nullopt},
           {EncodeRaw(q("-1"), u','), "FFFF"}, {EncodeRaw(q("150"), u','), "0096"}, {EncodeRaw(q("2,5"), u','), "0002"},
           {EncodeRaw(q("abc"), u','), std::nullopt}, {EncodeTextBlock(QString()), std::string(40, '0')},
           {EncodeUnit(q("kWh/m")), "6B57682F"} /* cut to the registers' 4 */}) {
    EXPECT_EQ(got, want) << want.value_or("nothing");
  }
  // Bits pack the lowest box into the lowest bit.
  int values[32] = {};
  values[0] = values[9] = values[31] = 1;
  values[5] = 2;  // a greyed box counts as not ticked
  EXPECT_EQ(EncodeBits(values, 32), "01020080");
  EXPECT_EQ(EncodeBits(values, 16), "0102");
}

// Acknowledges every write at once, as a device with no delay would; reads
// stay unanswered unless `reads`, then they get zeros.
void Answer(test::FakeSerialPort& port, bool reads = false) {
  port.onOutput = [&port, reads](const QByteArray& frame) {
    const auto function = static_cast<unsigned char>(frame[1]);
    std::string answer = frame.left(6).toHex().toUpper().toStdString();
    if (reads && (function == 0x03 || function == 0x01)) {
      const int quantity = static_cast<unsigned char>(frame[4]) << 8 | static_cast<unsigned char>(frame[5]);
      const int count = function == 0x03 ? 2 * quantity : (quantity + 7) / 8;
      answer = answer.substr(0, 4) + ByteToHexStr(static_cast<std::uint8_t>(count)) +
               std::string(2 * static_cast<std::size_t>(count), '0');
    } else if (function != 0x10 && function != 0x0F) {
      return;
    }
    port.receive(QByteArray::fromStdString(BuildRtuFrame(answer)));
  };
}

class OpenCore : public test::ConfigFixture {
 protected:
  OpenCore() {
    core.form.txt_Modbus_adress.setText(QString());
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);  // open, no probe
    core.form.txt_Modbus_adress.setText(QStringLiteral("1"));
    core.globals.lJobState = job_state::kNone;
    core.globals.bSendFree = true;
    // As after a read-out: every field holds the device's value, unmarked.
    for (int i = 0; i <= 60; ++i) readFromDevice(i, i == 15 ? QStringLiteral("5") : QStringLiteral("0"));
    for (int i = 0; i <= 24; ++i) {
      core.form.txt_data_in[i].setText(QStringLiteral("0"));
      core.form.txt_data_in[i].setForeColor(colors::kButtonText);
    }
    core.globals.iBusDelay = 0;
    core.form.bDelayChanged = false;
    core.form.set_parameter.setEnabled(false);
  }

  void mark(Control& control) { control.setForeColor(colors::kRed); }
  void write() { core.form.set_parameter.onClick(); }
};

class Sequences : public OpenCore, public ::testing::Test {};

// A field that is no number stops the block instead of writing garbage.
TEST_F(Sequences, WhatCannotBeSentIsHeldBack) {
  for (int i = 0; i < 10; ++i) core.form.txt_data_cfg[i].setText(QStringLiteral("1"));
  core.form.txt_data_cfg[4].setText(QStringLiteral("x"));
  core.globals.iRegPointer = 0;
  core.form.Timer1->setEnabled(true);
  clock.advance(1000);
  EXPECT_TRUE(port.written.empty());
  // A closed guard or an empty address sends nothing but prepares the job.
  core.form.Timer1->setEnabled(false);
  core.globals.bSendFree = false;
  core.jobs.ReadExternalValues();
  EXPECT_EQ(core.globals.lJobState, 7);
  core.form.txt_Modbus_adress.setText(QString());
  core.jobs.ReadConfigBits();  // opens the guard, but there is no address
  EXPECT_EQ(core.globals.lJobState, 3);
  EXPECT_TRUE(core.globals.bSendFree);
  core.jobs.Timer7_Timer();
  EXPECT_TRUE(port.written.empty());
}

// The input-register job steps over the unmarked fields, 10 ms each: with
// nothing marked it ends after 25 ticks, nothing written, the state window
// closed and the read-out started. The device acknowledges each write at
// once; the job moves on to the next marked field and, at its end, every
// field written is unmarked and its value is the device's.
TEST_F(Sequences, TheInputRegisterJobWritesOnlyMarkedFieldsInTheirEncoding) {
  const auto start = [this] {
    core.globals.lJobState = job_state::kWriteInputRegisters;
    core.globals.iRegPointer = 0;
    core.form.Timer2->setInterval(10);
    core.form.Timer2->setEnabled(true);
  };
  // The fan stage's list beside its field: its mark goes at the job's end,
  // on the tick that finds nothing left (here) as on the last acknowledgement.
  core.form.cmb_in[15].setForeColor(colors::kRed);
  start();
  clock.advance(249);
  EXPECT_TRUE(core.form.Timer2->enabled());
  clock.advance(1);
  EXPECT_FALSE(core.form.Timer2->enabled());
  EXPECT_NE(core.form.cmb_in[15].foreColor(), colors::kRed);
  ASSERT_EQ(port.written.size(), 0u);
  EXPECT_EQ(core.globals.lJobState, 1);
  EXPECT_TRUE(core.form.Timer6->enabled());

  core.form.Timer6->setEnabled(false);
  for (const auto& [k, text] : {std::pair{7, "21,5"}, {16, "-3"}, {24, "20"}}) {
    core.form.txt_data_in[k].setText(QString::fromLatin1(text));
    core.form.txt_data_in[k].setForeColor(colors::kRed);
  }
  core.form.cmb_in[15].setForeColor(colors::kRed);
  start();
  clock.advance(70);
  EXPECT_TRUE(port.written.empty());
  std::vector<std::string> writes;
  port.onOutput = [&](const QByteArray& frame) {
    if (frame[1] != 0x10) return;
    writes.push_back(frame.left(frame.size() - 2).toHex().toUpper().toStdString());
    port.receive(QByteArray::fromStdString(BuildRtuFrame(frame.left(6).toHex().toUpper().toStdString())));
  };
  clock.advance(3000);
  EXPECT_EQ(writes, (std::vector<std::string>{"0110020700010200D7", "01100210000102FFFD", "0110021800010200C8"}));
  for (int k : {7, 16, 24}) EXPECT_NE(core.form.txt_data_in[k].foreColor(), colors::kRed) << k;
  EXPECT_NE(core.form.cmb_in[15].foreColor(), colors::kRed);
  EXPECT_EQ(core.form.dInputRegValue[24], 20);
}

// Nothing marked: nothing happens. The sync box marks text field one, and
// the write it enables clears it.
TEST_F(Sequences, NothingMarkedDoesNothingAndTheSyncBoxMarksTextOne) {
  write();
  EXPECT_FALSE(core.globals.lJobState != 0 || core.frmState.loaded());
  clock.advance(5000);
  EXPECT_TRUE(port.written.empty());
  core.form.chk_sync.setValue(1);
  EXPECT_EQ(core.form.txt_data_cfg_txt[0].foreColor(), colors::kRed);
  EXPECT_TRUE(core.form.set_parameter.enabled());
  write();
  EXPECT_EQ(core.form.chk_sync.value(), 0);
  EXPECT_EQ(core.globals.lJobState, 2);
}

// What a write sends after the configuration (its blocks, texts, units and
// bits are in the frame traces): the marked input registers, then the
// marked input bits, each alone as well; a marked date field marks the clock
// inputs 0..5. The marks go as the device acknowledges, and the read-out
// follows every write.
struct ChainRow {
  const char* name;
  int cfg;             // a marked configuration field, or -1
  bool inputBit;       // input bit 3 ticked and marked
  const char* writes;  // function and register of each write after the configuration's
};
std::ostream& operator<<(std::ostream& os, const ChainRow& row) { return os << row.name; }

class WriteChain : public OpenCore, public ::testing::TestWithParam<ChainRow> {};

TEST_P(WriteChain, SendsWhatIsMarkedThenReadsBack) {
  const ChainRow& row = GetParam();
  Answer(port);
  if (row.cfg >= 0) mark(core.form.txt_data_cfg[row.cfg]);
  if (row.inputBit) {
    core.form.chk_input[3].setValue(1);
    mark(core.form.chk_input[3]);
  }
  write();
  EXPECT_TRUE(core.frmState.loaded());
  EXPECT_EQ(core.globals.lJobState, row.cfg >= 0 ? 2 : 8);
  for (int k = 0; k <= 5; ++k) EXPECT_EQ(core.form.txt_data_in[k].foreColor() == colors::kRed, row.cfg == 11) << k;
  if (row.cfg < 0) {  // the window of the input-bit job alone lasts 0.2 s, then the read-out starts
    clock.advance(199);
    EXPECT_EQ(core.globals.lJobState, 8);
    clock.advance(1);
    EXPECT_EQ(core.globals.lJobState, 1);
  }
  ASSERT_TRUE(clock.advanceUntil([&] { return core.globals.lJobState == 1; }, 60000));
  std::string writes;
  for (const QByteArray& frame : port.written) {
    const QByteArray head = frame.mid(1, 3).toHex();  // function and register
    if (head == "0f0000") writes.clear();  // the configuration bits end the configuration
    else if (head.startsWith("10") || head.startsWith("0f")) writes += head.toStdString() + ' ';
  }
  EXPECT_EQ(writes, row.writes);
  EXPECT_TRUE(core.form.chk_input[3].foreColor() == colors::kButtonText &&
              core.form.txt_data_in[0].foreColor() == colors::kButtonText);
  EXPECT_FALSE(core.form.bInputBitsChanged || core.form.Timer2->enabled());
  EXPECT_TRUE(core.form.Timer6->enabled());
  clock.advance(200);
  EXPECT_EQ(port.written.back().left(6).toHex(), QByteArray("01030000000a"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriteChain,
    ::testing::Values(ChainRow{"input_bits_alone", -1, true, "0f0100 "},
                      ChainRow{"date_field", 11, false, "100200 100201 100202 100203 100204 100205 "},
                      ChainRow{"input_bits_after_the_configuration", 42, true, "0f0100 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sequences, CancelStopsAConfigurationWrite) {
  mark(core.form.txt_data_cfg[20]);
  write();
  clock.advance(400);
  ASSERT_EQ(port.written.size(), 1u);
  ASSERT_TRUE(core.frmState.Abbruch.visible());
  EXPECT_FALSE(core.form.window.enabled());
  core.frmState.Abbruch.click();
  EXPECT_EQ(core.globals.lJobState, 0);
  EXPECT_FALSE(core.form.Timer1->enabled());
  EXPECT_FALSE(core.frmState.loaded());
  EXPECT_TRUE(core.form.window.enabled());
  clock.advance(20000);
  EXPECT_EQ(port.written.size(), 6u);  // the last block repeated, then the time-out
}

TEST_F(Sequences, ASilentDeviceEndsWithTheWarningAndTheWindowClosesAtItsBudget) {
  core.form.read_out_parameter.onClick();
  EXPECT_EQ(core.frmState.timeBudgetMs(), 10000);
  EXPECT_EQ(core.frmState.ProgressFile.max(), 10);
  clock.advance(1000);
  EXPECT_EQ(core.frmState.ProgressFile.value(), 1);
  clock.advance(6200);
  EXPECT_TRUE(core.form.lbl_desc[desc::kCommWarning].visible());
  EXPECT_FALSE(core.form.Timer6->enabled());
  EXPECT_TRUE(core.frmState.loaded());
  // The budget is for a line that answers: the five seconds of repeats are
  // added to it.
  clock.advance(7799);
  EXPECT_TRUE(core.frmState.loaded());
  clock.advance(1);
  EXPECT_FALSE(core.frmState.loaded());
  EXPECT_EQ(core.globals.lJobState, 0);
  EXPECT_TRUE(core.form.window.enabled());
  // A time budget beyond sixteen bits is limited so the window still closes.
  core.globals.iBusDelay = 1000;  // 2200 ms * 50 does not fit
  core.form.read_out_parameter.onClick();
  EXPECT_EQ(core.frmState.timeBudgetMs(), 32767);
  core.form.Timer6->setEnabled(false);
  clock.advance(32767);
  EXPECT_FALSE(core.frmState.loaded());
}

TEST_F(Sequences, ANewBusDelayRetunesTheTimersAfterTheConfigurationBlocks) {
  Answer(port);
  core.form.txt_data_cfg[15].setText(QStringLiteral("20"));
  mark(core.form.txt_data_cfg[15]);
  core.form.bDelayChanged = true;
  write();
  ASSERT_TRUE(clock.advanceUntil([&] { return core.globals.iRegPointer >= 0x300; }, 10000));
  EXPECT_EQ(core.globals.iBusDelay, 200);
  EXPECT_FALSE(core.form.bDelayChanged);
  EXPECT_EQ(core.form.Timer2->interval(), 600);
  EXPECT_EQ(core.form.Timer6->interval(), 550);
  EXPECT_EQ(core.form.Timer7->interval(), 350);
}

// Polling sends on every tick, answered or not, disables the buttons and
// shows the monitor (the keys as unlit dots until an answer lights them)
// without a state window; another address that does not answer leaves
// nothing of the last unit on the monitor; unticked, it sends no more.
TEST_F(Sequences, PollingSendsOnEveryTickAndShowsTheMonitor) {
  for (int key = 0; key < 4; ++key) EXPECT_EQ(core.form.Lbl_button[key].caption(), u"●") << key;
  core.form.chk_read_out.setValue(1);
  EXPECT_FALSE(core.form.read_out_parameter.enabled());
  EXPECT_FALSE(core.form.set_parameter.enabled());
  core.form.Timer7->setInterval(150);
  clock.advance(450);
  ASSERT_EQ(port.written.size(), 3u);
  EXPECT_EQ(core.globals.sModbusFrame, "010301000011");
  port.onOutput = [this](const QByteArray& frame) {
    if (frame.left(2) != QByteArray("\x01\x03", 2)) return;
    port.receive(QByteArray::fromStdString(BuildRtuFrame("010322" "0008" "0000" "00D7" + std::string(56, '0'))));
  };
  clock.advance(150 + 50);
  EXPECT_EQ(core.form.txt_data_out[2].text(), u"21,5");
  EXPECT_EQ(core.form.lbl_temp[0].caption(), u"21,5");
  EXPECT_EQ(core.form.Lbl_button[0].foreColor(), colors::kRed);
  EXPECT_TRUE(core.form.window.enabled());
  core.form.txt_Modbus_adress.setText(QStringLiteral("2"));
  clock.advance(1900);  // to a tick
  EXPECT_TRUE(port.written.back().startsWith('\x02'));
  EXPECT_TRUE(core.form.txt_data_out[2].text().isEmpty());
  EXPECT_TRUE(core.form.lbl_temp[0].caption().isEmpty());
  EXPECT_EQ(core.form.Lbl_button[0].foreColor(), colors::kButtonFace);
  const auto sent = port.written.size();
  core.form.chk_read_out.setValue(0);
  clock.advance(900);  // (the link repeats the last poll once a second)
  EXPECT_EQ(port.written.size(), sent);
  EXPECT_TRUE(core.form.read_out_parameter.enabled());
}

// Found by the fault soak: a read-out whose answer was damaged stalls, and
// its window's time budget closes it (the time-out stops its timer; a
// budget shorter than the repeats would not wait for it). The next write
// must not send that timer's reads, whose answers it would take for
// acknowledges of blocks it never wrote.
// After a time-out the send guard is closed and the time-out's timer keeps
// showing the warning every five seconds. A write of input registers alone,
// and a read-out, started then both run to their end: the write opens the
// guard as the other writes do, and starting either stops the time-out's
// timer, whose next tick would stop the new job.
TEST_F(Sequences, TransactionsStartedAfterAFailedReadOutRunToTheirEnd) {
  const auto readOutsEnded = [this](int n) {
    return clock.advanceUntil([this, n] { return core.responses.completedReadOuts() == n && !core.frmState.loaded(); },
                              30000);
  };
  core.form.read_out_parameter.onClick();
  clock.advance(300);  // the first block request goes out, unanswered
  QByteArray damaged = QByteArray::fromStdString(BuildRtuFrame("010314" + std::string(40, '0')));
  damaged[5] = static_cast<char>(damaged[5] ^ 0x01);
  port.receive(damaged);  // its CRC fails: dropped, and nothing resumes the job
  clock.advance(20000);
  ASSERT_FALSE(core.frmState.loaded());
  ASSERT_EQ(core.globals.lJobState, 0);
  Answer(port, true);
  auto before = port.written.size();
  core.form.txt_data_cfg[42].setText(QStringLiteral("31"));
  write();
  ASSERT_TRUE(readOutsEnded(1));
  // Every block is written, then the bits, nothing between them; the
  // read-out that follows every write comes after them.
  std::string sent;
  for (auto f = port.written.begin() + static_cast<long>(before); f != port.written.end(); ++f) {
    sent += f->mid(1, 1).toHex().toStdString() + ' ';
  }
  std::string expected;
  for (int k = 0; k < 34; ++k) expected += "10 ";
  EXPECT_EQ(sent.substr(0, expected.size() + 3), expected + "0f ");

  const auto timeOut = [this] {
    port.onOutput = nullptr;
    core.form.read_out_parameter.onClick();
    clock.advance(20000);
    ASSERT_TRUE(core.form.lbl_desc[desc::kCommWarning].visible());
    ASSERT_FALSE(core.frmState.loaded());
    ASSERT_TRUE(core.form.Timer3->enabled());
    ASSERT_FALSE(core.globals.bSendFree);
  };
  timeOut();
  Answer(port, true);
  core.form.txt_data_in[20].setText(QStringLiteral("1"));
  mark(core.form.txt_data_in[20]);
  before = port.written.size();
  write();
  clock.advance(500);
  ASSERT_GT(port.written.size(), before);
  EXPECT_EQ(port.written[before].toHex().left(8), "01100214") << "the input register is written";
  ASSERT_TRUE(readOutsEnded(2));
  EXPECT_FALSE(core.form.lbl_desc[desc::kCommWarning].visible());

  timeOut();
  Answer(port, true);
  core.form.read_out_parameter.onClick();
  EXPECT_TRUE(readOutsEnded(3));
}

}  // namespace
}  // namespace rbx14
