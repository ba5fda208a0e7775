// Saves a picture of the main window for every tab, offscreen, so that a
// developer can look at the window without a display:
//   QT_QPA_PLATFORM=offscreen build/tests/rbx14-screenshots OUTDIR

#include "core/config_core.h"
#include "link/virtual_scheduler.h"
#include "support/fake_serial_port.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(out);

  rbx14::VirtualScheduler clock;
  rbx14::test::FakeSerialPort port;
  rbx14::test::RecordingMessageBoxes messages;
  rbx14::ConfigCore core(clock, port, messages);
  core.Main();
  rbx14::test::RecordingOpener opener;
  rbx14::MainWindow window(core, opener);
  window.show();

  for (int tab = 0; tab < window.tabs()->count(); ++tab) {
    window.tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    const QString file = QStringLiteral("%1/tab%2.png").arg(out).arg(tab);
    if (!window.grab().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  // The window with the port open and the device silent: the warning shows.
  core.form.Combo_Port[rbx14::port_list::kOpenClose].setListIndex(1);
  clock.advance(6000);
  QApplication::processEvents();
  window.grab().save(out + QStringLiteral("/open-silent.png"));

  // The state window during a read-out.
  core.form.read_out_parameter.click();
  clock.advance(2500);
  QApplication::processEvents();
  if (auto* state = window.findChild<QDialog*>()) state->grab().save(out + QStringLiteral("/state.png"));
  return 0;
}
