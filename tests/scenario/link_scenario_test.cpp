// The link on the virtual clock: start-up, the settings lists, opening and
// closing, the probe, retransmission, the answer time-out, and the adapter
// pulled out under an open port.

#include "link/codec.h"
#include "support/config_fixture.h"
#include "support/core_state.h"

#include <gtest/gtest.h>

#include <tuple>

namespace rbx14 {
namespace {

using test::Controls;
using test::Timers;

QByteArray Rtu(const std::string& hex) { return QByteArray::fromStdString(BuildRtuFrame(hex)); }

class LinkScenario : public test::ConfigFixture, public ::testing::Test {
 protected:

  ComboBox& list(int index) { return core.form.Combo_Port[index]; }
  void open() { list(port_list::kOpenClose).setListIndex(1); }
  void close() { list(port_list::kOpenClose).setListIndex(0); }
  bool warningShown() { return core.form.lbl_desc[desc::kCommWarning].visible(); }
};

TEST_F(LinkScenario, StartUpStateAndTheModesDataBitsAndPoll) {
  for (const auto& [index, text] : {std::pair{port_list::kPort, u"COM1"}, {port_list::kBaud, u"9600"},
                                    {port_list::kParity, u"Even"}, {port_list::kMode, u"RTU"},
                                    {port_list::kOpenClose, u"close"}}) {
    EXPECT_EQ(list(index).text(), QString::fromUtf16(text)) << index;
  }
  EXPECT_EQ(list(port_list::kPort).listCount(), 40);
  EXPECT_FALSE(port.portOpen());
  EXPECT_EQ(port.settings(), u"9600,E,8,1");
  EXPECT_EQ(port.commPort(), 1);
  EXPECT_EQ(core.globals.sModbusMode, kModeRtu);
  EXPECT_EQ(core.form.Timer4->interval(), 50);
  EXPECT_EQ(Timers(core.form), "0000000");
  EXPECT_EQ(Controls(core.form), "read 0 write 0 poll 0 port 1 baud 1 mode 1 parity 1 warning 0");
  EXPECT_TRUE(port.written.empty());
  EXPECT_TRUE(messages.shown.isEmpty());
  // The mode sets the data bits, the input mode and the receive poll.
  list(port_list::kMode).setListIndex(0);
  EXPECT_EQ(port.settings(), u"9600,E,7,1");
  EXPECT_EQ(core.globals.sModbusMode, kModeAscii);
  EXPECT_EQ(core.form.Timer4->interval(), 100);
  EXPECT_EQ(port.inputMode, InputMode::Text);
  list(port_list::kBaud).setListIndex(2);
  list(port_list::kParity).setListIndex(0);
  EXPECT_EQ(port.settings(), u"57600,N,7,1");
  list(port_list::kMode).setListIndex(1);
  EXPECT_EQ(port.settings(), u"57600,N,8,1");
  EXPECT_EQ(core.form.Timer4->interval(), 50);
  EXPECT_EQ(port.inputMode, InputMode::Binary);
}

// Without an address the port opens and nothing is sent. With one, the probe
// (its bytes are in the frame traces) asks for register 0x0021; port, baud
// and mode are fixed while open, parity is not: it applies at once and
// probes again. Closing disables the read-out, write and polling controls.
TEST_F(LinkScenario, OpeningProbesParityReprobesClosingDisables) {
  core.form.txt_Modbus_adress.setText(QString());
  open();
  EXPECT_TRUE(port.portOpen());
  EXPECT_FALSE(core.form.Timer5->enabled());
  clock.advance(10000);
  EXPECT_TRUE(port.written.empty());
  EXPECT_FALSE(warningShown());
  close();

  core.form.txt_Modbus_adress.setText(QStringLiteral("1"));
  open();
  ASSERT_TRUE(port.portOpen());
  ASSERT_EQ(port.written.size(), 1u);
  EXPECT_EQ(core.globals.lJobState, 6);
  EXPECT_EQ(core.globals.iRegPointer, 0x21);
  EXPECT_FALSE(core.globals.bSendFree);
  EXPECT_EQ(Timers(core.form), "0001100");
  EXPECT_EQ(Controls(core.form), "read 1 write 0 poll 1 port 0 baud 0 mode 0 parity 1 warning 0");
  EXPECT_TRUE(core.form.lbl_desc[desc::kPollCaption].enabled());

  list(port_list::kParity).setListIndex(2);
  EXPECT_TRUE(port.portOpen());
  EXPECT_EQ(port.settings(), u"9600,O,8,1");
  EXPECT_EQ(port.written.size(), 2u);

  core.form.set_parameter.setEnabled(true);
  core.form.chk_read_out.setValue(1);
  close();
  EXPECT_FALSE(port.portOpen());
  EXPECT_EQ(core.form.chk_read_out.value(), 0);
  EXPECT_FALSE(core.form.Timer4->enabled());
  EXPECT_FALSE(core.form.lbl_desc[desc::kPollCaption].enabled());
  EXPECT_EQ(Controls(core.form), "read 0 write 0 poll 0 port 1 baud 1 mode 1 parity 1 warning 0");
}

// An unanswered probe goes again a second after it, and five seconds after
// the first repeat the warning shows and the repeats and the jobs end; the
// poll and the time-out itself keep running. What arrives and is no good
// answer (stray bytes, a damaged answer, another slave's answer) is a
// missing answer: the probe goes again a whole second after it was heard.
struct SilenceRow {
  const char* name;
  QByteArray heard;  // at 500 ms, taken in by the poll at 550
  int repeatAt;
};
std::ostream& operator<<(std::ostream& os, const SilenceRow& row) { return os << row.name; }

class NoGoodAnswer : public LinkScenario, public ::testing::WithParamInterface<SilenceRow> {};

TEST_P(NoGoodAnswer, RepeatsThenTheWarningAndTheJobsStop) {
  const SilenceRow& row = GetParam();
  open();
  // As if a read-out and a write were running; their guard stays closed
  // while the probe is unanswered.
  core.form.Timer6->setEnabled(true);
  core.form.Timer1->setEnabled(true);
  clock.advance(500);
  port.receive(row.heard);
  clock.advance(50);
  EXPECT_EQ(core.globals.lJobState, 6);
  EXPECT_EQ(port.inBufferCount(), 0);
  clock.advance(row.repeatAt - 551);
  EXPECT_EQ(port.written.size(), 1u);
  clock.advance(1);
  ASSERT_EQ(port.written.size(), 2u);
  EXPECT_EQ(port.written[1], port.written[0]);
  EXPECT_TRUE(core.form.Timer3->enabled());
  clock.advance(4999);
  EXPECT_EQ(port.written.size(), 6u);  // a repeat every second
  EXPECT_FALSE(warningShown());
  clock.advance(1);
  EXPECT_TRUE(warningShown());
  EXPECT_EQ(Timers(core.form), "0011000");
  const auto sent = port.written.size();
  EXPECT_LE(sent, 7u);
  port.receive(row.heard);
  clock.advance(30000);
  EXPECT_EQ(port.written.size(), sent);
  EXPECT_EQ(Timers(core.form), "0011000");
  EXPECT_TRUE(warningShown());
  EXPECT_EQ(core.globals.iBusDelay, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NoGoodAnswer,
    ::testing::Values(SilenceRow{"silence", {}, 1000}, SilenceRow{"stray_bytes", QByteArray("\x01\x03"), 1550},
                      SilenceRow{"damaged_answer", Rtu("0103020005").replace(4, 1, "\x07"), 1550},
                      SilenceRow{"another_slave", Rtu("0203020005"), 1550}),
    [](const auto& info) { return std::string(info.param.name); });

// A line that never falls quiet (noise, another master) postpones the
// repeat once per request, no more: the repeats and the warning still come.
TEST_F(LinkScenario, ANoisyLineStillGetsItsRepeatsAndItsWarning) {
  open();
  for (int t = 0; t < 8000; t += 100) {
    port.receive("\x55");
    clock.advance(100);
  }
  EXPECT_GE(port.written.size(), 4u);
  EXPECT_TRUE(warningShown());
}

// A send with the port closed only shows the message. A port that cannot be
// opened: the message with its error number, the list back at close,
// nothing sent; once the port is there, opening works; with an unknown mode
// it sends nothing.
TEST_F(LinkScenario, APortThatCannotOpenGivesTheMessageAndReturnsToClose) {
  core.globals.sModbusFrame = "010300210001";
  core.link.send();
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], u"Port ist nicht geöffnet");
  EXPECT_TRUE(port.written.empty());
  EXPECT_FALSE(core.form.Timer5->enabled());
  list(port_list::kPort).setListIndex(9);  // COM10
  for (const auto& [highestPort, openError, message] :
       {std::tuple{4, 0, u"COM-Port not available,  8002"},  // no such port
        std::tuple{40, port_error::kPortAlreadyOpen, u"COM-Port not available,  8005"}}) {
    port.highestPort = highestPort;
    port.openError = openError;
    messages.shown.clear();
    port.written.clear();
    open();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], QString::fromUtf16(message));
    EXPECT_EQ(list(port_list::kOpenClose).listIndex(), 0);
    EXPECT_FALSE(core.globals.bPortOpen);
    EXPECT_FALSE(port.portOpen());
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(Controls(core.form), "read 0 write 0 poll 0 port 1 baud 1 mode 1 parity 1 warning 0");

