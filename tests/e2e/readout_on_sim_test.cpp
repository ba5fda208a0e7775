// The whole program's core on the real port path: QSerialPort on the
// pseudo-terminal of a separate rbx14-sim process, at 9600 baud paced like a
// real line (RTU with the standard timing, ASCII with the fast link). Opening the
// port reads the whole device; a write-back changes it, and an independent
// master (mbpoll, RTU) reads the new values back.

#include "run_until.h"
#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/window_shows.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace rbx14 {
namespace {

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  bool fast;             // the fast link instead of the standard timing
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

using test::RunUntil;

class ReadOutOnSim : public ::testing::TestWithParam<ModeRow> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    sim.start(QStringLiteral(RBX14_SIM_PROGRAM),
              {QStringLiteral("--mode"),
               GetParam().modeListPosition == 1 ? QStringLiteral("rtu") : QStringLiteral("ascii")});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    simPath = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(simPath.startsWith(u"/dev/")) << simPath.toStdString();

    port = std::make_unique<QtSerialPort>(PortMap({{1, simPath}}));
    core = std::make_unique<ConfigCore>(scheduler, *port, messages);
    core->timing.setFast(GetParam().fast);
    core->Main();
    core->form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
  }
  void TearDown() override {
    core.reset();
    port.reset();
    sim.terminate();
    sim.waitForFinished(5000);
  }

  bool idle() const { return core->globals.lJobState == 0 && !core->frmState.loaded(); }

  QTemporaryDir dir;
  QProcess sim;
  QString simPath;
  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  std::unique_ptr<QtSerialPort> port;
  std::unique_ptr<ConfigCore> core;
};

TEST_P(ReadOutOnSim, OpeningReadsTheDeviceAndAWriteBackChangesIt) {
  FrmConfig& form = core->form;
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u'|').toStdString();
  ASSERT_TRUE(RunUntil([&] { return core->frmState.loaded(); }, 5000));
  ASSERT_TRUE(RunUntil([&] { return idle(); }, 30000));
  EXPECT_FALSE(form.lbl_desc[desc::kCommWarning].visible());

  // The window shows the device's factory image.
  for (const std::string& difference : test::WindowDifferences(*core, sim::DeviceImage())) {
    ADD_FAILURE() << difference;
  }

  // Change a field and a text, write back, and see the device's new values.
  form.txt_data_cfg[42].setText(QStringLiteral("45"));
  form.txt_data_cfg_txt[3].setText(QStringLiteral("Hallo"));
  ASSERT_TRUE(form.set_parameter.enabled());
  form.set_parameter.click();
  ASSERT_TRUE(RunUntil([&] { return core->globals.lJobState == 1; }, 60000));
  ASSERT_TRUE(RunUntil([&] { return idle(); }, 30000));
  EXPECT_EQ(form.txt_data_cfg[42].text(), u"45");
  EXPECT_TRUE(form.txt_data_cfg_txt[3].text().startsWith(u"Hallo"));
  EXPECT_FALSE(AnyFieldMarked(form));
  EXPECT_TRUE(messages.shown.isEmpty());

  if (GetParam().modeListPosition == 1 &&
      !QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty()) {
    form.Combo_Port[port_list::kOpenClose].setListIndex(0);  // free the line
    QProcess mbpoll;
    mbpoll.start(QStringLiteral("mbpoll"),
                 {QStringLiteral("-m"), QStringLiteral("rtu"), QStringLiteral("-a"), QStringLiteral("1"),
                  QStringLiteral("-b"), QStringLiteral("9600"), QStringLiteral("-P"), QStringLiteral("even"),
                  QStringLiteral("-t"), QStringLiteral("4"), QStringLiteral("-r"), QStringLiteral("43"),
                  QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-o"), QStringLiteral("2"),
                  QStringLiteral("-1"), simPath});
    ASSERT_TRUE(mbpoll.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(mbpoll.readAllStandardOutput());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\\[43\\]:\\s+45\\b")).match(out).hasMatch())
        << out.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ReadOutOnSim,
                         ::testing::Values(ModeRow{"rtu", 1, false}, ModeRow{"ascii_fast", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
