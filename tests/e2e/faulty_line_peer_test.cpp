// Against a slave of an independent Modbus implementation (pymodbus) on a
// pseudo-terminal, in RTU and in ASCII: the read-out, over a line that holds
// some answers past the repeat or puts a stray byte ahead of them, shows
// exactly the slave's data in both timings.

#include "pymodbus_peer.h"
#include "run_until.h"
#include "base/codepage.h"
#include "session/config_core.h"
#include "base/numbers.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"
#include "transactions/jobs.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace rbx14 {
namespace {

using test::HavePymodbus;
using test::kPython;

// What the slave holds (pymodbus_slave.py, image_value) for address 1.
int SlaveRegister(int r) {
  switch (r) {
    case 0: return 0x0501;
    case 1: return 71;
    case 2: return 1;
    case 15: return 11;
    case 0x21: return 1;
    default: return (r * 37 + 11) % 1000;
  }
}
QByteArray SlaveText(int k) { return QByteArray("Text ") + QByteArray::number(k).rightJustified(2, '0') + QByteArray(13, '\0'); }
QByteArray SlaveUnit(int u) {
  return QByteArray(1, static_cast<char>(65 + u % 26)) + static_cast<char>(97 + u % 3) + '\0';
}

struct LineRow {
  const char* name;
  const char* mode;
  bool fast;
  const char* fault;  // --late or --stray
  int every;
};
std::ostream& operator<<(std::ostream& os, const LineRow& row) { return os << row.name; }

using test::RunUntil;

class ReadOutOverAFaultyLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(ReadOutOverAFaultyLine, ShowsExactlyTheSlavesData) {
  if (!HavePymodbus()) GTEST_SKIP() << "no python3-pymodbus";
  const LineRow& row = GetParam();
  QProcess slave;
  slave.start(kPython, {QStringLiteral(RBX14_PYMODBUS_SLAVE), QStringLiteral("--line"),
                        QString::fromLatin1(row.fault), QString::number(row.every),
                        QString::fromLatin1(row.mode), QStringLiteral("1")});
  while (!slave.canReadLine() && slave.waitForReadyRead(20000)) {
  }
  const QString line = QString::fromLocal8Bit(slave.readLine()).trimmed();
  const QStringList ready = line.split(u' ');
  ASSERT_EQ(ready.size(), 2) << "the pymodbus slave did not start: " << line.toStdString()
                             << slave.readAllStandardError().toStdString();
  QThread::msleep(1500);  // the slave opens its side after it said so

  QtScheduler scheduler;
  test::RecordingMessageBoxes messages;
  QtSerialPort port(PortMap({{1, ready[1]}}));
  ConfigCore core(scheduler, port, messages);
  core.timing.setFast(row.fast);
  core.Main();
  FrmConfig& form = core.form;
  form.Combo_Port[port_list::kParity].setListIndex(0);
  form.Combo_Port[port_list::kMode].setListIndex(QByteArray(row.mode) == "rtu" ? 1 : 0);
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  // The registers, texts, units and bits; the request for the external
  // values carries a byte this slave does not expect.
  const bool reached = RunUntil(
      [&] { return core.globals.lJobState == 7 || form.lbl_desc[desc::kCommWarning].visible(); }, 90000);
  const bool warning = form.lbl_desc[desc::kCommWarning].visible();
  form.Combo_Port[port_list::kOpenClose].setListIndex(0);
  slave.kill();
  slave.waitForFinished(5000);
  ASSERT_TRUE(reached);
  EXPECT_FALSE(warning);
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
    ::testing::Values(LineRow{"rtu_late", "rtu", false, "--late", 9},
                      LineRow{"ascii_late_fast", "ascii", true, "--late", 9},
                      LineRow{"rtu_stray_fast", "rtu", true, "--stray", 1},
                      LineRow{"ascii_stray", "ascii", false, "--stray", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