    port.highestPort = 40;
    port.openError = 0;
    open();
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(port.written.size(), 1u);
    close();
  }
  port.written.clear();
  open();
  core.globals.sModbusMode = kModeNone;
  core.link.send();
  EXPECT_EQ(port.written.size(), 1u);  // only the probe of the open
  EXPECT_FALSE(core.form.Timer5->enabled());
}

TEST(AddressKeyFilter, OnlyDigitsAndBackspacePass) {
  for (int key = 0; key < 256; ++key) {
    int code = key;
    Link::txt_Modbus_adress_KeyPress(code);
    const bool passes = key == 8 || (key >= '0' && key <= '9');
    EXPECT_EQ(code, passes ? key : 0) << "key " << key;
  }
}

// The adapter pulled out under an open port, in the language of the run
// (the parameter: English).
class PulledAdapter : public test::ConfigFixture, public ::testing::TestWithParam<bool> {
 protected:
  // The adapter goes; the run's language is the row's (each window load
  // reads it from the settings store, which the tests leave empty).
  void pull() {
    if (GetParam()) core.globals.sLanguage = QStringLiteral("1033");
    port.failUnderneath();
  }

  ComboBox& openClose() { return core.form.Combo_Port[port_list::kOpenClose]; }

  // Opens the port and answers the probe, so the read-out runs with its
  // state window open and the first block request outstanding.
  void openIntoReadOut() {
    openClose().setListIndex(1);
    port.receive(Rtu("0103020005"));
    clock.advance(50 + 210);
    ASSERT_TRUE(core.frmState.loaded());
    ASSERT_EQ(core.globals.lJobState, 1);
    ASSERT_FALSE(core.form.window.enabled());
  }
};

