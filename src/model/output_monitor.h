#pragma once
// The monitor: the texts beside the output registers that carry a code
// (fan stage, room occupancy, controller state).

#include "base/globals.h"
#include "model/frm_config.h"

namespace rbx14 {

class OutputMonitor {
 public:
  OutputMonitor(const Globals& globals, FrmConfig& form) : g_(globals), form_(form) {}

  // Output field `index` was written by the monitor's poll.
  void txt_data_out_Change(int index);

 private:
  const Globals& g_;
  FrmConfig& form_;
};

}  // namespace rbx14
