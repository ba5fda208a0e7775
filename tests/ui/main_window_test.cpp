// The main window, offscreen: opening the port from its list, closing with
// unwritten changes, help, the status line, a network line, the trend and
// the commissioning record.

#include "shell/about_box.h"
#include "sim/simulated_serial_port.h"
#include "support/forwarding_port.h"
#include "support/pdf_text.h"
#include "support/qt_test_main.h"
#include "support/window_fixture.h"
#include "ui/trend_view.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace rbx14 {
namespace {

using MainWindowTest = test::WindowFixture;

// The status line tells what to do and follows the port.
TEST_F(MainWindowTest, ChoosingOpenInTheListOpensThePortAndEnablesTheButtons) {
  EXPECT_EQ(window.tabs()->count(), 10);
  EXPECT_EQ(window.windowTitle(), u"RBX14-RS485-Modbus Configuration Software");
  auto* status = child<QLabel>("StatusLine");
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(status->isVisible());
  EXPECT_TRUE(status->text().startsWith(u"Port geschlossen")) << status->text().toStdString();
  EXPECT_TRUE(status->text().contains(u"RBX14-Simulator"));
  window.setSimulatedPorts({QStringLiteral("COM1"), QStringLiteral("RBX14-Simulator")});
  EXPECT_TRUE(status->text().contains(u"COM1, RBX14-Simulator"));
  auto* openClose = child<QComboBox>("Combo_Port_6");
  ASSERT_NE(openClose, nullptr);
  EXPECT_EQ(openClose->currentText(), u"close");
  EXPECT_FALSE(child<QPushButton>("read_out_parameter")->isEnabled());
  QTest::keyClick(openClose, Qt::Key_Down);  // a user's selection: "open"
  EXPECT_TRUE(port.portOpen());
  EXPECT_TRUE(status->text().startsWith(u"Port offen")) << status->text().toStdString();
  EXPECT_EQ(port.written.size(), 1u);
  EXPECT_TRUE(child<QPushButton>("read_out_parameter")->isEnabled());
  EXPECT_FALSE(child<QComboBox>("Combo_Port_0")->isEnabled());

  clock.advance(6000);  // unanswered: the warning appears in the window
  EXPECT_TRUE(child<QLabel>("lbl_desc_7")->isVisible());
}

// Closing asks while anything is marked red or a transfer runs; "no" keeps
// the window, "yes" closes it.
TEST_F(MainWindowTest, ClosingWithUnwrittenChangesAsksFirst) {
  QStringList asked;
  bool answer = false;
  window.askDiscard = [&](const QString& question) { asked << question; return answer; };
  EXPECT_TRUE(window.close());  // nothing changed: no question
  EXPECT_TRUE(asked.isEmpty());
  window.show();
  core.form.txt_data_cfg[4].setText(QStringLiteral("7"));
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains(u"verwerfen"));
  answer = true;
  EXPECT_TRUE(window.close());

  // Nothing red, but a read-out running.
  window.show();
  core.form.txt_data_cfg[4].setText(QStringLiteral("0"));
  ASSERT_NE(core.form.txt_data_cfg[4].foreColor(), colors::kRed);
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  core.form.read_out_parameter.click();
  ASSERT_TRUE(core.frmState.loaded());
  answer = false;
  EXPECT_FALSE(window.close());
  EXPECT_EQ(asked.size(), 3);
}

TEST_F(MainWindowTest, HelpSaysWhyItCannotShowTheManual) {
  QTemporaryDir install;
  core.globals.sInstallPath = install.path();
  QStringList told;
  window.tell = [&](const QString& text) { told << text; };
  auto* help = window.findChild<QAction*>(QStringLiteral("MenuHelp"));
  ASSERT_NE(help, nullptr);
  help->trigger();  // no document
  QDir(install.path()).mkpath(QStringLiteral("Doc"));
  QFile doc(PlatformPath(install.path() + core.globals.sHelpDoc));
  ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
  doc.close();
  help->trigger();  // a document, but nothing opens it
  opener.succeed = true;
  help->trigger();
  ASSERT_EQ(told.size(), 2);
  EXPECT_TRUE(told[0].contains(u"fehlt")) << told[0].toStdString();
  EXPECT_TRUE(told[1].contains(u"PDF")) << told[1].toStdString();
}

// A port that is a line behind a network gateway when asked to be.
class GatewayPort final : public test::ForwardingPort {
 public:
  using ForwardingPort::ForwardingPort;
  bool onNetwork() const override { return network; }
  bool network = false;
};

// The window over the program on a port of the test's own.
struct WindowOver {
  WindowOver(VirtualScheduler& clock, SerialPort& port)
      : core(clock, port, messages), window((core.Main(), core), opener, files) {
    window.show();
  }
  test::RecordingMessageBoxes messages;
  ConfigCore core;
  test::RecordingOpener opener;
  test::ScriptedFileDialogs files;
  MainWindow window;
};

TEST(MainWindowOnAGateway, BaudRateAndParityAreDisabledAndTheStatusLineSaysWhy) {
  VirtualScheduler clock;
  test::FakeSerialPort line;
  GatewayPort port(line);
  WindowOver over(clock, port);
  ConfigCore& core = over.core;
  MainWindow& window = over.window;
  auto* status = window.findChild<QLabel*>(QStringLiteral("StatusLine"));
  ASSERT_NE(status, nullptr);
  for (const bool network : {true, false}) {
    port.network = network;
    core.form.Combo_Port[port_list::kPort].setListIndex(1);
    for (int list : {port_list::kBaud, port_list::kParity}) {
      auto* combo = window.findChild<QComboBox*>(QStringLiteral("Combo_Port_%1").arg(list));
      ASSERT_NE(combo, nullptr);
      EXPECT_EQ(combo->isEnabled(), !network) << list;
      EXPECT_EQ(combo->toolTip().contains(u"Gateway"), network) << list;
    }
    EXPECT_EQ(status->text().contains(u"Baudrate und Parität stellt der Gateway ein"), network)
        << status->text().toStdString();
  }
}

