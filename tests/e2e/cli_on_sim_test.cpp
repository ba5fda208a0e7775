// rbx14-cli against rbx14-sim with two devices on one pseudo-terminal, in
// RTU and in ASCII: read one device to a file, edit it, write it to both,
// verify both; then an independent master reads the new value from each
// device (mbpoll in RTU, a plain ASCII request otherwise).

#include "base/address_list.h"
#include "files/parameter_file.h"
#include "link/codec.h"
#include "cli_process.h"
#include "base/texts.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace rbx14 {
namespace {

constexpr int kEditedRegister = 42;

struct ModeRow {
  const char* name;
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

using test::CliRun;

CliRun RunCli(const QStringList& args) { return test::RunCliProgram(args); }

// Holding register 42 of a device by a plain ASCII request, 9600 7E1.
std::optional<int> ReadRegisterAscii(const QString& path, int address) {
  QSerialPort port(path);
  if (!port.open(QIODevice::ReadWrite)) return std::nullopt;
  port.setBaudRate(9600);
  port.setDataBits(QSerialPort::Data7);
  port.setParity(QSerialPort::EvenParity);
  const std::string frame = BuildAsciiFrame(ByteToHexStr(static_cast<std::uint8_t>(address)) +
                                            "03" + LongToHexStr(kEditedRegister, 2) + "0001");
  port.write(frame.data(), static_cast<qint64>(frame.size()));
  QByteArray answer;
  QDeadlineTimer deadline(5000);
  while (!answer.endsWith('\n') && !deadline.hasExpired()) {
    port.waitForReadyRead(100);
    answer += port.readAll();
  }
  // ":" address function count value LRC CR LF
  if (answer.size() < 15) return std::nullopt;
  return answer.mid(7, 4).toInt(nullptr, 16);
}

std::optional<int> ReadRegisterRtu(const QString& path, int address) {
  QProcess mbpoll;
  mbpoll.start(
      QStringLiteral("mbpoll"),
      {QStringLiteral("-m"), QStringLiteral("rtu"), QStringLiteral("-a"), QString::number(address),
       QStringLiteral("-b"), QStringLiteral("9600"), QStringLiteral("-P"), QStringLiteral("even"),
       QStringLiteral("-t"), QStringLiteral("4"), QStringLiteral("-r"),
       QString::number(kEditedRegister + 1), QStringLiteral("-c"), QStringLiteral("1"),
       QStringLiteral("-o"), QStringLiteral("2"), QStringLiteral("-1"), path});
  if (!mbpoll.waitForFinished(20000)) return std::nullopt;
  const auto match = QRegularExpression(QStringLiteral("\\[43\\]:\\s+(-?\\d+)"))
                         .match(QString::fromLocal8Bit(mbpoll.readAllStandardOutput()));
  if (!match.hasMatch()) return std::nullopt;
  return match.captured(1).toInt();
}

class CliOnSim : public ::testing::TestWithParam<ModeRow> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    sim.start(QStringLiteral(RBX14_SIM_PROGRAM),
              {QStringLiteral("--mode"), QString::fromLatin1(GetParam().name),
               QStringLiteral("--address"), QStringLiteral("1,2")});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    simPath = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(simPath.startsWith(u"/dev/")) << simPath.toStdString();
  }
  void TearDown() override {
    sim.terminate();
    sim.waitForFinished(5000);
  }
  QStringList link(const char* command, const char* addresses) const {
    return {QString::fromLatin1(command),
            QStringLiteral("--port"),
            simPath,
            QStringLiteral("--mode"),
            QString::fromLatin1(GetParam().name),
            QStringLiteral("--address"),
            QString::fromLatin1(addresses),
            QStringLiteral("-q")};
  }

  QTemporaryDir dir;
  QProcess sim;
  QString simPath;
};

TEST_P(CliOnSim, ReadEditWriteVerify) {
  const QString original = dir.filePath(QStringLiteral("device1.txt"));
  const CliRun read = RunCli(link("read", "1") + QStringList{QStringLiteral("-o"), original});
  ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();

  QStringList lines = ReadParameterFile(original).value_or(QStringList());
  ASSERT_EQ(lines.size(), kParameterFileLines);
  const int newValue =
      ValueField(lines[kFirstDataLine + kEditedRegister - 1])->toInt() == 45 ? 46 : 45;
  QString& line = lines[kFirstDataLine + kEditedRegister - 1];
  line = line.section(u';', 0, 1) + u';' + QString::number(newValue);
  QString& text = lines[kFirstTextLine + 3 - 1];
  text = text.section(u';', 0, 1) + QStringLiteral(";Hallo Welt");
  const QString edited = dir.filePath(QStringLiteral("edited.txt"));
  ASSERT_TRUE(WriteParameterFile(edited, lines));

  const QString report = dir.filePath(QStringLiteral("report.csv"));
  const CliRun write =
      RunCli(link("write", "1,2") + QStringList{QStringLiteral("--report"), report, edited});
  EXPECT_EQ(write.exitCode, 0) << write.err.toStdString() << write.out.toStdString();
  const CliRun verify = RunCli(link("verify", "1-2") + QStringList{edited});
  EXPECT_EQ(verify.exitCode, 0) << verify.err.toStdString() << verify.out.toStdString();
  EXPECT_TRUE(verify.out.isEmpty()) << verify.out.toStdString();
  const CliRun unchanged = RunCli(link("verify", "1") + QStringList{original});
  EXPECT_EQ(unchanged.exitCode, 1);
  EXPECT_EQ(unchanged.out.count(u'\n'), 2) << unchanged.out.toStdString();  // the two edited fields

  const bool rtu = QByteArray(GetParam().name) == "rtu";
  if (rtu && QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty())
    GTEST_SKIP() << "no mbpoll";
  for (int address : {1, 2}) {
    EXPECT_EQ(rtu ? ReadRegisterRtu(simPath, address) : ReadRegisterAscii(simPath, address),
              newValue)
        << "address " << address;
  }
}

TEST_P(CliOnSim, ScanListsBothDevicesAndNothingElse) {
  const QString report = dir.filePath(QStringLiteral("scan.csv"));
  QStringList args = link("scan", "1-6");
  args << QStringLiteral("--language") << QStringLiteral("en") << QStringLiteral("--report") << report;
  const CliRun scan = RunCli(args);
  EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
  const QStringList lines = scan.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << scan.out.toStdString();
  for (int i = 0; i < 2; ++i) {
    const QStringList words = lines[i].split(u' ');
    ASSERT_GE(words.size(), 3);
    EXPECT_EQ(words[0].toInt(), i + 1) << lines[i].toStdString();
    EXPECT_TRUE(words[2].startsWith(u"VX")) << lines[i].toStdString();
    EXPECT_TRUE(lines[i].contains(u"response time")) << lines[i].toStdString();
  }
  QFile csv(report);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().count("\r\n"), 3);  // header and two devices

  const CliRun nobody = RunCli(link("scan", "3-4"));
  EXPECT_EQ(nobody.exitCode, 1) << nobody.out.toStdString();
  EXPECT_TRUE(nobody.out.isEmpty());
}

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

INSTANTIATE_TEST_SUITE_P(Modes, CliOnSim, ::testing::Values(ModeRow{"rtu"}, ModeRow{"ascii"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
