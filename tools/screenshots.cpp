// Saves pictures of the main window, offscreen, so that a developer can look
// at the window without a display:
//   QT_QPA_PLATFORM=offscreen build/tools/rbx14-screenshots OUTDIR [en|installed]
// The window runs on the virtual clock against the built-in simulated
// device: closed, during a read-out (the state window), every tab after the
// read-out, a tab with two edited fields, edited symbols and the monitor
// while it polls, the trend of the output registers after eight minutes,
// the window at 600 x 400, the commissioning record after the edits are
// written (record.pdf), the bus traffic window during and after the read-out, the
// about box, and the bus scan of a line with three devices. With "en" the
// settings store says
// English; with "installed" the machine's own settings store is read, as an
// installation left it.

#include "session/config_core.h"
#include "link/frame_tap.h"
#include "link/virtual_scheduler.h"
#include "model/tabs.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_device.h"
#include "sim/simulated_serial_port.h"
#include "ui/about_box_view.h"
#include "files/file_dialogs.h"
#include "ui/desktop_opener.h"
#include "ui/bus_scan_dialog.h"
#include "ui/main_window.h"
#include "ui/traffic_view.h"
#include "ui/trend_view.h"

#include <QApplication>
#include <QDialog>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QTimer>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A message would stop the pictures: it goes to the terminal instead.
class PrintedMessages final : public rbx14::MessageBoxes {
 public:
  void information(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
};

// The file dialogs answered by the tool: a save goes to the names it lists,
// an open is cancelled.
class ListedFiles final : public rbx14::FileDialogs {
 public:
  std::optional<QString> openFile(const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> saveFile(const QString&, const QString&) override {
    if (saveAnswers.isEmpty()) return std::nullopt;
    return saveAnswers.takeFirst();
  }
  QStringList saveAnswers;
};

bool Save(QWidget& widget, const QString& file) {
  // A frame that grew on a hidden tab settles in two rounds: its own layout,
  // then the page's.
  QApplication::processEvents();
  QApplication::processEvents();
  if (widget.grab().save(file)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  return false;
}

// The bus scan of a line with devices at 3, 17 and 200: the dialog while it
// runs and with its results.
bool SaveBusScan(const QString& out) {
  rbx14::VirtualScheduler clock;
  rbx14::sim::SimulatedBus bus(rbx14::sim::DeviceSettings{}, {3, 17, 200});
  bus.device(17)->image().setReg(2, 2);
  bus.device(200)->image().setReg(2, 12);
  rbx14::sim::SimulatedSerialPort port(clock, bus);
  PrintedMessages messages;
  rbx14::ConfigCore core(clock, port, messages);
  core.Main();
  rbx14::DesktopOpener opener;
  ListedFiles files;
  rbx14::MainWindow window(core, opener, files);
  window.show();
  core.form.txt_Modbus_adress.setText(QString());
  core.form.Combo_Port[rbx14::port_list::kOpenClose].setListIndex(1);
  rbx14::BusScanDialog dialog(core, &window);
  dialog.show();
  dialog.startScan();
  clock.advanceUntil([&] { return core.scan.devices().size() == 2; }, 30000);
  if (!Save(dialog, out + QStringLiteral("/scan-running.png"))) return false;
  clock.advanceUntil([&] { return !core.scan.running(); }, 30000);
  return Save(dialog, out + QStringLiteral("/scan-done.png"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(out);

  // A settings store of the tool's own: German, or English on request.
  const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
  QTemporaryDir store;
  if (mode != u"installed") {
    QDir().mkpath(store.path() + QStringLiteral("/system/rbx14-config"));
    QFile ini(store.path() + QStringLiteral("/system/rbx14-config/rbx14-config.ini"));
    if (ini.open(QIODevice::WriteOnly)) {
      ini.write(QByteArray("[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS]\nVersion=0.1.0\n") +
                (mode == u"en" ? "Language=1033\n" : "Language=1031\n"));
      ini.close();
    }
    qputenv("XDG_CONFIG_DIRS", (store.path() + QStringLiteral("/system")).toLocal8Bit());
  }
  qputenv("XDG_CONFIG_HOME", (store.path() + QStringLiteral("/user")).toLocal8Bit());

  rbx14::VirtualScheduler clock;
  rbx14::sim::SimulatedDevice device;
  rbx14::sim::SimulatedSerialPort port(clock, device);
  PrintedMessages messages;
  rbx14::FrameTap tap(port, clock);
  rbx14::ConfigCore core(clock, tap, messages, rbx14::ReadSettings());
  core.Main();
  rbx14::DesktopOpener opener;
  ListedFiles files;
  rbx14::MainWindow window(core, opener, files);
  window.setFrameTap(tap);
  window.resize(1280, 800);
  window.show();
  if (!Save(window, out + QStringLiteral("/closed.png"))) return 1;

  // Open: the probe's answer starts the read-out and its state window.
  core.form.Combo_Port[rbx14::port_list::kOpenClose].setListIndex(1);
  clock.advanceUntil([&] { return core.frmState.loaded(); }, 2000);
  clock.advance(300);
  if (auto* state = window.findChild<QDialog*>()) Save(*state, out + QStringLiteral("/state.png"));

  // The traffic window from the menu, halfway through the read-out and at
  // its end. Its own timer runs on the real clock: take in the rows here.
  rbx14::TrafficView* traffic = nullptr;
  if (auto* entry = window.findChild<QAction*>(QStringLiteral("MenuTraffic"))) {
    entry->trigger();
    traffic = window.findChild<rbx14::TrafficView*>();
  }
  if (traffic == nullptr) {
    std::fprintf(stderr, "no traffic window\n");
    return 1;
  }
  clock.advance(3000);
  traffic->refresh();
  if (!Save(*traffic, out + QStringLiteral("/traffic-readout.png"))) return 1;
  clock.advanceUntil([&] { return core.globals.lJobState == 0 && !core.frmState.loaded(); }, 30000);
  traffic->refresh();
  if (!Save(*traffic, out + QStringLiteral("/traffic.png"))) return 1;
  traffic->hide();

  for (int tab = 0; tab < window.tabs()->count(); ++tab) {
    window.tabs()->setCurrentIndex(tab);
    if (!Save(window, QStringLiteral("%1/tab%2.png").arg(out).arg(tab))) return 1;
  }

  // On a 600 x 400 screen the window scrolls.
  window.tabs()->setCurrentIndex(0);
  window.resize(600, 400);
  Save(window, out + QStringLiteral("/small.png"));
  window.resize(1280, 800);

  // Two edits: they turn red and the write button comes on.
  window.tabs()->setCurrentIndex(0);
  core.form.txt_data_cfg[4].setText(QStringLiteral("200"));
  core.form.txt_data_cfg_txt[20].setText(QStringLiteral("Raum"));
  Save(window, out + QStringLiteral("/changed.png"));

  // The two edits written: the commissioning record shows them beside their
  // values at the read-out.
  core.writeChanges();
  clock.advanceUntil([&] { return core.lastEnd().has_value(); }, 60000);
  files.saveAnswers << out + QStringLiteral("/record.pdf");
  QTimer::singleShot(0, [] {
    if (auto* name = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
      name->setTextValue(QStringLiteral("Erika Muster"));
      name->accept();
    }
  });
  if (auto* entry = window.findChild<QAction*>(QStringLiteral("MenuRecord"))) entry->trigger();

  // A symbol and the controller mode edited, then the monitor while it polls.
  window.tabs()->setCurrentIndex(static_cast<int>(rbx14::Tab::kSymbols));
  core.form.chk_input[3].click();
  core.form.cmb_in[21].setListIndex(2);
  Save(window, out + QStringLiteral("/changed-symbols.png"));
  core.form.chk_read_out.setValue(1);
  clock.advance(2000);
  window.tabs()->setCurrentIndex(static_cast<int>(rbx14::Tab::kMonitor));
  Save(window, out + QStringLiteral("/monitor.png"));

  // The trend window after eight minutes of polling, the fan in automatic
  // mode so that its stage follows the controller.
  device.image().setReg(0x020F, 0xFF00);
  if (auto* entry = window.findChild<QAction*>(QStringLiteral("MenuTrend"))) entry->trigger();
  auto* trend = window.findChild<rbx14::TrendView*>();
  if (trend == nullptr) {
    std::fprintf(stderr, "no trend window\n");
    return 1;
  }
  clock.advance(8 * 60'000);
  trend->refresh();
  if (!Save(*trend, out + QStringLiteral("/trend.png"))) return 1;
  trend->setSpanMinutes(1);
  Save(*trend, out + QStringLiteral("/trend-1min.png"));
  trend->setSpanMinutes(10);
  trend->hide();

  // The about box with the version the settings store holds.
  rbx14::FAbout about(core.globals, opener);
  about.Form_Load();
  rbx14::AboutBoxView box(about, &window);
  box.show();
  Save(box, out + QStringLiteral("/about.png"));
  box.hide();
  return SaveBusScan(out) ? 0 : 1;
}
