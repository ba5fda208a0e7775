// rbx14-cli against rbx14-sim on a pseudo-terminal: the port lost in the
// middle of a batch. (The batches themselves are tested on the virtual
// clock in tests/cli; the window's read-out and write over a pseudo-terminal
// in readout_on_sim_test.cpp.)

#include "base/texts.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace rbx14 {
namespace {

// The simulator dies in the middle of the second device's read-out: its end
// of the pseudo-terminal closes, as when a USB adapter is pulled out.
// rbx14-cli fails that device with the port's error and ends at once,
// without waiting for the third device's time-outs.
TEST(CliOnSimKilled, ThePortLostMidReadOutEndsTheBatchWithItsError) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QProcess sim;
  sim.start(QStringLiteral(RBX14_SIM_PROGRAM),
            {QStringLiteral("--address"), QStringLiteral("1-3"), QStringLiteral("--delay"),
             QStringLiteral("10")});
  ASSERT_TRUE(sim.waitForReadyRead(10000));
  const QString simPath = QString::fromLocal8Bit(sim.readLine()).trimmed();
  ASSERT_TRUE(simPath.startsWith(u"/dev/")) << simPath.toStdString();

  QProcess cli;
  cli.setReadChannel(QProcess::StandardError);
  cli.start(QStringLiteral(RBX14_CLI_PROGRAM),
            {QStringLiteral("read"), QStringLiteral("--port"), simPath, QStringLiteral("--address"),
             QStringLiteral("1-3"), QStringLiteral("--language"), QStringLiteral("en"),
             QStringLiteral("--trace"), QStringLiteral("-o"),
             dir.filePath(QStringLiteral("device{address}.txt"))});
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
  sim.kill();
  ASSERT_TRUE(sim.waitForFinished(5000));

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
