// Against a slave of an independent Modbus implementation (pymodbus) on a
// pseudo-terminal, in RTU and in ASCII: the read-out, over a line that holds
// some answers past the repeat or puts a stray byte ahead of them, shows
// exactly the slave's data in both timings.

#include "e2e_helpers.h"
#include "base/codepage.h"
#include "session/config_core.h"
#include "base/numbers.h"
#include "link/port_map.h"
#include "link/qt_scheduler.h"
#include "link/qt_serial_port.h"
#include "support/fake_serial_port.h"
#include "transactions/jobs.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

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

class ReadOutOverAFaultyLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(ReadOutOverAFaultyLine, ShowsExactlyTheSlavesData) {
  if (!test::HavePymodbus()) GTEST_SKIP() << "no python3-pymodbus";
  const LineRow& row = GetParam();
  test::Peer slave(test::kPython, QStringList{test::kPymodbusSlave, QStringLiteral("--line"),
                                              QString::fromLatin1(row.fault), QString::number(row.every),
                                              QString::fromLatin1(row.mode), QStringLiteral("1")});
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
    ::testing::Values(LineRow{"rtu_late", "rtu", false, "--late", 9},
                      LineRow{"ascii_late_fast", "ascii", true, "--late", 9},
                      LineRow{"rtu_stray_fast", "rtu", true, "--stray", 1},
                      LineRow{"ascii_stray", "ascii", false, "--stray", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
