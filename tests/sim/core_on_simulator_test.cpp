// The program without its window, on the virtual clock, talking to the
// in-process simulated device: the whole read-out on opening, and a
// write-back of every kind of change, in RTU and in ASCII.

#include "session/config_core.h"
#include "model/change_tracking.h"
#include "transactions/jobs.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_serial_port.h"
#include "sim_test_helpers.h"
#include "support/fake_serial_port.h"
#include "support/tapped_port.h"
#include "support/window_shows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rbx14::sim {
namespace {

using test::Framed;


// Every field, text, unit and bit the read-out fills shows the device's value.
void ExpectWindowShows(const ConfigCore& core, const DeviceImage& image) {
  for (const std::string& difference : rbx14::test::WindowDifferences(core, image)) ADD_FAILURE() << difference;
}

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  LineMode mode;
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

class CoreOnSimulator : public ::testing::TestWithParam<ModeRow> {
 protected:
  CoreOnSimulator() : core(clock, tapped, messages) { core.Main(); }

  ComboBox& list(int index) { return core.form.Combo_Port[index]; }

  VirtualScheduler clock;
  SimulatedDevice device;
  SimulatedSerialPort simulated{clock, device};
  rbx14::test::TappedPort tapped{simulated, clock};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core;

  // Opens the port and runs until the read-out chain has ended.
  void openAndReadOut() {
    list(port_list::kMode).setListIndex(GetParam().modeListPosition);
    list(port_list::kOpenClose).setListIndex(1);
    ASSERT_TRUE(messages.shown.isEmpty());
    ASSERT_TRUE(clock.advanceUntil([this] { return core.frmState.loaded(); }, 2000));
    ASSERT_TRUE(clock.advanceUntil([this] { return idle(); }, 30000));
  }
  bool idle() const { return core.globals.lJobState == 0 && !core.frmState.loaded(); }

