// The program without its window, on the virtual clock, talking to the
// in-process simulated device: the whole read-out on opening, and a
// write-back of every kind of change, in RTU and in ASCII.

#include "model/change_tracking.h"
#include "transactions/jobs.h"
#include "sim_test_helpers.h"
#include "support/window_shows.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

using test::CoreOn;

// Every field, text, unit and bit the read-out fills shows the device's value.
void ExpectWindowShows(const ConfigCore& core, const DeviceImage& image) {
  for (const std::string& difference : rbx14::test::WindowDifferences(core, image)) ADD_FAILURE() << difference;
}

struct ModeRow {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  LineMode mode;
};
const auto kModes = ::testing::Values(ModeRow{"rtu", 1, LineMode::Rtu}, ModeRow{"ascii", 0, LineMode::Ascii});

class CoreOnSimulator : public CoreOn<>, public ::testing::TestWithParam<ModeRow> {};

// Opening reads the whole device; a write-back of the kinds of change the
// frame traces leave out reaches the device and ends with a fresh read-out.
TEST_P(CoreOnSimulator, OpeningReadsTheDeviceAndAWriteBackChangesIt) {
  // (What the window shows after the read-out is in the fault rows below.)
  ASSERT_TRUE(openAndReadOut(GetParam().modeListPosition));
  ASSERT_TRUE(messages.shown.isEmpty());
  EXPECT_EQ(core.globals.iBusDelay, static_cast<int>(device.image().reg(0x21)));
  EXPECT_FALSE(core.form.set_parameter.enabled());
  FrmConfig& form = core.form;
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
  test::Type(form.txt_data_in[23], QStringLiteral("-1"));
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
  // Read back (the bit lists and the marks are in what the window shows),
  // the automatic stage keeps its unsigned value and its item.
  ExpectWindowShows(core, image);
  EXPECT_EQ(form.txt_data_in[15].text(), u"65283");
  EXPECT_EQ(form.cmb_in[15].listIndex(), 7);
  EXPECT_EQ(form.cmb_cfg[9].listIndex(), button4);
}

