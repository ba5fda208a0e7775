// The bus traffic window, offscreen: opened from the menu, it lists the
// frames of a read-out of the simulated device in batches; Pause, Clear,
// Copy and Save do what they say; the table follows the log's ring.

#include "link/virtual_scheduler.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"
#include "ui/main_window.h"
#include "ui/traffic_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace rbx14 {
namespace {

class TrafficViewTest : public ::testing::Test {
 protected:
  TrafficViewTest() : core(clock, tap, messages), window((core.Main(), core), opener, files) {
    window.setFrameTap(tap);
    window.show();
  }

  // Waits for the view's own timer to take in what came.
  static bool waitForRows(TrafficView& view, int atLeast) {
    return QTest::qWaitFor([&] { return view.model()->rowCount() >= atLeast; }, 3000);
  }
  template <class W>
  static W* part(TrafficView& view, const char* name) {
    return view.findChild<W*>(QString::fromLatin1(name));
  }
  static QString cell(TrafficView& view, int row, TrafficColumn column) {
    return view.model()->index(row, static_cast<int>(column)).data().toString();
  }

  VirtualScheduler clock;
  sim::SimulatedDevice device;
  sim::SimulatedSerialPort simulated{clock, device};
  FrameTap tap{simulated, clock};
  test::RecordingMessageBoxes messages;
  ConfigCore core;
  test::RecordingOpener opener;
  test::ScriptedFileDialogs files;
  MainWindow window;
};

// Pause stops the list but not the counters; Copy and Save give the rows.
TEST_F(TrafficViewTest, ShowsTheReadOutPauseClearCopyAndSave) {
  auto* entry = window.findChild<QAction*>(QStringLiteral("MenuTraffic"));
  ASSERT_TRUE(entry != nullptr && entry->isEnabled());
  entry->trigger();
  TrafficView* view = window.findChild<TrafficView*>();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(view->isWindow());
  EXPECT_EQ(view->windowTitle(), u"Busverkehr");
  EXPECT_EQ(view->model()->rowCount(), 0);

  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);  // the probe's answer starts a read-out
  clock.advanceUntil([this] { return core.frmState.loaded(); }, 2000);
  clock.advanceUntil([this] { return core.globals.lJobState == 0 && !core.frmState.loaded(); }, 30000);
  // The probe first, then the device's answer with its bus delay.
  ASSERT_TRUE(waitForRows(*view, 2));
  EXPECT_EQ(cell(*view, 0, TrafficColumn::Direction), u"→ gesendet");
  EXPECT_EQ(cell(*view, 0, TrafficColumn::Bytes), u"01 03 00 21 00 01 D4 00");
  EXPECT_TRUE(cell(*view, 0, TrafficColumn::Summary).contains(u"ab 0x0021, 1 Register"));
  EXPECT_EQ(cell(*view, 1, TrafficColumn::Direction), u"← empfangen");
  EXPECT_EQ(cell(*view, 1, TrafficColumn::Check), u"CRC gut");
  // A whole read-out: dozens of requests, each answered.
  ASSERT_TRUE(waitForRows(*view, 60));
  const int rows = view->model()->rowCount();
  EXPECT_EQ(part<QLabel>(*view, "TrafficRequests")->text(), QStringLiteral("Anfragen: %1").arg(rows / 2));
  EXPECT_EQ(part<QLabel>(*view, "TrafficAnswers")->text(), QStringLiteral("Antworten: %1").arg(rows / 2));
  EXPECT_EQ(part<QLabel>(*view, "TrafficTimeouts")->text(), u"Zeitüberschreitungen: 0");

  auto* pause = part<QPushButton>(*view, "TrafficPause");
  QTest::mouseClick(pause, Qt::LeftButton);
  EXPECT_TRUE(pause->isChecked());
  EXPECT_TRUE(part<QLabel>(*view, "TrafficNote")->isVisible());
  QTest::mouseClick(part<QPushButton>(*view, "TrafficClear"), Qt::LeftButton);
  EXPECT_EQ(view->model()->rowCount(), 0);
  EXPECT_EQ(part<QLabel>(*view, "TrafficRequests")->text(), u"Anfragen: 0");
  // The output registers polled while paused.
  core.form.chk_read_out.setValue(1);
  clock.advance(3000);
  view->refresh();
  EXPECT_EQ(view->model()->rowCount(), 0);
  EXPECT_NE(part<QLabel>(*view, "TrafficRequests")->text(), u"Anfragen: 0");
  QTest::mouseClick(pause, Qt::LeftButton);
  clock.advance(3000);
  ASSERT_TRUE(waitForRows(*view, 3));

  for (int row : {1, 2}) {
    view->table()->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  QTest::mouseClick(part<QPushButton>(*view, "TrafficCopy"), Qt::LeftButton);
  const QStringList copied = QGuiApplication::clipboard()->text().split(u'\n');
  ASSERT_EQ(copied.size(), 3);
  EXPECT_TRUE(copied[0].startsWith(cell(*view, 1, TrafficColumn::Time) + u'\t'));
  EXPECT_TRUE(copied[1].contains(cell(*view, 2, TrafficColumn::Bytes)));

  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("traffic.txt"));
  files.saveAnswers << file;
  QTest::mouseClick(part<QPushButton>(*view, "TrafficSave"), Qt::LeftButton);
  QFile saved(file);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(saved.readAll()).split(u'\n');
  EXPECT_TRUE(lines[0].startsWith(u"Anfragen: "));
  EXPECT_EQ(lines.size(), 2 + view->model()->rowCount() + 1);
}

TEST(TrafficTableModel, FollowsTheRingInBatches) {
  TrafficLog log;
  TrafficTableModel model(log, true);
  const auto add = [&log](int count) {
    for (int k = 0; k < count; ++k) {
      const std::int64_t us = static_cast<std::int64_t>(log.endNumber()) * 1000;
      log.append({TappedFrame::Direction::Sent, us, QByteArray::fromHex("0103002100"),
                  false, TappedFrame::Check::Bad});
    }
  };
  add(TrafficLog::kCapacity - 10);
  EXPECT_EQ(model.rowCount(), 0);  // nothing until the next batch
  model.catchUp();
  EXPECT_EQ(model.rowCount(), TrafficLog::kCapacity - 10);
  add(30);  // the ring drops its oldest twenty
  EXPECT_EQ(model.index(0, 0).data(), QVariant());  // gone from the log, still shown
  model.catchUp();
  ASSERT_EQ(model.rowCount(), TrafficLog::kCapacity);
  EXPECT_EQ(log.firstNumber(), 20u);
  EXPECT_EQ(log.counts().requests, TrafficLog::kCapacity + 20);
  EXPECT_EQ(model.index(0, 0).data().toString(), u"20.000");  // the 21st frame is the oldest kept
  EXPECT_EQ(model.index(TrafficLog::kCapacity - 1, 0).data().toString(), u"10019.000");
  EXPECT_EQ(model.logIndex(5), 5);
  log.clear();
  add(3);
  model.catchUp();
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.index(2, static_cast<int>(TrafficColumn::Check)).data().toString(), u"CRC bad");
}

}  // namespace
}  // namespace rbx14
