// The program on the real port path, QSerialPort on a pseudo-terminal.
// Against a slave of an independent Modbus implementation (pymodbus), in
// RTU and in ASCII: the read-out, over a line that holds some answers past
// the repeat or puts a stray byte ahead of them, shows exactly the slave's
// data in both timings. Against a separate rbx14-sim process at 9600 baud
// paced like a real line (RTU with the standard timing, ASCII with the fast
// link): opening the port reads the whole device; a write-back changes it,
// and an independent master (mbpoll, RTU) reads the new values back. Then
// the simulator is killed in the middle of a read-out, its end of the line
// closing as when a USB adapter is pulled out: the window closes the port
// once, and opens again when a new line comes under the same device name,
// the way a USB adapter comes back as the same /dev/ttyUSB0. rbx14-cli
// fails the device in hand with the port's error and ends at once. (The
// batches themselves are tested on the virtual clock in tests/cli.)

#include "e2e_helpers.h"
#include "base/codepage.h"
#include "base/numbers.h"
#include "base/texts.h"
#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/qt_test_main.h"  // main() of the end-to-end tests
#include "support/window_shows.h"
#include "transactions/jobs.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <map>

namespace rbx14 {
namespace {

using test::RunUntil;

// What the slave holds (pymodbus_slave.py, image_value) for address 1.
int SlaveRegister(int r) {
  static const std::map<int, int> identity{{0, 0x0501}, {1, 71}, {2, 1}, {15, 11}, {0x21, 1}};
  return identity.contains(r) ? identity.at(r) : (r * 37 + 11) % 1000;
}
QByteArray SlaveText(int k) { return QByteArray("Text ") + QByteArray::number(k).rightJustified(2, '0') + QByteArray(13, '\0'); }
QByteArray SlaveUnit(int u) {
  return QByteArray(1, static_cast<char>(65 + u % 26)) + static_cast<char>(97 + u % 3) + '\0';
}

struct LineRow {
  const char* name;
  const char* mode;
  bool fast;
  const char* fault;  // --late or --stray, and every how many answers
};
std::ostream& operator<<(std::ostream& os, const LineRow& row) { return os << row.name; }

class ReadOutOverAFaultyLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(ReadOutOverAFaultyLine, ShowsExactlyTheSlavesData) {
  const LineRow& row = GetParam();
  test::Peer slave(test::kPython, QStringList{test::kPymodbusSlave, QStringLiteral("--line")} + test::Args(row.fault)
                                      << QString::fromLatin1(row.mode) << QStringLiteral("1"));
  ASSERT_TRUE(slave.where().startsWith(u"/dev/"))
      << "the pymodbus slave did not start: " << slave.process.readAllStandardError().toStdString();
  QThread::msleep(1500);  // the slave opens its side after it said so

  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  QtSerialPort port(PortMap({{1, slave.where()}}));
  ConfigCore core(scheduler, port, messages);
  core.timing.setFast(row.fast);
  core.Main();
  FrmConfig& form = core.form;
  form.Combo_Port[port_list::kParity].setListIndex(0);
  form.Combo_Port[port_list::kMode].setListIndex(QByteArray(row.mode) == "rtu" ? 1 : 0);
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  // The registers, texts, units and bits; the request for the external
  // values carries a byte this slave does not expect.
  const bool reached = test::RunUntil(
      [&] { return core.globals.lJobState == 7 || form.lbl_desc[desc::kCommWarning].visible(); }, 90000);
  ASSERT_TRUE(reached);
  EXPECT_FALSE(form.lbl_desc[desc::kCommWarning].visible());
  for (int i = 0; i < 60; ++i) {
    const int value = SlaveRegister(i);
    EXPECT_EQ(form.txt_data_cfg[i].text(),
              FormatDecimal(IsTenthsConfigRegister(i) ? value / 10.0 : value, core.globals.decimalSep()))
        << "field " << i;
  }
  for (int k = 0; k < 22; ++k) {
    EXPECT_EQ(form.txt_data_cfg_txt[k].text(), FromCodePage(SlaveText(k)).left(form.txt_data_cfg_txt[k].maxLength()))
        << "text " << k;
  }
  for (int u = 0; u < 18; ++u) EXPECT_EQ(form.txt_data_cfg_unit[u].text(), FromCodePage(SlaveUnit(u))) << "unit " << u;
  for (int c = 0; c < 32; ++c) EXPECT_EQ(form.chk_cfg[c].value(), c % 3 == 0 ? 1 : 0) << "bit " << c;
  EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadOutOverAFaultyLine,
    ::testing::Values(LineRow{"rtu_late", "rtu", false, "--late 9"},
                      LineRow{"ascii_late_fast", "ascii", true, "--late 9"},
                      LineRow{"rtu_stray_fast", "rtu", true, "--stray 1"},
                      LineRow{"ascii_stray", "ascii", false, "--stray 1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  bool fast;             // the fast link instead of the standard timing
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

class ReadOutOnSim : public ::testing::TestWithParam<ModeRow> {};

TEST_P(ReadOutOnSim, OpeningReadsTheDeviceAWriteBackChangesItAndAPulledAdapterComesBack) {
  const bool rtu = GetParam().modeListPosition == 1;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList simArgs = test::Args(rtu ? "--mode rtu --link" : "--mode ascii --link")
                              << dir.filePath(QStringLiteral("ttyRBX"));
  auto sim = std::make_unique<test::Peer>(QStringLiteral(RBX14_SIM_PROGRAM), simArgs);
  ASSERT_TRUE(sim->where().startsWith(u"/dev/")) << sim->where().toStdString();
  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  QtSerialPort port(PortMap({{1, simArgs.last()}}));
  ConfigCore core(scheduler, port, messages);
  core.timing.setFast(GetParam().fast);
  core.Main();
  FrmConfig& form = core.form;
  ComboBox& openClose = form.Combo_Port[port_list::kOpenClose];
  form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
  openClose.setListIndex(1);
  const auto idle = [&] { return core.globals.lJobState == 0 && !core.frmState.loaded(); };
  const auto readingOut = [&] { return core.frmState.loaded() && core.globals.lJobState == 1; };
  ASSERT_TRUE(RunUntil(readingOut, 5000)) << messages.shown.join(u'|').toStdString();
  ASSERT_TRUE(RunUntil(idle, 30000));
  EXPECT_FALSE(form.lbl_desc[desc::kCommWarning].visible());

  // The window shows the device's factory image.
  for (const std::string& difference : test::WindowDifferences(core, sim::DeviceImage())) {
    ADD_FAILURE() << difference;
  }

  // Change a field and a text, write back, and see the device's new values.
  form.txt_data_cfg[42].setText(QStringLiteral("45"));
  form.txt_data_cfg_txt[3].setText(QStringLiteral("Hallo"));
  ASSERT_TRUE(form.set_parameter.enabled());
  form.set_parameter.click();
  ASSERT_TRUE(RunUntil([&] { return core.globals.lJobState == 1; }, 60000));
  ASSERT_TRUE(RunUntil(idle, 30000));
  EXPECT_EQ(form.txt_data_cfg[42].text(), u"45");
  EXPECT_TRUE(form.txt_data_cfg_txt[3].text().startsWith(u"Hallo"));
  EXPECT_FALSE(AnyFieldMarked(form));
  EXPECT_TRUE(messages.shown.isEmpty());

  openClose.setListIndex(0);  // free the line
  if (rtu && !QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty()) {
    QProcess mbpoll;
    mbpoll.start(QStringLiteral("mbpoll"), test::Args("-m rtu -a 1 -b 9600 -P even -t 4 -r 43 -c 1 -o 2 -1")
                                               << sim->where());
    ASSERT_TRUE(mbpoll.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(mbpoll.readAllStandardOutput());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\\[43\\]:\\s+45\\b")).match(out).hasMatch())
        << out.toStdString();
  }

  // Pulled out in the middle of a read-out. (What the window does then is
  // fixed on a fake port in the scenario tests.)
  openClose.setListIndex(1);
  ASSERT_TRUE(RunUntil(readingOut, 5000));
  sim.reset();
  ASSERT_TRUE(RunUntil([&] { return !port.portOpen(); }, 5000));
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_EQ(messages.shown[0], texts::kPortLost.in(false));
  EXPECT_EQ(openClose.listIndex(), 0);
  // Past the repeat and the answer time-out: no second box, no warning.
  RunUntil([] { return false; }, 2500);
  EXPECT_EQ(messages.shown.size(), 1);
  EXPECT_FALSE(form.lbl_desc[desc::kCommWarning].visible());

  // Back under the same name: opening works and the read-out starts again.
  sim = std::make_unique<test::Peer>(QStringLiteral(RBX14_SIM_PROGRAM), simArgs);
  ASSERT_TRUE(sim->where().startsWith(u"/dev/"));
  openClose.setListIndex(1);
  ASSERT_TRUE(RunUntil(readingOut, 5000)) << messages.shown.join(u'|').toStdString();
  EXPECT_EQ(messages.shown.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReadOutOnSim,
                         ::testing::Values(ModeRow{"rtu", 1, false}, ModeRow{"ascii_fast", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The simulator dies in the middle of the second device's read-out: rbx14-cli
// fails that device with the port's error and ends at once, without waiting
// for the third device's time-outs.
TEST(CliOnSimKilled, ThePortLostMidReadOutEndsTheBatchWithItsError) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto sim = std::make_unique<test::Peer>(QStringLiteral(RBX14_SIM_PROGRAM), test::Args("--address 1-3 --delay 10"));
  ASSERT_TRUE(sim->where().startsWith(u"/dev/")) << sim->where().toStdString();

  QProcess cli;
  cli.start(QStringLiteral(RBX14_CLI_PROGRAM), test::Args("read --address 1-3 --language en --trace --port")
                                                   << sim->where() << QStringLiteral("-o")
                                                   << dir.filePath(QStringLiteral("device{address}.txt")));
  ASSERT_TRUE(cli.waitForStarted(10000));

  // Progress and trace lines come on stderr: a few frames into address 2,
  // the simulator goes.
  QString err;
  const auto linesOfSecond = [&] {
    err += QString::fromLocal8Bit(cli.readAllStandardError());
    const qsizetype at = err.indexOf(u"address 2: reading");
    return at < 0 ? 0 : err.mid(at).count(u'\n');
  };
  RunUntil([&] { return linesOfSecond() > 6 || cli.state() != QProcess::Running; }, 60000);
  ASSERT_GT(linesOfSecond(), 6) << err.toStdString();
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

// The Qt timers keep the same semantics as the virtual clock for what the
// fast link relies on: an early tick comes on the next pass of the event
// loop, and a new interval or disabling takes it back.
TEST(QtScheduler, TickSoonComesOnTheNextPassAndCanBeTakenBack) {
  QtScheduler scheduler;
  auto timer = scheduler.createTimer("t", 10000);
  int ticks = 0;
  timer->setOnTick([&] { ++ticks; });
  timer->setEnabled(true);
  timer->tickSoon();
  QElapsedTimer wait;
  wait.start();
  while (ticks == 0 && wait.elapsed() < 5000) QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 1);
  const auto passes = [] {
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  };
  // The countdown runs again at the full interval: nothing more for now.
  passes();
  EXPECT_EQ(ticks, 1);

  timer->tickSoon();
  timer->setInterval(10000);
  passes();
  EXPECT_EQ(ticks, 1) << "a new interval takes the early tick back";
  timer->tickSoon();
  timer->setEnabled(false);
  passes();
  EXPECT_EQ(ticks, 1) << "so does disabling";
}

}  // namespace
}  // namespace rbx14
