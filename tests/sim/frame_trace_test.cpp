// Every frame on the line, with its time on the virtual clock, its direction
// and the tap's check, while the program reads the simulated device out and
// writes a few changed fields back, in RTU and in ASCII. The traces are kept
// under tests/data/traces/: the exchange must not change by a byte or a
// microsecond unless on purpose. RBX14_WRITE_TRACES=1 writes them afresh.
// The fast link's traces hold the read-out and the write-back together: the
// same frames as the standard timing, only sooner, never a request before
// the answer was taken in, never less than 3.5 characters of silence before
// an RTU request.

#include "session/config_core.h"
#include "link/frame_tap.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

#include <QFile>

namespace rbx14::sim {
namespace {

struct TraceRow {
  const char* name;  // also the file name
  int modeListPosition;  // 0 ASCII, 1 RTU
  bool writeBack;
  bool fast = false;     // the fast link, the read-out kept in the trace
  int baudPosition = 0;  // 0 9600, 1 19200, 2 57600
};
std::ostream& operator<<(std::ostream& os, const TraceRow& row) { return os << row.name; }

class FrameTrace : public ::testing::TestWithParam<TraceRow> {
 protected:
  FrameTrace() : core(clock, tap, messages) {
    tap.addObserver([this](const TappedFrame& f) {
      static constexpr char kCheck[] = {'G', 'B', 'O'};
      trace += QByteArray::number(static_cast<qlonglong>(f.timeUs)) + ' ' +
               (f.direction == TappedFrame::Direction::Sent ? "> " : "< ") +
               kCheck[static_cast<int>(f.check)] + ' ' + f.bytes.toHex(' ') + '\n';
    });
    core.Main();
  }
  bool idle() const { return core.globals.lJobState == 0 && !core.frmState.loaded(); }

  VirtualScheduler clock;
  SimulatedDevice device;
  SimulatedSerialPort simulated{clock, device};
  FrameTap tap{simulated, clock};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core;
  QByteArray trace;
};

TEST_P(FrameTrace, TheLineCarriesTheRecordedFrames) {
  FrmConfig& form = core.form;
  core.timing.setFast(GetParam().fast);
  form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
  form.Combo_Port[port_list::kBaud].setListIndex(GetParam().baudPosition);
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  ASSERT_TRUE(clock.advanceUntil([this] { return core.frmState.loaded(); }, 2000));
  ASSERT_TRUE(clock.advanceUntil([this] { return idle(); }, 30000));
  if (GetParam().writeBack) {
    if (!GetParam().fast) trace.clear();
    form.txt_data_cfg[42].setText(QStringLiteral("45"));
    form.txt_data_cfg_txt[3].setText(QStringLiteral("Hallo Welt"));
    form.chk_cfg[5].click();
    form.cmb_in[16].setListIndex(1 - form.cmb_in[16].listIndex());
    form.chk_input[2].click();
    form.set_parameter.click();
    ASSERT_TRUE(clock.advanceUntil([this] { return core.globals.lJobState == 1; }, 60000));
    ASSERT_TRUE(clock.advanceUntil([this] { return idle(); }, 60000));
  }
  QFile file(QStringLiteral(RBX14_TRACE_DIR "/%1.txt").arg(QLatin1String(GetParam().name)));
  if (qEnvironmentVariableIntValue("RBX14_WRITE_TRACES") == 1) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(trace);
    return;
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
  // A multi-line mismatch is shown as a diff of the lines.
  EXPECT_EQ(trace.toStdString(), file.readAll().toStdString());
}

INSTANTIATE_TEST_SUITE_P(Modes, FrameTrace,
                         ::testing::Values(TraceRow{"rtu_read_out", 1, false},
                                           TraceRow{"rtu_write_back", 1, true},
                                           TraceRow{"ascii_read_out", 0, false},
                                           TraceRow{"ascii_write_back", 0, true},
                                           TraceRow{"fast_rtu9600", 1, true, true, 0},
                                           TraceRow{"fast_rtu57600", 1, true, true, 2},
                                           TraceRow{"fast_ascii9600", 0, true, true, 0},
                                           TraceRow{"fast_ascii19200", 0, true, true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
