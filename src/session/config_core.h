#pragma once
// The program without its window: the shared state, the main window's
// controls and every subsystem's handlers, wired together. The window, the
// command line and the tests each make one of these over their own timers,
// port and message boxes.

#include "base/globals.h"
#include "link/link.h"
#include "link/link_timing.h"
#include "link/serial_port.h"
#include "base/timer.h"
#include "model/config_editing.h"
#include "model/frm_config.h"
#include "base/message_box.h"
#include "shell/settings.h"
#include "transactions/bus_scan.h"
#include "transactions/jobs.h"
#include "transactions/response_handler.h"
#include "transactions/sequences.h"
#include "transactions/settings_sweep.h"
#include "transactions/state_window.h"
#include "transactions/transaction_progress.h"

namespace rbx14 {

class ConfigCore {
 public:
  // `settings`: what the front end read from the settings store at the start
  // (the tests' empty store when left out).
  ConfigCore(Scheduler& scheduler, SerialPort& port, MessageBoxes& messages,
             Settings settings = {});
  ConfigCore(const ConfigCore&) = delete;
  ConfigCore& operator=(const ConfigCore&) = delete;

  // The program's start: start values, the settings and the language, the
  // window's load steps (settings lists with their start entries), then the
  // port gets its input mode, settings and number. The port stays closed.
  void Main();

  // True while a transaction runs: a job is set or the state window is open.
  bool busy() const { return globals.lJobState != job_state::kNone || frmState.loaded(); }

  // Where the program tells the user something with an OK button.
  MessageBoxes& messages;
  Globals globals;
  // How the running read-out or write got on, and how it ended.
  TransactionProgress progress;
  LinkTiming timing;
  FrmConfig form;
  ConfigEditing editing;
  FrmState frmState;
  Link link;
  Jobs jobs;
  ResponseHandler responses;
  Sequences sequences;
  BusScan scan;
  SettingsSweep sweep;

 private:
  const Settings settings_;
  void checkChangedFields();
  void transactionEnds(TransactionEndKind how);
};

}  // namespace rbx14
