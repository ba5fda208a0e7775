// rbx14-sim as a separate program on its pseudo-terminal: an independent
// Modbus master (mbpoll) reads the image's values from it in RTU, and the
// program's own port talks to it in ASCII.

#include "link/codec.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "sim/device_image.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <map>

namespace rbx14 {
namespace {

// Starts rbx14-sim with the given options and a link in a temporary folder.
class SimProcess {
 public:
  explicit SimProcess(QStringList options) {
    link_ = dir_.path() + QStringLiteral("/rbx14-sim-tty");
    options << QStringLiteral("--link") << link_;
    process_.start(QStringLiteral(RBX14_SIM_PROGRAM), options);
    if (process_.waitForReadyRead(10000)) path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
  }
  ~SimProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  const QString& path() const { return path_; }
  const QString& link() const { return link_; }
  QProcess& process() { return process_; }

 private:
  QTemporaryDir dir_;
  QString link_;
  QProcess process_;
  QString path_;
};

// Register or coil number (0-based) -> value, as mbpoll printed them.
std::map<int, int> Mbpoll(const QStringList& arguments) {
  QProcess mbpoll;
  mbpoll.start(QStringLiteral("mbpoll"), arguments);
  if (!mbpoll.waitForFinished(30000)) return {};
  const QString out = QString::fromLocal8Bit(mbpoll.readAllStandardOutput());
  static const QRegularExpression kValue(QStringLiteral("^\\[(\\d+)\\]:\\s+(-?\\d+)"),
                                         QRegularExpression::MultilineOption);
  std::map<int, int> values;
  for (auto it = kValue.globalMatch(out); it.hasNext();) {
    const auto m = it.next();
    values[m.captured(1).toInt() - 1] = m.captured(2).toInt();  // mbpoll counts from 1
  }
  return values;
}

class SimWithMbpoll : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty()) {
      GTEST_SKIP() << "mbpoll is not installed (scripts/setup installs it)";
    }
  }
  QStringList rtuRead(const QString& device, const char* type, int first, int count) {
    return {QStringLiteral("-m"), QStringLiteral("rtu"), QStringLiteral("-a"), QStringLiteral("1"),
            QStringLiteral("-b"), QStringLiteral("9600"), QStringLiteral("-P"), QStringLiteral("even"),
            QStringLiteral("-t"), QString::fromLatin1(type), QStringLiteral("-r"), QString::number(first + 1),
            QStringLiteral("-c"), QString::number(count), QStringLiteral("-o"), QStringLiteral("2"),
            QStringLiteral("-1"), device};
  }
};

TEST_F(SimWithMbpoll, ReadsTheImagesRegistersAndCoilsInRtu) {
  SimProcess sim({});
  ASSERT_TRUE(sim.path().startsWith(u"/dev/")) << sim.path().toStdString();
  EXPECT_EQ(QFileInfo(sim.link()).symLinkTarget(), sim.path());
  const sim::DeviceImage image;

  const auto config = Mbpoll(rtuRead(sim.link(), "4", 0, 61));
  ASSERT_EQ(config.size(), 61u);
  for (const auto& [reg, value] : config) {
    EXPECT_EQ(value, image.reg(static_cast<std::uint16_t>(reg))) << "register " << reg;
  }

  const auto text = Mbpoll(rtuRead(sim.path(), "4", 0x0300, 10));
  ASSERT_EQ(text.size(), 10u);
  for (const auto& [reg, value] : text) {
    EXPECT_EQ(value, image.reg(static_cast<std::uint16_t>(reg))) << "register " << reg;
  }

  for (int first : {0x0000, 0x0100}) {
    const int count = first == 0 ? 32 : 16;
    const auto coils = Mbpoll(rtuRead(sim.path(), "0", first, count));
    ASSERT_EQ(static_cast<int>(coils.size()), count);
    for (const auto& [coil, value] : coils) {
      EXPECT_EQ(value, image.coil(static_cast<std::uint16_t>(coil)) ? 1 : 0) << "coil " << coil;
    }
  }

  // Stopped with SIGTERM, it ends cleanly and takes its link along.
  sim.process().terminate();
  ASSERT_TRUE(sim.process().waitForFinished(5000));
  EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.process().exitCode(), 0);
  EXPECT_FALSE(QFileInfo::exists(sim.link()) || QFileInfo(sim.link()).isSymLink());
}

// mbpoll writes several registers with function 10, which the device takes
// (a single register would go with function 06, which it refuses).
TEST_F(SimWithMbpoll, WritesComeBackOnTheNextRead) {
  SimProcess sim({QStringLiteral("--address"), QStringLiteral("7")});
  ASSERT_FALSE(sim.path().isEmpty());
  const QStringList write{QStringLiteral("-m"), QStringLiteral("rtu"), QStringLiteral("-a"),
                          QStringLiteral("7"), QStringLiteral("-b"), QStringLiteral("9600"),
                          QStringLiteral("-P"), QStringLiteral("even"), QStringLiteral("-t"),
                          QStringLiteral("4"), QStringLiteral("-r"), QStringLiteral("4"),
                          QStringLiteral("-o"), QStringLiteral("2"), sim.path(),
                          QStringLiteral("4321"), QStringLiteral("99")};
  QProcess mbpoll;
  mbpoll.start(QStringLiteral("mbpoll"), write);
  ASSERT_TRUE(mbpoll.waitForFinished(30000));
  EXPECT_EQ(mbpoll.exitCode(), 0) << mbpoll.readAllStandardError().toStdString();

  QStringList read = rtuRead(sim.path(), "4", 3, 2);
  read[3] = QStringLiteral("7");
  const auto got = Mbpoll(read);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got.at(3), 4321);
  EXPECT_EQ(got.at(4), 99);
}

// The program's own port in ASCII against rbx14-sim: the external-value read
// with its extra byte is answered with 22 registers.
TEST(SimWithQtPort, AnswersTheExternalValueReadInAscii) {
  SimProcess sim({QStringLiteral("--mode"), QStringLiteral("ascii"), QStringLiteral("--delay"),
                  QStringLiteral("0")});
  ASSERT_FALSE(sim.path().isEmpty());
  QtSerialPort port(PortMap({{1, sim.path()}}));
  ASSERT_EQ(port.setSettings(QStringLiteral("19200,E,7,1")), 0);
  ASSERT_EQ(port.setPortOpen(true), 0);
  const std::string frame = BuildAsciiFrame("0103020700162C");
  ASSERT_EQ(port.output(QByteArray(frame.data(), static_cast<qsizetype>(frame.size()))), 0);

  QByteArray answer;
  QDeadlineTimer deadline(5000);
  while (!answer.endsWith('\n') && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    answer += port.input();
    QThread::msleep(2);
  }
  // ":" + address, function, count 0x2C, 44 data bytes, LRC as hex + CR LF.
  ASSERT_EQ(answer.size(), 1 + 2 * (3 + 44 + 1) + 2) << answer.toStdString();
  EXPECT_TRUE(answer.startsWith(":01032C"));
}

}  // namespace
}  // namespace rbx14
