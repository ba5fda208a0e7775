// rbx14-cli scan against slaves of an independent Modbus implementation
// (pymodbus) on a pair of pseudo-terminals joined by socat, in RTU and in
// ASCII: exactly the slaves there are found, with the registers they hold.

#include "cli_process.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace rbx14 {
namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

test::CliRun Scan(const QString& port, const QString& mode, const QString& addresses) {
  return test::RunCliProgram(
      {QStringLiteral("scan"), QStringLiteral("--port"), port, QStringLiteral("--mode"), mode,
       QStringLiteral("--parity"), QStringLiteral("none"), QStringLiteral("--address"), addresses,
       QStringLiteral("--language"), QStringLiteral("en"), QStringLiteral("-q")},
      60000);
}

bool HavePymodbus() {
  if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) return false;
  QProcess probe;
  probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import pymodbus.server")});
  return probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
         probe.exitCode() == 0;
}

class ScanIndependentSlaves : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!HavePymodbus()) GTEST_SKIP() << "no socat or python3-pymodbus";
    ASSERT_TRUE(dir.isValid());
    ours = dir.filePath(QStringLiteral("ours"));
    theirs = dir.filePath(QStringLiteral("theirs"));
    socat.start(QStringLiteral("socat"),
                {QStringLiteral("pty,raw,echo=0,link=") + ours,
                 QStringLiteral("pty,raw,echo=0,link=") + theirs});
    QDeadlineTimer deadline(10000);
    while (!(QFileInfo::exists(ours) && QFileInfo::exists(theirs)) && !deadline.hasExpired()) {
      QThread::msleep(20);
    }
    ASSERT_TRUE(QFileInfo::exists(theirs)) << "socat made no line";
    slave.start(kPython, {QStringLiteral(RBX14_PYMODBUS_SLAVE), theirs, mode(),
                          QStringLiteral("7,130")});
    ASSERT_TRUE(slave.waitForReadyRead(20000)) << "the pymodbus slave did not start";
    // The slave opens its port after it said so: ask until it answers.
    deadline.setRemainingTime(20000);
    while (Scan(ours, mode(), QStringLiteral("7")).exitCode != 0 && !deadline.hasExpired()) {
      QThread::msleep(200);
    }
  }
  void TearDown() override {
    slave.kill();
    slave.waitForFinished(5000);
    socat.terminate();
    socat.waitForFinished(5000);
  }
  QString mode() const { return QString::fromLatin1(GetParam()); }

  QTemporaryDir dir;
  QString ours;
  QString theirs;
  QProcess socat;
  QProcess slave;
};

TEST_P(ScanIndependentSlaves, FindsExactlyTheSlavesWithTheirRegisters) {
  const test::CliRun run = Scan(ours, mode(), QStringLiteral("1-12,125-135"));
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
  // address, type code and name, firmware, response time, register 0x0021
  EXPECT_EQ(lines[0], QStringLiteral("7 7 VX7 firmware 77 response time 17 ms reg 0x0021 7"));
  EXPECT_EQ(lines[1], QStringLiteral("130 0 VX0 firmware 200 response time 140 ms reg 0x0021 4"));
}

INSTANTIATE_TEST_SUITE_P(Modes, ScanIndependentSlaves, ::testing::Values("rtu", "ascii"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace rbx14