TEST_F(MainWindowTest, AReadOutThatBreaksOffSaysWhatWasNotRead) {
  // The port answers nothing: the read-out gives up at its first block.
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  clock.advanceUntil([] { return false; }, 10000);
  core.sequences.func_read_out_parameter();
  clock.advanceUntil([] { return false; }, 10000);
  QCoreApplication::processEvents();
  ASSERT_EQ(messages.shown.size(), 1) << messages.shown.join(u'\n').toStdString();
  EXPECT_TRUE(messages.shown[0].startsWith(u"Das Lesen endete ohne Antwort des Geräts: "
                                           u"Konfigurationsregister 0-59, die Anzeigetexte"))
      << messages.shown[0].toStdString();
  auto* status = child<QLabel>("StatusLine");
  EXPECT_TRUE(status->text().startsWith(u"Lesen unvollständig, nicht gelesen: Konfigurationsregister 0-59"))
      << status->text().toStdString();
}

// Fifteen minutes of readings a second apart: a rising temperature, the
// fan in its automatic stages, occupancy changing every minute.
void FillTrend(TrendRecord& record, int from, int to) {
  for (int i = from; i < to; ++i) {
    TrendReading reading;
    reading.values.fill(0);
    reading.timeMs = 1000LL * i;
    reading.values[2] = 15 + i / 100.0;
    reading.values[7] = 0xFF00 + (i / 120) % 4;
    reading.values[8] = (i / 60) % 2;
    record.append(reading);
  }
}

TEST_F(MainWindowTest, TheTrendShowsTheSpanOfTheRecordAndSavesTheWholeRecord) {
  FillTrend(core.trend, 0, 900);
  auto* entry = window.findChild<QAction*>(QStringLiteral("MenuTrend"));
  ASSERT_NE(entry, nullptr);
  entry->trigger();
  auto* trend = window.findChild<TrendView*>();
  ASSERT_NE(trend, nullptr);

  // The last ten minutes: 600 readings, the newest at 0.
  const QList<QPointF> line = trend->series(2)->points();
  ASSERT_FALSE(line.isEmpty());
  EXPECT_LE(line.size(), TrendView::kMostPoints + 1);
  EXPECT_GE(line.front().x(), -10.0);
  EXPECT_DOUBLE_EQ(line.back().x(), 0.0);
  EXPECT_DOUBLE_EQ(line.back().y(), 15 + 899 / 100.0);
  // Steps: the automatic fan stages as 0..3, a level at each change.
  // The stage at the start, the changes at 6, 8, 10, 12 and 14 minutes
  // (two points each), the end.
  const QList<QPointF> fan = trend->series(7)->points();
  EXPECT_EQ(fan.size(), 1 + 2 * 5 + 1);
  EXPECT_TRUE(std::all_of(fan.begin(), fan.end(), [](const QPointF& p) { return p.y() >= 0 && p.y() <= 3; }));
  // Values not chosen are not drawn.
  EXPECT_TRUE(trend->series(9)->points().isEmpty());

  // Paused, the picture stands while readings come in; then it catches up.
  trend->setPaused(true);
  FillTrend(core.trend, 900, 960);
  trend->refresh();
  EXPECT_EQ(trend->series(2)->points(), line);
  trend->setPaused(false);
  EXPECT_DOUBLE_EQ(trend->series(2)->points().back().y(), 15 + 959 / 100.0);
  trend->setSpanMinutes(1);
  EXPECT_GE(trend->series(2)->points().front().x(), -1.0);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("trend.csv"));
  ASSERT_TRUE(trend->saveCsv(path));
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), TrendCsv(core.trend, false, core.globals.decimalSep()));
}

// File, "Save commissioning record...": after a read-out of the simulated
// device and a write, the record names the technician asked for and shows
// the written value beside its value at the read-out.
TEST(MainWindowRecord, SavesTheUnitAsReadWithTheSessionsWritesMarked) {
  VirtualScheduler clock;
  sim::SimulatedDevice device;
  sim::SimulatedSerialPort port(clock, device);
  WindowOver over(clock, port);
  ConfigCore& core = over.core;
  auto* entry = over.window.findChild<QAction*>(QStringLiteral("MenuRecord"));
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->isEnabled());
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  ASSERT_TRUE(clock.advanceUntil([&] { return entry->isEnabled(); }, 60000));
  core.form.txt_data_cfg[42].setText(QStringLiteral("45"));
  ASSERT_TRUE(core.writeChanges());
  ASSERT_TRUE(clock.advanceUntil([&] { return core.lastEnd().has_value() && entry->isEnabled(); }, 60000));

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("record.pdf"));
  over.files.saveAnswers << path;
  QTimer::singleShot(0, [] {
    auto* name = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (name != nullptr) {
      name->setTextValue(QStringLiteral("Erika Muster"));
      name->accept();
    }
  });
  entry->trigger();
  const QString text = test::PdfText(path, false).value_or(QString()).simplified();
  EXPECT_TRUE(text.contains(u"Erika Muster")) << text.toStdString();
  EXPECT_TRUE(text.contains(u"Nachtabsenkung nach (min) 45 min vorher: 60 min")) << text.toStdString();
}

}  // namespace
}  // namespace rbx14
