#pragma once
// What the window shows against what the device holds: one line for each
// field, text, unit, bit or input value that differs from the device's
// image, and one if anything is still marked as changed. Empty when the
// window shows exactly the device, as after a good read-out.

#include "base/codepage.h"
#include "base/numbers.h"
#include "model/change_tracking.h"
#include "session/config_core.h"
#include "sim/device_image.h"
#include "transactions/jobs.h"

#include <string>
#include <vector>

namespace rbx14::test {

inline std::vector<std::string> WindowDifferences(const ConfigCore& core, const sim::DeviceImage& image) {
  const FrmConfig& form = core.form;
  std::vector<std::string> out;
  const auto differs = [&out](const std::string& what, const QString& shown, const QString& held) {
    if (shown != held) out.push_back(what + " shows '" + shown.toStdString() + "', the device holds '" + held.toStdString() + "'");
  };
  const auto number = [&core](std::uint16_t word, bool tenths) {
    const int value = static_cast<std::int16_t>(word);
    return FormatDecimal(tenths ? value / 10.0 : value, core.globals.decimalSep());
  };
  for (int i = 0; i < 60; ++i) {
    const std::uint16_t word = image.reg(static_cast<std::uint16_t>(i));
    // A field whose arrows reach beyond 32767 shows the register unsigned.
    const UpDown* arrows = form.UpD_txt_cfg.find(i);
    differs("field " + std::to_string(i), form.txt_data_cfg[i].text(),
            arrows != nullptr && arrows->max() > 32767 ? QString::number(word) : number(word, IsTenthsConfigRegister(i)));
  }
  for (int k = 0; k < 22; ++k) {
    const TextBox& box = form.txt_data_cfg_txt[k];
    differs("text " + std::to_string(k), box.text(),
            FromCodePage(image.textBytes(static_cast<std::uint16_t>(0x300 + 10 * k))).left(box.maxLength()));
  }
  for (int u = 0; u < 18; ++u) {
    const QByteArray bytes = image.textBytes(static_cast<std::uint16_t>(0x400 + 10 * (u / 3)));
    differs("unit " + std::to_string(u), form.txt_data_cfg_unit[u].text(), FromCodePage(bytes.mid(4 * (u % 3), 3)));
  }
  for (int c = 0; c < 32; ++c) {
    differs("bit " + std::to_string(c), QString::number(form.chk_cfg[c].value()),
            image.coil(static_cast<std::uint16_t>(c)) ? QStringLiteral("1") : QStringLiteral("0"));
    if (const ComboBox* list = form.cmb_bit_cfg.find(c)) {
      differs("bit list " + std::to_string(c), QString::number(list->listIndex()), QString::number(form.chk_cfg[c].value()));
    }
  }
  for (int c = 0; c < 16; ++c) {
    differs("input bit " + std::to_string(c), QString::number(form.chk_input[c].value()),
            image.coil(static_cast<std::uint16_t>(0x100 + c)) ? QStringLiteral("1") : QStringLiteral("0"));
  }
  for (int f = 16; f <= 23; ++f) {
    differs("input field " + std::to_string(f), form.txt_data_in[f].text(),
            number(image.reg(static_cast<std::uint16_t>(0x200 + f)), false));
  }
  if (AnyFieldMarked(form)) out.emplace_back("a field is still marked as changed");
  return out;
}

}  // namespace rbx14::test
