#pragma once
// The program without its window: the shared state, the main window's
// controls and every subsystem's handlers, wired together. The window, the
// command line and the tests each make one of these over their own timers,
// port and message boxes.
//
// A front end that drives the device rather than binding widgets (the
// command line, the scan, the tests) uses the session calls below: open a
// device (probe and read-out), write what changed, cancel, and one
// notification when what it started has ended, and how.

#include "base/globals.h"
#include "link/link.h"
#include "link/link_timing.h"
#include "link/serial_port.h"
#include "base/timer.h"
#include "model/config_editing.h"
#include "model/frm_config.h"
#include "model/trend_record.h"
#include "base/message_box.h"
#include "shell/settings.h"
#include "transactions/bus_scan.h"
#include "transactions/jobs.h"
#include "transactions/response_handler.h"
#include "transactions/sequences.h"
#include "transactions/settings_sweep.h"
#include "transactions/state_window.h"
#include "transactions/transaction_progress.h"

#include <functional>
#include <optional>

namespace rbx14 {

// How a read-out or write started through the session ended. A write is
// done once the read-out that follows it has shown what the device holds.
struct SessionEnd {
  bool write = false;
  TransactionEndKind how = TransactionEndKind::Done;
};

class ConfigCore {
 public:
  // `settings`: what the front end read from the settings store at the start
  // (the tests' empty store when left out). `reread`, when given, reads the
  // store again where the window program does: each time the state window
  // loads (the language, the separator, the paths) and for the version, when
  // the about box opens or a file is saved. Without it the start's values
  // hold for the whole run (the command line, whose language is chosen).
  ConfigCore(Scheduler& scheduler, SerialPort& port, MessageBoxes& messages,
             Settings settings = {}, std::function<Settings()> reread = {});
  ConfigCore(const ConfigCore&) = delete;
  ConfigCore& operator=(const ConfigCore&) = delete;

  // The program's start: start values, the settings and the language, the
  // window's load steps (settings lists with their start entries), then the
  // port gets its input mode, settings and number. The port stays closed.
  void Main();

  // The version as the settings store holds it now (see `reread`).
  void refreshVersion();

  // True while a transaction runs: a job is set or the state window is open.
  bool busy() const { return globals.lJobState != job_state::kNone || frmState.loaded(); }

  // ---- The session.
  // Opens the port with `address` (closing it first when open): the device
  // is probed, and its answer starts the read-out. False when the port
  // could not be opened (the link has said why).
  bool openDevice(int address);
  // With the port already open (the scan's): the device at `address` is
  // probed and read out, as if its address had been typed.
  void probeDevice(int address);
  // Opens the port without an address, so that nothing is sent (the scan).
  bool openLine();
  void closePort();
  // Writes the marked fields and reads the device back. False when there
  // was nothing to write.
  bool writeChanges();
  // No new frame goes out; the one on the line is answered, repeated or
  // given up by the link, so the device holds whole blocks. Called again
  // while waiting, as a job's timer may have been due already.
  void holdNewFrames();
  bool lineFree() const { return globals.bSendFree; }
  // Stops what runs and closes the port. The warning about a silent device
  // is taken down with its timers, so that it is not taken for the next
  // device's.
  void cancel();
  // How the last transaction started through the session ended, once it
  // has: the front ends wait for it (the window listens to `progress`).
  std::optional<SessionEnd> lastEnd() const { return lastEnd_; }

  // Where the program tells the user something with an OK button.
  MessageBoxes& messages;
  Globals globals;
  // How the running read-out or write got on, and how it ended.
  TransactionProgress progress;
  // Every answer to the monitor's poll, for the trend chart and the
  // command line's monitor.
  TrendRecord trend;
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
  std::function<Settings()> reread_;
  void checkChangedFields();
  void transactionEnds(TransactionEndKind how);
  // A read-out (false) or write (true) starts through the session.
  void begin(bool write);
  // Called after every event that can end a session transaction.
  void settle();
  void sessionEnds(TransactionEndKind how);

  const Scheduler& clock_;  // the time of each trend reading
  // The transaction started through the session, while it runs: whether it
  // is a write, and the read-outs completed before it began.
  std::optional<bool> pendingWrite_;
  int readOutsBefore_ = 0;
  std::optional<SessionEnd> lastEnd_;
};

}  // namespace rbx14
