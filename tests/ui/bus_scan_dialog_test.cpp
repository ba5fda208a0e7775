// The bus scan from the Tools menu, offscreen on the virtual clock against
// two simulated devices: the menu entry only with the port open, the found
// devices in the table, cancel, and "Open" reading the chosen one out.

#include "base/texts.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"
#include "ui/bus_scan_dialog.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace rbx14 {
namespace {

class BusScanDialogTest : public ::testing::Test {
 protected:
  BusScanDialogTest() : core(clock, port, messages), window((core.Main(), core), opener, files) {
    bus.device(3)->image().setReg(2, 0);  // the first type of the list
    bus.device(17)->image().setReg(2, 9);
    window.show();
  }

  QAction* scanAction() {
    auto* action = window.findChild<QAction*>(QStringLiteral("MenuScanBus"));
    // The menu decides when it opens.
    if (action != nullptr) emit qobject_cast<QMenu*>(action->parent())->aboutToShow();
    return action;
  }
  // Opens the port without an address (no probe), then the dialog from the menu.
  BusScanDialog* openDialog() {
    core.form.txt_Modbus_adress.setText(QString());
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
    scanAction()->trigger();
    return window.findChild<BusScanDialog*>();
  }
  template <class W>
  W* in(BusScanDialog* d, const char* name) {
    return d->findChild<W*>(QString::fromLatin1(name));
  }

  VirtualScheduler clock;
  sim::SimulatedBus bus{sim::DeviceSettings{}, {3, 17}};
  sim::SimulatedSerialPort port{clock, bus};
  test::RecordingMessageBoxes messages;
  ConfigCore core;
  test::RecordingOpener opener;
  test::ScriptedFileDialogs files;
  MainWindow window;
};

TEST_F(BusScanDialogTest, ListsTheDevicesAndOpenReadsTheChosenOneOut) {
  QAction* action = scanAction();
  ASSERT_NE(action, nullptr);
  EXPECT_FALSE(action->isEnabled()) << "port closed";
  BusScanDialog* d = openDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(action->isEnabled());
  const bool english = core.globals.english();
  const QString line = core.globals.settingsString() + u' ' + core.globals.sModbusMode;
  // The status follows the range as it is edited; a reversed range is empty
  // and starts nothing.
  in<QSpinBox>(d, "ScanFrom")->setValue(10);
  in<QSpinBox>(d, "ScanTo")->setValue(5);
  EXPECT_EQ(in<QLabel>(d, "ScanStatus")->text(), texts::kScanEmptyRange.in(english).arg(10).arg(5));
  in<QPushButton>(d, "ScanStart")->click();
  EXPECT_FALSE(core.scan.running());
  in<QSpinBox>(d, "ScanFrom")->setValue(1);
  in<QSpinBox>(d, "ScanTo")->setValue(20);
  EXPECT_EQ(in<QLabel>(d, "ScanStatus")->text(), texts::kScanReady.in(english).arg(20).arg(line));
  in<QPushButton>(d, "ScanStart")->click();
  EXPECT_TRUE(core.scan.running());
  EXPECT_FALSE(in<QPushButton>(d, "ScanStart")->isEnabled());
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.scan.running(); }, 10000));

  QTableWidget* table = d->table();
  ASSERT_EQ(table->rowCount(), 2);
  EXPECT_EQ(QStringList({table->item(0, 0)->text(), table->item(0, 1)->text(), table->item(1, 0)->text(),
                         table->item(1, 1)->text()}),
            QStringList({"3", "VX0", "17", "VX9"}));
  // The response time is register 15; register 0x0021 is named for what it
  // holds on this unit.
  EXPECT_EQ(table->item(1, 4)->text(), QString::number(core.scan.devices()[1].responseTimeMs.value_or(-1)));
  EXPECT_EQ(table->horizontalHeaderItem(5)->text(), texts::kScanColumnDelay.in(english));
  EXPECT_EQ(in<QLabel>(d, "ScanStatus")->text(), texts::kScanDone.in(english).arg(2));

  table->selectRow(1);
  in<QPushButton>(d, "ScanOpen")->click();
  EXPECT_EQ(core.form.txt_Modbus_adress.text(), u"17");
  ASSERT_TRUE(clock.advanceUntil([&] { return core.frmState.loaded(); }, 2000));
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.busy(); }, 60000));
  EXPECT_EQ(core.form.txt_data_cfg[2].text(), u"9");
  EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(BusScanDialogTest, CancelLeavesTheDialogAndTheLineUsable) {
  BusScanDialog* d = openDialog();
  ASSERT_NE(d, nullptr);
  d->startScan();
  clock.advance(150);
  ASSERT_TRUE(core.scan.running());
  in<QPushButton>(d, "ScanCancel")->click();
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.scan.running(); }, 200));
  EXPECT_TRUE(in<QPushButton>(d, "ScanStart")->isEnabled());
  EXPECT_FALSE(in<QPushButton>(d, "ScanCancel")->isEnabled());
  EXPECT_TRUE(core.form.Timer4->enabled()) << "the receive poll runs again";

  // Closing while a scan runs waits for it to end, then the dialog goes.
  d->startScan();
  clock.advance(30);
  d->reject();
  EXPECT_TRUE(d->isVisible());
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.scan.running(); }, 200));
  EXPECT_FALSE(d->isVisible());
}

// The devices answer at other settings than the lists': the sweep finds
// one and "Open" opens it under its own.
TEST_F(BusScanDialogTest, FindsAUnitUnderOtherSettingsAndOpensItUnderThose) {
  port.setDeviceLine(PortSettings{57600, 'N', 8, 1});
  BusScanDialog* d = openDialog();
  ASSERT_NE(d, nullptr);
  in<QSpinBox>(d, "ScanTo")->setValue(4);
  d->setTryAllSettings(true);
  std::optional<int> opened;
  QObject::connect(d, &BusScanDialog::openRequested, [&](int address) { opened = address; });
  d->startScan();
  ASSERT_TRUE(clock.advanceUntil([&] { return !core.scan.running() && !core.sweep.running(); }, 120000));
  QTableWidget* table = d->table();
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(table->item(0, 0)->text(), u"3");
  EXPECT_EQ(table->item(0, 6)->text(), u"57600 None RTU");
  EXPECT_EQ(port.settings(), u"9600,E,8,1") << "the lists are back where they were";

  table->selectRow(0);
  in<QPushButton>(d, "ScanOpen")->click();
  EXPECT_EQ(opened, 3);
  EXPECT_EQ(port.settings(), u"57600,N,8,1");
  EXPECT_EQ(core.form.Combo_Port[port_list::kBaud].listIndex(), 2);
  EXPECT_TRUE(port.portOpen());
}

}  // namespace
}  // namespace rbx14
