#include "transactions/link_snapshot.h"

namespace rbx14 {

std::vector<TickTimer*> LinkSnapshot::timers(FrmConfig& form) {
  return {form.Timer1.get(), form.Timer2.get(), form.Timer3.get(), form.Timer4.get(),
          form.Timer5.get(), form.Timer6.get(), form.Timer7.get()};
}

void LinkSnapshot::takeAndStop(Globals& globals, FrmConfig& form) {
  timersEnabled_.clear();
  for (TickTimer* timer : timers(form)) {
    timersEnabled_.push_back(timer->enabled());
    timer->setEnabled(false);
  }
  jobState_ = globals.lJobState;
  regPointer_ = globals.iRegPointer;
  sendFree_ = globals.bSendFree;
  frame_ = globals.sModbusFrame;
}

void LinkSnapshot::restore(Globals& globals, FrmConfig& form) const {
  globals.lJobState = jobState_;
  globals.iRegPointer = regPointer_;
  globals.bSendFree = sendFree_;
  globals.sModbusFrame = frame_;
  const auto all = timers(form);
  for (std::size_t i = 0; i < all.size() && i < timersEnabled_.size(); ++i) {
    all[i]->setEnabled(timersEnabled_[i]);
  }
}

}  // namespace rbx14
