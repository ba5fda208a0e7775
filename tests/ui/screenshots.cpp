// Saves a picture of the main window for every tab, offscreen, so that a
// developer can look at the window without a display:
//   QT_QPA_PLATFORM=offscreen build/tests/rbx14-screenshots OUTDIR [en]
// With "en" the window is English.

#include "core/config_core.h"
#include "core/numbers.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "model/register_map.h"
#include "support/fake_serial_port.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
  // Bits, external values and a monitor poll as the read-out and the poll
  // leave them: one key held, an automatic fan stage, the controller heating.
  for (int c = 0; c < 32; ++c) {
    const int value = c % 3 == 0 ? 1 : 0;
    form.iCfgBitValue[c] = value;
    form.chk_cfg[c].setValue(value);
    if (auto* list = form.cmb_bit_cfg.find(c)) list->setListIndex(value);
    form.chk_cfg[c].setForeColor(rbx14::colors::kButtonText);
  }
  for (int c = 0; c < 16; ++c) form.chk_input[c].setValue(c == 1 ? 1 : 0);
  for (int c = 0; c < 16; ++c) form.iInputBitValue[c] = form.chk_input[c].value();
  form.txt_data_in[15].setText(QStringLiteral("65281"));
  for (int k = 0; k <= 24; ++k) {
    form.dInputRegValue[k] = rbx14::ParseDecimal(form.txt_data_in[k].text(), core.globals.decimalSep()).value_or(0);
    form.txt_data_in[k].setForeColor(rbx14::colors::kButtonText);
    if (auto* list = form.cmb_in.find(k)) list->setForeColor(rbx14::colors::kButtonText);
  }
  const char* outputs[] = {"4", "0", "21,5", "0,5", "22", "0", "20", "65281", "1", "0", "1", "0", "0", "1"};
  for (int k = 0; k < 14; ++k) form.txt_data_out[k].setText(QString::fromLatin1(outputs[k]));
  form.lbl_temp[0].setCaption(form.txt_data_out[2].text());
  form.Lbl_button[1].setForeColor(rbx14::colors::kRed);
  rbx14::CheckChangedFields(form);
  form.txt_data_cfg[4].setText(QStringLiteral("200"));
  form.chk_cfg[2].setValue(1);
  form.cmb_bit_cfg[24].setListIndex(0);
  form.chk_input[3].setValue(1);
  form.cmb_in[21].setListIndex(2);
  form.cmb_cfg[6].setListIndex(15);
  form.txt_data_cfg_txt[20].setText(QStringLiteral("Raum"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(out);
  // English comes from the settings store, as at a customer's.
  QTemporaryDir settings;
  if (argc > 2 && QString::fromLocal8Bit(argv[2]) == u"en") {
    QDir().mkpath(settings.path() + QStringLiteral("/rbx14-config"));
    QFile ini(settings.path() + QStringLiteral("/rbx14-config/rbx14-config.ini"));
    if (!ini.open(QIODevice::WriteOnly)) return 1;
    ini.write("[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS]\nLanguage=1033\n");
    ini.close();
    qputenv("XDG_CONFIG_DIRS", settings.path().toLocal8Bit());
  }

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
