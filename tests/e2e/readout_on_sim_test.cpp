// The whole program's core on the real port path: QSerialPort on the
// pseudo-terminal of a separate rbx14-sim process, at 9600 baud paced like a
// real line (RTU with the standard timing, ASCII with the fast link). Opening the
// port reads the whole device; a write-back changes it, and an independent
// master (mbpoll, RTU) reads the new values back.

#include "e2e_helpers.h"
#include "session/config_core.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/window_shows.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStandardPaths>

namespace rbx14 {
namespace {

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  bool fast;             // the fast link instead of the standard timing
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

using test::RunUntil;

class ReadOutOnSim : public ::testing::TestWithParam<ModeRow> {};

TEST_P(ReadOutOnSim, OpeningReadsTheDeviceAndAWriteBackChangesIt) {
  const bool rtu = GetParam().modeListPosition == 1;
  test::Peer sim(QStringLiteral(RBX14_SIM_PROGRAM), test::Args(rtu ? "--mode rtu" : "--mode ascii"));
  ASSERT_TRUE(sim.where().startsWith(u"/dev/")) << sim.where().toStdString();
  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  QtSerialPort port(PortMap({{1, sim.where()}}));
  ConfigCore core(scheduler, port, messages);
  core.timing.setFast(GetParam().fast);
  core.Main();
  FrmConfig& form = core.form;
  form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  const auto idle = [&] { return core.globals.lJobState == 0 && !core.frmState.loaded(); };
  ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u'|').toStdString();
  ASSERT_TRUE(RunUntil([&] { return core.frmState.loaded(); }, 5000));
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

  if (rtu && !QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty()) {
    form.Combo_Port[port_list::kOpenClose].setListIndex(0);  // free the line
    QProcess mbpoll;
    mbpoll.start(QStringLiteral("mbpoll"), test::Args("-m rtu -a 1 -b 9600 -P even -t 4 -r 43 -c 1 -o 2 -1")
                                               << sim.where());
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
