// The adapter pulled out on the real port path: QSerialPort on the
// pseudo-terminal of an rbx14-sim process that is killed in the middle of a
// read-out, its end of the line closing as when a USB adapter is pulled
// out. The window closes the port once and opens again when a new line
// comes under the same device name, the way a USB adapter comes back as
// the same /dev/ttyUSB0; rbx14-cli fails the device in hand with the port's
// error and ends at once. (The batches themselves are tested on the
// virtual clock in tests/cli.)

#include "e2e_helpers.h"
#include "base/texts.h"
#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace rbx14 {
namespace {

using test::RunUntil;

TEST(PulledAdapterOnPty, ClosingTheLineMidReadOutClosesThePortOnceAndItOpensAgain) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList simArgs{QStringLiteral("--link"), dir.filePath(QStringLiteral("ttyRBX"))};
  auto first = std::make_unique<test::Peer>(QStringLiteral(RBX14_SIM_PROGRAM), simArgs);
  ASSERT_TRUE(first->where().startsWith(u"/dev/")) << first->where().toStdString();
  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  QtSerialPort port(PortMap({{1, simArgs[1]}}));
  ConfigCore core(scheduler, port, messages);
  core.Main();
  ComboBox& openClose = core.form.Combo_Port[port_list::kOpenClose];
  const auto readingOut = [&] { return core.frmState.loaded() && core.globals.lJobState == 1; };
  openClose.setListIndex(1);
  ASSERT_TRUE(RunUntil(readingOut, 5000));

  first.reset();
  ASSERT_TRUE(RunUntil([&] { return !port.portOpen(); }, 5000));
  // (What the window does then is fixed on a fake port in the scenario tests.)
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], texts::kPortLost.in(false));
  EXPECT_EQ(openClose.listIndex(), 0);
  // Past the repeat and the answer time-out: no second box, no warning.
  RunUntil([] { return false; }, 2500);
  EXPECT_EQ(messages.shown.size(), 1);
  EXPECT_FALSE(core.form.lbl_desc[desc::kCommWarning].visible());

  // Back under the same name: opening works and the read-out starts again.
  test::Peer second(QStringLiteral(RBX14_SIM_PROGRAM), simArgs);
  ASSERT_TRUE(second.where().startsWith(u"/dev/"));
  openClose.setListIndex(1);
  ASSERT_TRUE(RunUntil(readingOut, 5000)) << messages.shown.join(u'|').toStdString();
  EXPECT_EQ(messages.shown.size(), 1);
}

// The simulator dies in the middle of the second device's read-out: rbx14-cli
// fails that device with the port's error and ends at once, without waiting
// for the third device's time-outs.
TEST(CliOnSimKilled, ThePortLostMidReadOutEndsTheBatchWithItsError) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto sim = std::make_unique<test::Peer>(QStringLiteral(RBX14_SIM_PROGRAM), test::Args("--address 1-3 --delay 10"));
  ASSERT_TRUE(sim->where().startsWith(u"/dev/")) << sim->where().toStdString();

  QProcess cli;
  cli.setReadChannel(QProcess::StandardError);
  cli.start(QStringLiteral(RBX14_CLI_PROGRAM), test::Args("read --address 1-3 --language en --trace --port")
                                                   << sim->where() << QStringLiteral("-o")
                                                   << dir.filePath(QStringLiteral("device{address}.txt")));
  ASSERT_TRUE(cli.waitForStarted(10000));

  // Progress and trace lines come on stderr: a few frames into address 2,
  // the simulator goes.
  QString err;
  int framesOfSecond = -1;
  QDeadlineTimer deadline(60000);
  while (framesOfSecond < 6 && !deadline.hasExpired() && cli.state() == QProcess::Running) {
    cli.waitForReadyRead(100);
    while (cli.canReadLine()) {
      const QString line = QString::fromLocal8Bit(cli.readLine());
      err += line;
      if (line.startsWith(u"address 2: reading")) framesOfSecond = 0;
      else if (framesOfSecond >= 0) ++framesOfSecond;
    }
  }
  ASSERT_GE(framesOfSecond, 6) << err.toStdString()
                                << QString::fromLocal8Bit(cli.readAllStandardError()).toStdString();
  sim.reset();

  // Bounded only so that a hang fails the test rather than stalling it.
  const bool finished = cli.waitForFinished(30000);
  if (!finished) cli.kill();
  ASSERT_TRUE(finished) << err.toStdString();
  err += QString::fromLocal8Bit(cli.readAllStandardError());
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 1) << err.toStdString();
  EXPECT_TRUE(err.contains(QStringLiteral("rbx14-cli: address 2: port error 8010: ") +
                           texts::kPortLost.in(true)))
      << err.toStdString();
  // The link's own message is not repeated, no device reports a time-out,
  // and the third is never tried.
  EXPECT_EQ(err.count(texts::kPortLost.in(true)), 1) << err.toStdString();
  EXPECT_FALSE(err.contains(u"no answer")) << err.toStdString();
  EXPECT_FALSE(err.contains(u"address 3")) << err.toStdString();
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("device1.txt"))));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("device2.txt"))));
}

}  // namespace
}  // namespace rbx14
