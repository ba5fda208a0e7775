#pragma once
// The program without its window: the shared state, the main window's
// controls and every subsystem's handlers, wired together. The window, the
// command line and the tests each make one of these over their own timers,
// port and message boxes.

#include "core/globals.h"
#include "link/link.h"
#include "link/serial_port.h"
#include "link/timer.h"
#include "model/config_editing.h"
#include "model/frm_config.h"
#include "shell/message_box.h"
#include "transactions/response_handler.h"

namespace rbx14 {

class ConfigCore {
 public:
  ConfigCore(Scheduler& scheduler, SerialPort& port, MessageBoxes& messages);
  ConfigCore(const ConfigCore&) = delete;
  ConfigCore& operator=(const ConfigCore&) = delete;

  // The program's start: start values, the window's load steps (settings
  // lists with their start entries), then the port gets its input mode,
  // settings and number. The port stays closed.
  void Main();

  Globals globals;
  FrmConfig form;
  ConfigEditing editing;

 private:
  SerialPort& port_;

 public:
  ResponseHandler responses;
  Link link;
};

}  // namespace rbx14
