// The adapter pulled out on the real port path: QSerialPort on a
// pseudo-terminal whose other side is closed in the middle of a read-out,
// then a new line under the same device name, the way a USB adapter comes
// back as the same /dev/ttyUSB0.

#include "run_until.h"
#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "pseudo_terminal.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace rbx14 {
namespace {

using test::RunUntil;

void RunFor(int ms) { RunUntil([] { return false; }, ms); }

const QByteArray kProbe("\x01\x03\x00\x21\x00\x01\xD4\x00", 8);
const QByteArray kProbeAnswer("\x01\x03\x02\x00\x05\x78\x47", 7);
const QByteArray kFirstBlock("\x01\x03\x00\x00\x00\x0A\xC5\xCD", 8);

class PulledAdapterOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    adapterPath = dir.path() + QStringLiteral("/ttyRBX");
    plugIn(*first);
    port = std::make_unique<QtSerialPort>(PortMap({{1, adapterPath}}));
    core = std::make_unique<ConfigCore>(scheduler, *port, messages);
    core->Main();
  }
  void TearDown() override {
    core.reset();
    port.reset();
  }

  // The device name leads to this line from now on.
  void plugIn(const test::PseudoTerminal& line) {
    ASSERT_TRUE(line.valid());
    QFile::remove(adapterPath);
    ASSERT_TRUE(QFile::link(line.slavePath(), adapterPath));
  }

  ComboBox& openClose() { return core->form.Combo_Port[port_list::kOpenClose]; }

  // Opens the port and answers the probe: the read-out runs and asks for its
  // first block.
  void openIntoReadOut(test::PseudoTerminal& line) {
    const auto shownBefore = messages.shown.size();
    openClose().setListIndex(1);
    ASSERT_EQ(messages.shown.size(), shownBefore) << messages.shown.join(u'|').toStdString();
    ASSERT_EQ(line.readFromLine(8, 3000), kProbe);
    line.writeToLine(kProbeAnswer);
    ASSERT_EQ(line.readFromLine(8, 3000), kFirstBlock);
    ASSERT_EQ(core->globals.lJobState, 1);
    ASSERT_TRUE(core->frmState.loaded());
  }

  QTemporaryDir dir;
  QString adapterPath;
  std::unique_ptr<test::PseudoTerminal> first = std::make_unique<test::PseudoTerminal>();
  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  std::unique_ptr<QtSerialPort> port;
  std::unique_ptr<ConfigCore> core;
};

TEST_F(PulledAdapterOnPty, ClosingTheLineMidReadOutClosesThePortOnceAndItOpensAgain) {
  openIntoReadOut(*first);

  first->closeMaster();
  ASSERT_TRUE(RunUntil([&] { return !port->portOpen(); }, 5000));
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], texts::kPortLost.in(false));
  EXPECT_EQ(openClose().listIndex(), 0);
  EXPECT_EQ(core->globals.lJobState, 0);
  EXPECT_FALSE(core->frmState.loaded());
  EXPECT_TRUE(core->form.window.enabled());
  EXPECT_FALSE(core->form.Timer5->enabled());
  EXPECT_FALSE(core->form.Timer6->enabled());

  // Past the repeat and the answer time-out: no second box, no warning.
  RunFor(2500);
  EXPECT_EQ(messages.shown.size(), 1);
  EXPECT_FALSE(core->form.lbl_desc[desc::kCommWarning].visible());

  // Back under the same name: opening works and the read-out starts again.
  first.reset();
  test::PseudoTerminal second;
  plugIn(second);
  openIntoReadOut(second);
  EXPECT_EQ(messages.shown.size(), 1);
}

}  // namespace
}  // namespace rbx14
