#pragma once
// The jobs that put requests on the line: the one-shot bit and external
// value requests, and the timer-driven block jobs that walk a register range
// one request per tick while the response handler moves the block pointer.
// Every request goes out only while the send guard is open and an address is
// typed; a job that does not send still takes its preparatory steps.

#include "base/globals.h"
#include "link/link_timing.h"
#include "model/frm_config.h"

#include <functional>
#include <string>

namespace rbx14 {

class Link;

// Register indices that carry tenths of the shown value.
bool IsTenthsConfigRegister(int index);
bool IsTenthsInputRegister(int index);

class Jobs {
 public:
  Jobs(Globals& globals, FrmConfig& form, Link& link, const LinkTiming& timing,
       std::function<void()> closeStateWindow);

  void ReadConfigBits();
  void WriteConfigBits();
  void WriteInputBits();
  void ReadExternalValues();
  void ReadInputBits();

  void Timer1_Timer();  // configuration block write
  void Timer2_Timer();  // input-register write, changed fields only
  void Timer6_Timer();  // read-out block
  void Timer7_Timer();  // output-register poll

  // The interval of a job timer for the current bus delay plus `extra`,
  // limited to what a 16-bit millisecond count holds.
  int delayInterval(int factor, int extra) const;

 private:
  bool guardOpen() const;
  void sendFrame(std::string frame);
  std::string configBlockData() const;
  void endInputRegisterWrite();

  Globals& g_;
  FrmConfig& form_;
  Link& link_;
  const LinkTiming& timing_;
  std::function<void()> closeStateWindow_;
};

}  // namespace rbx14
