#pragma once
// The transactions a user starts: the read-out, the write-back of
// everything marked, cyclic polling of the output registers and the
// time-and-date synchronisation mark.

#include "base/globals.h"
#include "link/serial_port.h"
#include "model/frm_config.h"
#include "transactions/jobs.h"
#include "transactions/state_window.h"
#include "transactions/transaction_progress.h"

#include <functional>

namespace rbx14 {

class Sequences {
 public:
  Sequences(Globals& globals, FrmConfig& form, SerialPort& port, Jobs& jobs, FrmState& state,
            const LinkTiming& timing, TransactionProgress& progress,
            std::function<void()> checkChangedFields);

  void func_read_out_parameter();
  void set_parameter_Click();
  void chk_read_out_Click();
  void chk_sync_Click();
  // Another address: the monitor's values belong to the unit they were
  // polled from and go.
  void txt_Modbus_adress_Change();
  void ShowMsgWindow();

 private:
  void stopLeftOverJobs();

  Globals& g_;
  FrmConfig& form_;
  SerialPort& port_;
  Jobs& jobs_;
  FrmState& state_;
  const LinkTiming& timing_;
  TransactionProgress& progress_;
  std::function<void()> checkChangedFields_;

  // Starts a job timer: at its own interval, or at once on the fast link.
  void start(TickTimer& timer);
};

}  // namespace rbx14
