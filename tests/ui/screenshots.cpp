// Saves a picture of the main window for every tab, offscreen, so that a
// developer can look at the window without a display:
//   QT_QPA_PLATFORM=offscreen build/tests/rbx14-screenshots OUTDIR [en]
// With "en" the register captions and lists are English.

#include "core/config_core.h"
#include "core/numbers.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "model/register_controls.h"
#include "model/register_map.h"
#include "support/fake_serial_port.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

namespace {

// Puts values into every configuration field as a read-out would (device
// type 9, which shows every frame), then changes two of them by hand.
void FillAsIfRead(rbx14::ConfigCore& core) {
  rbx14::FrmConfig& form = core.form;
  for (const auto& row : rbx14::kConfigFields) {
    int value = row.kind == rbx14::FieldKind::kUpDown ? (row.min + row.max) / 2 : row.min;
    if (row.index == 2) value = 9;
    const QString text =
        row.tenths ? rbx14::FormatDecimal(value + 0.5, core.globals.decimalSep()) : QString::number(value);
    form.txt_data_cfg[row.index].setText(text);
    form.dCfgRegValue[static_cast<std::size_t>(row.index)] =
        rbx14::ParseDecimal(text, core.globals.decimalSep()).value_or(0);
    form.txt_data_cfg[row.index].setForeColor(rbx14::colors::kButtonText);
    if (auto* list = form.cmb_cfg.find(row.index)) list->setForeColor(rbx14::colors::kButtonText);
  }
  for (int k : form.txt_data_cfg_txt.indices()) {
    form.txt_data_cfg_txt[k].setText(QStringLiteral("Zeile %1").arg(k));
    form.sCfgTextValue[static_cast<std::size_t>(k)] = form.txt_data_cfg_txt[k].text();
    form.txt_data_cfg_txt[k].setForeColor(rbx14::colors::kButtonText);
  }
  for (int u : form.txt_data_cfg_unit.indices()) {
    form.txt_data_cfg_unit[u].setText(u % 3 == 0 ? QStringLiteral("°C") : QStringLiteral("%"));
    form.sCfgUnitValue[static_cast<std::size_t>(u)] = form.txt_data_cfg_unit[u].text();
    form.txt_data_cfg_unit[u].setForeColor(rbx14::colors::kButtonText);
  }
  rbx14::CheckChangedFields(form);
  form.txt_data_cfg[4].setText(QStringLiteral("200"));
  form.cmb_cfg[6].setListIndex(15);
  form.txt_data_cfg_txt[20].setText(QStringLiteral("Raum"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(out);

  rbx14::VirtualScheduler clock;
  rbx14::test::FakeSerialPort port;
  rbx14::test::RecordingMessageBoxes messages;
  rbx14::ConfigCore core(clock, port, messages);
  core.Main();
  if (argc > 2 && QString::fromLocal8Bit(argv[2]) == u"en") rbx14::SetRegisterTexts(core.form, true);
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
  FillAsIfRead(core);
  for (int tab = 0; tab < window.tabs()->count(); ++tab) {
    window.tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    window.grab().save(QStringLiteral("%1/tab%2-read.png").arg(out).arg(tab));
  }
  window.tabs()->setCurrentIndex(0);

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
