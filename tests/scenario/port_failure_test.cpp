// The adapter pulled out under an open port, on the virtual clock: the jobs
// stop, the port closes, the user is told once in the language of the run,
// and opening again starts afresh.

#include "session/config_core.h"
#include "link/codec.h"
#include "link/virtual_scheduler.h"
#include "support/config_fixture.h"
#include "support/core_state.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

QByteArray Rtu(const std::string& hex) { return QByteArray::fromStdString(BuildRtuFrame(hex)); }

struct LanguageRow {
  const char* name;
  bool english;
};
std::ostream& operator<<(std::ostream& os, const LanguageRow& row) { return os << row.name; }

class PulledAdapter : public test::ConfigFixture, public ::testing::TestWithParam<LanguageRow> {
 protected:

  // The adapter goes; the run's language is the row's (each window load
  // reads it from the settings store, which the tests leave empty).
  void pull() {
    if (GetParam().english) core.globals.sLanguage = QStringLiteral("1033");
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
// afresh. Then it goes while cyclic polling: the polling box is cleared.
TEST_P(PulledAdapter, StopsEverythingSaysSoOnceAndOpeningStartsAfresh) {
  pull();
  EXPECT_TRUE(messages.shown.isEmpty());
  EXPECT_EQ(openClose().listIndex(), 0);

  openIntoReadOut();
  const auto sentBefore = port.written.size();
  pull();
  pull();
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], texts::kPortLost.in(GetParam().english));
  EXPECT_FALSE(port.portOpen());
  EXPECT_EQ(openClose().listIndex(), 0);
  EXPECT_FALSE(core.globals.bPortOpen);
  EXPECT_EQ(core.globals.lJobState, 0);
  EXPECT_FALSE(core.frmState.loaded());
  EXPECT_TRUE(core.form.window.enabled());
  EXPECT_EQ(test::Controls(core.form), "read 0 write 0 poll 0 port 1 baud 1 mode 1 parity 1 warning 0");
  EXPECT_EQ(test::Timers(core.form), "0000000");
  EXPECT_FALSE(core.frmState.Timer1SW->enabled());
  clock.advance(60000);
  EXPECT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(port.written.size(), sentBefore);
  EXPECT_FALSE(core.form.lbl_desc[desc::kCommWarning].visible());

  openClose().setListIndex(1);
  ASSERT_TRUE(port.portOpen());
  EXPECT_EQ(port.written.back(), Rtu("010300210001"));
  port.receive(Rtu("0103020005"));
  clock.advance(50);
  EXPECT_EQ(core.globals.lJobState, 1);
  EXPECT_TRUE(core.frmState.loaded());

  core.frmState.closedByUser();
  core.globals.lJobState = job_state::kNone;
  core.form.chk_read_out.setValue(1);
  ASSERT_TRUE(core.form.Timer7->enabled());
  messages.shown.clear();
  pull();
  EXPECT_EQ(core.form.chk_read_out.value(), 0);
  EXPECT_FALSE(core.form.Timer7->enabled());
  clock.advance(10000);
  EXPECT_EQ(messages.shown.size(), 1);
}

// A line that tells its end only when written to (the other end of a
// pseudo-terminal gone while an answer came in): the half answer is no
// answer, so the request is repeated, and that write finds the line gone.
TEST_P(PulledAdapter, ALineGoneDuringAnAnswerIsFoundAtTheRepeat) {
  openIntoReadOut();
  port.receive(Rtu("010314" + std::string(40, '0')).left(9));
  clock.advance(50);
  port.onOutput = [this](const QByteArray&) { pull(); };
  clock.advance(1000);
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], texts::kPortLost.in(GetParam().english));
  EXPECT_EQ(core.link.portFailures(), 1);
  EXPECT_FALSE(port.portOpen());
}

INSTANTIATE_TEST_SUITE_P(Languages, PulledAdapter,
                         ::testing::Values(LanguageRow{"german", false}, LanguageRow{"english", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