  void expectWindowShowsTheDevice() { ExpectWindowShows(core, device.image()); }
};

// Opening reads the whole device; a write-back of every kind of change
// reaches the device and ends with a fresh read-out.
TEST_P(CoreOnSimulator, OpeningReadsTheDeviceAndAWriteBackChangesIt) {
  openAndReadOut();
  // The frames themselves, their order and timing are in the frame traces.
  EXPECT_EQ(core.globals.iBusDelay, static_cast<int>(device.image().reg(0x21)));
  expectWindowShowsTheDevice();
  EXPECT_TRUE(core.form.window.enabled());
  EXPECT_FALSE(core.form.set_parameter.enabled());
  FrmConfig& form = core.form;
  // (A field, a text, a bit, an input list and an input bit written back:
  // the frame traces, whose read-back shows the device's new values.)
  form.txt_data_cfg[17].setText(QStringLiteral("27,5"));
  form.txt_data_cfg_unit[4].setText(QStringLiteral("kW"));
  ASSERT_EQ(form.txt_data_cfg[17].foreColor(), colors::kRed);
  // Bits and external values edited as the technician does; their handlers
  // mark them.
  const int button4 = form.cmb_cfg[9].listIndex() == 1 ? 2 : 1;  // a setting's list
  form.cmb_cfg[9].setListIndex(button4);
  ASSERT_EQ(form.cmb_cfg[9].foreColor(), colors::kRed);
  const int bit20 = 1 - form.chk_cfg[20].value();
  form.cmb_bit_cfg[20].setListIndex(bit20);
  form.cmb_in[15].setListIndex(7);  // automatic stage 3
  form.txt_data_in[23].setText(QString());
  for (QChar key : QStringLiteral("-1")) {
    if (form.txt_data_in[23].filterKey(key.unicode()) != 0) {
      form.txt_data_in[23].setText(form.txt_data_in[23].text() + key);
    }
  }
  form.txt_data_in[23].lostFocus();
  for (const Control* marked : std::initializer_list<const Control*>{
           &form.chk_cfg[20], &form.cmb_bit_cfg[20], &form.txt_data_in[15], &form.txt_data_in[23]}) {
    ASSERT_EQ(marked->foreColor(), colors::kRed);
  }

  form.set_parameter.click();
  ASSERT_TRUE(core.frmState.loaded());
  EXPECT_TRUE(core.frmState.Abbruch.visible());
  // The write chain: once the configuration blocks are acknowledged the
  // setting's list is no longer marked; then a complete read-out.
  ASSERT_TRUE(clock.advanceUntil([this] { return core.globals.lJobState == 4; }, 60000));
  EXPECT_NE(form.cmb_cfg[9].foreColor(), colors::kRed);
  ASSERT_TRUE(clock.advanceUntil([this] { return core.globals.lJobState == 1; }, 60000));
  ASSERT_TRUE(clock.advanceUntil([this] { return idle(); }, 60000));

  DeviceImage& image = device.image();
  EXPECT_EQ(image.reg(17), 275);
  EXPECT_EQ(image.textBytes(0x40A).mid(4, 4), QByteArray("kW\0\0", 4));
  EXPECT_EQ(image.coil(20), bit20 == 1);
  EXPECT_EQ(image.reg(0x20F), 0xFF03);
  EXPECT_EQ(image.reg(0x217), 0xFFFF);
  expectWindowShowsTheDevice();
  // Read back, the automatic stage keeps its unsigned value and its item.
  EXPECT_EQ(form.txt_data_in[15].text(), u"65283");
  EXPECT_EQ(form.cmb_in[15].listIndex(), 7);
  EXPECT_EQ(form.cmb_bit_cfg[20].listIndex(), bit20);
  EXPECT_EQ(form.cmb_cfg[9].listIndex(), button4);
  EXPECT_NE(form.cmb_cfg[9].foreColor(), colors::kRed);
  EXPECT_EQ(form.txt_data_cfg[17].text(), u"27,5");
}

INSTANTIATE_TEST_SUITE_P(Modes, CoreOnSimulator,
                         ::testing::Values(ModeRow{"rtu", 1, LineMode::Rtu},
                                           ModeRow{"ascii", 0, LineMode::Ascii}),
                         [](const auto& info) { return std::string(info.param.name); });

// The read-out against a device whose answers a fault spoils, in both modes
// and both timings. With one answer in ten spoilt (damaged, late past the
// repeat, lost, from another address, after a stray byte, overlaid by a
// second device) the read-out ends and shows exactly the device's data;
// a device that answers nothing usable shows the warning after the repeats
// (six seconds) and no field that looks read.
struct FaultRow {
  const char* name;
  FaultSettings faults;
  bool readable;
};
std::ostream& operator<<(std::ostream& os, const FaultRow& row) { return os << row.name; }

FaultSettings Fault(double FaultSettings::*rate, double chance, std::uint64_t seed = 3) {
  FaultSettings f;
  f.seed = seed;
  f.*rate = chance;
  return f;
}

FaultSettings Silent() {
  FaultSettings f;
  f.silentAfter = 0;
  return f;
}

class ReadOutUnderFaults
    : public ::testing::TestWithParam<std::tuple<FaultRow, ModeRow, bool /*fast*/>> {};

TEST_P(ReadOutUnderFaults, EndsWithTheDevicesDataOrWithTheWarning) {
  const auto& [row, mode, fast] = GetParam();
  VirtualScheduler clock;
  SimulatedDevice device(DeviceSettings{mode.mode, 1, std::nullopt, row.faults});
  SimulatedSerialPort port{clock, device};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core(clock, port, messages);
  core.timing.setFast(fast);
  core.Main();
  core.form.Combo_Port[port_list::kMode].setListIndex(mode.modeListPosition);
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  const bool warning = clock.advanceUntil(
      [&] {
        return (core.responses.completedReadOuts() == 1 && core.globals.lJobState == 0 &&
                !core.frmState.loaded()) ||
               core.form.lbl_desc[desc::kCommWarning].visible();
      },
      60000) && core.form.lbl_desc[desc::kCommWarning].visible();
  if (row.readable) {
    EXPECT_FALSE(warning);
    ASSERT_EQ(core.responses.completedReadOuts(), 1);
    ExpectWindowShows(core, device.image());
  } else {
    EXPECT_TRUE(warning);
    EXPECT_LE(clock.nowMs(), 6200);
    EXPECT_EQ(core.responses.completedReadOuts(), 0);
    EXPECT_TRUE(core.form.txt_data_cfg[0].text().isEmpty());
    EXPECT_FALSE(core.frmState.loaded());
  }
  EXPECT_TRUE(messages.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadOutUnderFaults,
    ::testing::Combine(
        ::testing::Values(
            FaultRow{"late", [] { FaultSettings f = Fault(&FaultSettings::lateRate, 0.1); f.lateMs = 1500; return f; }(), true},
            FaultRow{"damaged", Fault(&FaultSettings::corruptRate, 0.1), true},
            FaultRow{"lost", Fault(&FaultSettings::dropRate, 0.1), true},
            FaultRow{"otherAddress", Fault(&FaultSettings::wrongAddressRate, 0.1), true},
            FaultRow{"stray", Fault(&FaultSettings::strayRate, 0.1), true},
            FaultRow{"collision", Fault(&FaultSettings::collisionRate, 0.1), true},
            FaultRow{"allDamaged", Fault(&FaultSettings::corruptRate, 1.0), false},
            FaultRow{"allOtherAddress", Fault(&FaultSettings::wrongAddressRate, 1.0), false},
            FaultRow{"silent", Silent(), false}),
        ::testing::Values(ModeRow{"rtu", 1, LineMode::Rtu}, ModeRow{"ascii", 0, LineMode::Ascii}),
        ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name +
             (std::get<2>(info.param) ? "_fast" : "_standard");
    });


// A read-out or write that breaks off says what it left: the device falls
// silent after a number of answers (the probe and the 37 answers of the
// read-out on opening come first for a write). The message names exactly
// the blocks the device acknowledged, or the fields not read; a
// transaction that ends well says nothing.
struct BrokenOffRow {
  const char* name;
  int silentAfter;  // -1: the device keeps answering
  bool write;
  bool inputEdit;   // the write also changes input register 23
  const char16_t* message;
  const char16_t* status;
};
std::ostream& operator<<(std::ostream& os, const BrokenOffRow& row) { return os << row.name; }

class BrokenOff : public ::testing::TestWithParam<BrokenOffRow> {};

TEST_P(BrokenOff, TheEndSaysWhatTheDeviceHoldsOrWhatWasNotRead) {
  const BrokenOffRow& row = GetParam();
  FaultSettings faults;
  faults.silentAfter = row.silentAfter;
  VirtualScheduler clock;
  SimulatedDevice device(DeviceSettings{LineMode::Rtu, 1, std::nullopt, faults});
  SimulatedSerialPort port{clock, device};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core(clock, port, messages);
  QStringList ends;
  QStringList statuses;
  core.progress.addListener([&](const TransactionEnd& end) {
    if (const QString m = core.progress.endMessage(end, true); !m.isEmpty()) ends << m;
    if (const QString s = core.progress.endStatus(end, true); !s.isEmpty()) statuses << s;
  });
  core.Main();
  core.form.Combo_Port[port_list::kMode].setListIndex(1);
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  clock.advanceUntil([] { return false; }, 60000);
  if (row.write) {
    ASSERT_TRUE(ends.isEmpty()) << ends.join(u'\n').toStdString();
    core.form.txt_data_cfg[42].setText(QStringLiteral("45"));
    if (row.inputEdit) {
      TextBox& field = core.form.txt_data_in[23];
      field.setText(QString());
      for (QChar key : QStringLiteral("-1")) {
        if (field.filterKey(key.unicode()) != 0) field.setText(field.text() + key);
      }
      field.lostFocus();
    }
    core.form.set_parameter.click();
    clock.advanceUntil([] { return false; }, 90000);
  }
  if (row.message == nullptr) {
    // The transaction ran to its end, and said nothing.
    EXPECT_EQ(core.responses.completedReadOuts(), row.write ? 2 : 1);
    if (row.write) {
      EXPECT_EQ(device.image().reg(42), 45);
    }
    EXPECT_TRUE(ends.isEmpty()) << ends.join(u'\n').toStdString();
    EXPECT_TRUE(statuses.isEmpty());
    return;
  }
  ASSERT_FALSE(ends.isEmpty());
  EXPECT_EQ(ends.front(), QString::fromUtf16(row.message));
  EXPECT_EQ(statuses.front(), QString::fromUtf16(row.status));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BrokenOff,
    ::testing::Values(
        BrokenOffRow{"readout_done", -1, false, false, nullptr, nullptr},
        BrokenOffRow{"readout_silent_after_three_blocks", 1 + 3, false, false,
                     u"The read-out stopped without an answer from the device: configuration "
                     u"registers 30-59, the display texts, units, bits, input values and input bits "
                     u"were not read: they do not show the device's values.",
                     u"Read-out incomplete, not read: configuration registers 30-59, the display "
                     u"texts, units, bits, input values and input bits"},
        BrokenOffRow{"readout_silent_in_the_texts", 1 + 6 + 5, false, false,
                     u"The read-out stopped without an answer from the device: display texts "
                     u"5-21, units, bits, input values and input bits were not read: they do not "
                     u"show the device's values.",
                     u"Read-out incomplete, not read: display texts 5-21, units, bits, input values "
                     u"and input bits"},
        BrokenOffRow{"readout_silent_at_the_input_values", 1 + 34 + 1, false, false,
                     u"The read-out stopped without an answer from the device: input values and "
                     u"input bits were not read: they do not show the device's values.",
                     u"Read-out incomplete, not read: input values and input bits"},
        BrokenOffRow{"readout_silent_before_the_input_bits", 1 + 34 + 2, false, false,
                     u"The read-out stopped without an answer from the device: input bits were "
                     u"not read: they do not show the device's values.",
                     u"Read-out incomplete, not read: input bits"},
        BrokenOffRow{"write_done", -1, true, true, nullptr, nullptr},
        BrokenOffRow{"write_silent_after_one_block", 38 + 1, true, false,
                     u"The write stopped without an answer from the device: written: registers "
                     u"0-9; not written: registers 10-59, text registers 0x0300-0x03DB, unit "
                     u"registers 0x0400-0x043B and bits 0-31.",
                     u"Write incomplete, not written: registers 10-59, text registers "
                     u"0x0300-0x03DB, unit registers 0x0400-0x043B and bits 0-31"},
        BrokenOffRow{"write_silent_after_two_blocks", 38 + 2, true, false,
                     u"The write stopped without an answer from the device: written: registers "
                     u"0-19; not written: registers 20-59, text registers 0x0300-0x03DB, unit "
                     u"registers 0x0400-0x043B and bits 0-31.",
                     u"Write incomplete, not written: registers 20-59, text registers "
                     u"0x0300-0x03DB, unit registers 0x0400-0x043B and bits 0-31"},
        BrokenOffRow{"write_silent_before_the_bits", 38 + 34, true, false,
                     u"The write stopped without an answer from the device: written: registers "
                     u"0-59, text registers 0x0300-0x03DB and unit registers 0x0400-0x043B; not "
                     u"written: bits 0-31.",
                     u"Write incomplete, not written: bits 0-31"},
        BrokenOffRow{"write_silent_before_the_input_register", 38 + 35, true, true,
                     u"The write stopped without an answer from the device: written: registers "
                     u"0-59, text registers 0x0300-0x03DB, unit registers 0x0400-0x043B and bits "
                     u"0-31; not written: input registers 0x0217.",
                     u"Write incomplete, not written: input registers 0x0217"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
