#pragma once
// The main window's controls and flags, without a window: the control
// arrays under their window names and indices, and the window's timers.
// Handlers live with their subsystems and reach the controls through this
// object; the Qt view builds its widgets from it and binds to it.

#include "link/timer.h"
#include "model/controls.h"

#include <memory>

namespace rbx14 {

// Positions of the settings lists in the Combo_Port array.
namespace port_list {
constexpr int kPort = 0;
constexpr int kBaud = 1;
constexpr int kParity = 2;
constexpr int kMode = 5;
constexpr int kOpenClose = 6;
}  // namespace port_list

// lbl_desc indices the link uses.
namespace desc {
constexpr int kCommWarning = 7;
constexpr int kPollCaption = 30;
}  // namespace desc

struct FrmConfig {
  explicit FrmConfig(Scheduler& scheduler);

  // Window title.
  QString caption;

  // Link settings.
  ControlArray<ComboBox> Combo_Port;
  TextBox txt_Modbus_adress;
  ControlArray<Label> lbl_parameter;  // captions of the settings lists
  Frame frm_parameter;

  // Labels and buttons.
  ControlArray<Label> lbl_desc;
  CheckBox chk_read_out;
  CheckBox chk_sync;
  CommandButton read_out_parameter;
  CommandButton set_parameter;

  // Fields of the parameter tabs; filled by the subsystems that own them.
  ControlArray<TextBox> txt_data_cfg;
  ControlArray<TextBox> txt_data_cfg_txt;
  ControlArray<TextBox> txt_data_cfg_unit;
  ControlArray<TextBox> txt_data_in;
  ControlArray<CheckBox> chk_cfg;
  ControlArray<CheckBox> chk_input;

  // Main-window flags.
  bool bDelayChanged = false;
  bool bInputRegsChanged = false;
  bool bInputBitsChanged = false;

  // The window takes no input while the state window is open.
  bool enabled = true;

  // Timers, named as the window names them.
  std::unique_ptr<TickTimer> Timer;   // up/down auto-repeat
  std::unique_ptr<TickTimer> Timer1;  // configuration write job
  std::unique_ptr<TickTimer> Timer2;  // input-register write job
  std::unique_ptr<TickTimer> Timer3;  // answer time-out
  std::unique_ptr<TickTimer> Timer4;  // receive poll
  std::unique_ptr<TickTimer> Timer5;  // retransmission
  std::unique_ptr<TickTimer> Timer6;  // read-out job
  std::unique_ptr<TickTimer> Timer7;  // output-register monitor
};

}  // namespace rbx14