// A notice for a closed port is ignored. The adapter goes during a read-out:
// everything stops, the user is told once however often the line says so,
// nothing repeats or warns however long it stays; back, opening starts
// afresh. A line that tells its end only when written to (the other end of
// a pseudo-terminal gone while an answer came in): the half answer is no
// answer, so the request is repeated, and that write finds the line gone.
// Gone while cyclic polling: the polling box is cleared.
TEST_P(PulledAdapter, StopsEverythingSaysSoOnceAndOpeningStartsAfresh) {
  pull();
  EXPECT_TRUE(messages.shown.isEmpty());
  EXPECT_EQ(openClose().listIndex(), 0);

  openIntoReadOut();
  const auto sentBefore = port.written.size();
  pull();
  pull();
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], texts::kPortLost.in(GetParam()));
  EXPECT_FALSE(port.portOpen());
  EXPECT_EQ(openClose().listIndex(), 0);
  EXPECT_FALSE(core.globals.bPortOpen);
  EXPECT_EQ(core.globals.lJobState, 0);
  EXPECT_FALSE(core.frmState.loaded());
  EXPECT_TRUE(core.form.window.enabled());
  EXPECT_EQ(Controls(core.form), "read 0 write 0 poll 0 port 1 baud 1 mode 1 parity 1 warning 0");
  EXPECT_EQ(Timers(core.form), "0000000");
  EXPECT_FALSE(core.frmState.Timer1SW->enabled());
  clock.advance(60000);
  EXPECT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(port.written.size(), sentBefore);
  EXPECT_FALSE(core.form.lbl_desc[desc::kCommWarning].visible());

  openIntoReadOut();
  EXPECT_EQ(messages.shown.size(), 1);
  port.receive(Rtu("010314" + std::string(40, '0')).left(9));
  clock.advance(50);
  port.onOutput = [this](const QByteArray&) { pull(); };
  clock.advance(1000);
  ASSERT_EQ(messages.shown.size(), 2);
  EXPECT_EQ(messages.shown[1], texts::kPortLost.in(GetParam()));
  EXPECT_EQ(core.link.portFailures(), 2);
  EXPECT_FALSE(port.portOpen());

  port.onOutput = nullptr;
  openIntoReadOut();
  core.frmState.closedByUser();
  core.globals.lJobState = job_state::kNone;
  core.form.chk_read_out.setValue(1);
  ASSERT_TRUE(core.form.Timer7->enabled());
  pull();
  EXPECT_EQ(core.form.chk_read_out.value(), 0);
  EXPECT_FALSE(core.form.Timer7->enabled());
  clock.advance(10000);
  EXPECT_EQ(messages.shown.size(), 3);
}

INSTANTIATE_TEST_SUITE_P(Languages, PulledAdapter, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "english" : "german"; });

}  // namespace
}  // namespace rbx14