INSTANTIATE_TEST_SUITE_P(Modes, CoreOnSimulator, kModes,
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

FaultRow Fault(const char* name, double FaultSettings::*rate, double chance) {
  FaultSettings f{.seed = 3};  // a late answer comes 1.5 s late
  f.*rate = chance;
  return {name, f, chance < 1.0};
}

class ReadOutUnderFaults : public ::testing::TestWithParam<std::tuple<FaultRow, ModeRow, bool /*fast*/>> {};

TEST_P(ReadOutUnderFaults, EndsWithTheDevicesDataOrWithTheWarning) {
  const auto& [row, mode, fast] = GetParam();
  CoreOn<> on(test::WithFaults(row.faults, mode.mode));
  ConfigCore& core = on.core;
  core.timing.setFast(fast);
  on.list(port_list::kMode).setListIndex(mode.modeListPosition);
  on.list(port_list::kOpenClose).setListIndex(1);
  const auto warned = [&] { return core.form.lbl_desc[desc::kCommWarning].visible(); };
  on.clock.advanceUntil([&] { return (core.responses.completedReadOuts() == 1 && on.idle()) || warned(); }, 60000);
  EXPECT_EQ(warned(), !row.readable);
  if (row.readable) {
    ASSERT_EQ(core.responses.completedReadOuts(), 1);
    ExpectWindowShows(core, on.device.image());
  } else {
    EXPECT_LE(on.clock.nowMs(), 6200);
    EXPECT_EQ(core.responses.completedReadOuts(), 0);
    EXPECT_TRUE(core.form.txt_data_cfg[0].text().isEmpty());
    EXPECT_FALSE(core.frmState.loaded());
  }
  EXPECT_TRUE(on.messages.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadOutUnderFaults,
    ::testing::Combine(
        ::testing::Values(Fault("late", &FaultSettings::lateRate, 0.1),
                          Fault("damaged", &FaultSettings::corruptRate, 0.1),
                          Fault("lost", &FaultSettings::dropRate, 0.1),
                          Fault("otherAddress", &FaultSettings::wrongAddressRate, 0.1),
                          Fault("stray", &FaultSettings::strayRate, 0.1),
                          Fault("collision", &FaultSettings::collisionRate, 0.1),
                          Fault("allDamaged", &FaultSettings::corruptRate, 1.0),
                          Fault("allOtherAddress", &FaultSettings::wrongAddressRate, 1.0),
                          FaultRow{"silent", {.silentAfter = 0}, false}),
        kModes, ::testing::Bool()),
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
  const char* left;  // not read, or written; nullptr: nothing is said
  const char* notWritten = "";
};

class BrokenOff : public ::testing::TestWithParam<BrokenOffRow> {};

TEST_P(BrokenOff, TheEndSaysWhatTheDeviceHoldsOrWhatWasNotRead) {
  const BrokenOffRow& row = GetParam();
  CoreOn<> on(test::WithFaults({.silentAfter = row.silentAfter}));
  ConfigCore& core = on.core;
  QStringList ends, statuses;
  core.progress.addListener([&](const TransactionEnd& end) {
    if (const QString m = core.progress.endMessage(end, true); !m.isEmpty()) ends << m;
    if (const QString s = core.progress.endStatus(end, true); !s.isEmpty()) statuses << s;
  });
  on.list(port_list::kMode).setListIndex(1);
  on.list(port_list::kOpenClose).setListIndex(1);
  on.clock.advanceUntil([] { return false; }, 60000);
  if (row.write) {
    ASSERT_TRUE(ends.isEmpty()) << ends.join(u'\n').toStdString();
    core.form.txt_data_cfg[42].setText(QStringLiteral("45"));
    if (row.inputEdit) test::Type(core.form.txt_data_in[23], QStringLiteral("-1"));
    core.form.set_parameter.click();
    on.clock.advanceUntil([] { return false; }, 90000);
  }
  if (row.left == nullptr) {
    // The transaction ran to its end, and said nothing.
    EXPECT_EQ(core.responses.completedReadOuts(), row.write ? 2 : 1);
    if (row.write) {
      EXPECT_EQ(on.device.image().reg(42), 45);
    }
    EXPECT_TRUE(ends.isEmpty()) << ends.join(u'\n').toStdString();
    EXPECT_TRUE(statuses.isEmpty());
    return;
  }
  const QString left = QString::fromLatin1(row.left);
  const QString notWritten = QString::fromLatin1(row.notWritten);
  ASSERT_FALSE(ends.isEmpty());
  if (row.write) {
    EXPECT_EQ(ends.front(), QStringLiteral("The write stopped without an answer from the device: written: ") + left +
                                QStringLiteral("; not written: ") + notWritten + u'.');
    EXPECT_EQ(statuses.front(), QStringLiteral("Write incomplete, not written: ") + notWritten);
  } else {
    EXPECT_EQ(ends.front(), QStringLiteral("The read-out stopped without an answer from the device: ") + left +
                                QStringLiteral(" were not read: they do not show the device's values."));
    EXPECT_EQ(statuses.front(), QStringLiteral("Read-out incomplete, not read: ") + left);
  }
}

#define RBX14_ALL_BLOCKS "text registers 0x0300-0x03DB, unit registers 0x0400-0x043B and bits 0-31"
INSTANTIATE_TEST_SUITE_P(
    Rows, BrokenOff,
    ::testing::Values(
        BrokenOffRow{"readout_done", -1, false, false, nullptr},
        BrokenOffRow{"readout_silent_after_three_blocks", 1 + 3, false, false,
                     "configuration registers 30-59, the display texts, units, bits, input values and input bits"},
        BrokenOffRow{"readout_silent_in_the_texts", 1 + 6 + 5, false, false,
                     "display texts 5-21, units, bits, input values and input bits"},
        BrokenOffRow{"readout_silent_at_the_input_values", 1 + 34 + 1, false, false, "input values and input bits"},
        BrokenOffRow{"readout_silent_before_the_input_bits", 1 + 34 + 2, false, false, "input bits"},
        BrokenOffRow{"write_done", -1, true, true, nullptr},
        BrokenOffRow{"write_silent_at_the_first_block", 38, true, false, "nothing",
                     "registers 0-59, " RBX14_ALL_BLOCKS},
        BrokenOffRow{"write_silent_after_one_block", 38 + 1, true, false, "registers 0-9",
                     "registers 10-59, " RBX14_ALL_BLOCKS},
        BrokenOffRow{"write_silent_after_two_blocks", 38 + 2, true, false, "registers 0-19",
                     "registers 20-59, " RBX14_ALL_BLOCKS},
        BrokenOffRow{"write_silent_before_the_bits", 38 + 34, true, false,
                     "registers 0-59, text registers 0x0300-0x03DB and unit registers 0x0400-0x043B", "bits 0-31"},
        BrokenOffRow{"write_silent_before_the_input_register", 38 + 35, true, true,
                     "registers 0-59, " RBX14_ALL_BLOCKS, "input registers 0x0217"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
