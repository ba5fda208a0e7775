#pragma once
// The window's timers and controls as one short text, so that a test states
// the whole state it expects in one line and a failure shows all of it.

#include "model/frm_config.h"

#include <string>

namespace rbx14::test {

// Timer1..Timer7, each 1 (running) or 0: "0001100".
inline std::string Timers(const FrmConfig& form) {
  std::string out;
  for (const auto* timer : {form.Timer1.get(), form.Timer2.get(), form.Timer3.get(), form.Timer4.get(),
                            form.Timer5.get(), form.Timer6.get(), form.Timer7.get()}) {
    out += timer->enabled() ? '1' : '0';
  }
  return out;
}

// Which of the controls the port decides about take input, and whether the
// warning shows: "read 1 write 0 poll 1 port 0 baud 0 mode 0 parity 1 warning 0".
inline std::string Controls(const FrmConfig& form) {
  const auto on = [](bool b) { return b ? std::string("1") : std::string("0"); };
  return "read " + on(form.read_out_parameter.enabled()) + " write " + on(form.set_parameter.enabled()) +
         " poll " + on(form.chk_read_out.enabled()) + " port " +
         on(form.Combo_Port[port_list::kPort].enabled()) + " baud " +
         on(form.Combo_Port[port_list::kBaud].enabled()) + " mode " +
         on(form.Combo_Port[port_list::kMode].enabled()) + " parity " +
         on(form.Combo_Port[port_list::kParity].enabled()) + " warning " +
         on(form.lbl_desc[desc::kCommWarning].visible());
}

}  // namespace rbx14::test
