#pragma once
// What the link is doing at one moment: which of the window's timers run and
// the transaction globals. The bus scan takes one before it borrows the line
// and puts it back afterwards, so the window goes on exactly where it was.

#include "base/globals.h"
#include "model/frm_config.h"

#include <string>
#include <vector>

namespace rbx14 {

class LinkSnapshot {
 public:
  // Notes the state and stops every timer of the link.
  void takeAndStop(Globals& globals, FrmConfig& form);
  // Puts the state back as it was noted.
  void restore(Globals& globals, FrmConfig& form) const;

 private:
  static std::vector<TickTimer*> timers(FrmConfig& form);

  std::vector<bool> timersEnabled_;
  job_state::Job jobState_ = job_state::kNone;
  int regPointer_ = 0;
  bool sendFree_ = false;
  std::string frame_;
};

}  // namespace rbx14
