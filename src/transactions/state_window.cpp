#include "transactions/state_window.h"

#include "base/numbers.h"
#include "base/trap.h"
#include "base/texts.h"

#include <algorithm>

namespace rbx14 {

FrmState::FrmState(Globals& globals, FrmConfig& mainWindow, Scheduler& scheduler)
    : Timer1SW(scheduler.createTimer("Timer1SW", 0)),
      Timer2SW(scheduler.createTimer("Timer2SW", 0)),
      Timer3SW(scheduler.createTimer("Timer3SW", 3000)),
      g_(globals),
      main_(mainWindow),
      clock_(scheduler) {
  lblTxt.setCaption(texts::kStateWaiting.in(true));  // the design text is the English one
  cmdOK.setCaption(texts::kStateClose.in(false));
  cmdOK.setVisible(false);
  Abbruch.setCaption(texts::kStateCancel.in(false));
  Abbruch.setVisible(false);
  Abbruch.onClick = [this] { Trap("Abbruch", [this] { Abbruch_Click(); }); };
  Timer1SW->setOnTick([this] { Trap("Timer1SW", [this] { Timer1SW_Timer(); }); });
  Timer2SW->setOnTick([this] { Trap("Timer2SW", [this] { Timer2SW_Timer(); }); });
}

void FrmState::Form_Load() {
  loaded_ = true;
  if (loading) loading();
  const bool english = g_.english();
  window.setCaption(texts::kStateTitle.in(english));
  lblTxt.setCaption(texts::kStateWaiting.in(english));
  Abbruch.setCaption(texts::kStateCancel.in(english));
  Abbruch.setVisible(false);  // a fresh window hides its cancel button
  cmdOK.setVisible(false);
  frameProgress.setVisible(true);
  Timer1SW->setEnabled(false);
  Timer1SW->setInterval(0);
  Timer2SW->setEnabled(false);
  Timer2SW->setInterval(0);
  Timer3SW->setEnabled(false);
}

void FrmState::Form_Unload() { main_.window.setEnabled(true); }

void FrmState::unload() {
  if (!loaded_) return;
  // The window's timers go with it.
  Timer1SW->setEnabled(false);
  Timer2SW->setEnabled(false);
  window.setVisible(false);
  loaded_ = false;
  Form_Unload();
}

int FrmState::timeBudgetMs() const {
  const std::int64_t d = 2LL * g_.iBusDelay + 200;
  std::int64_t t = d;
  switch (g_.lJobState) {
    case job_state::kReadOut: t = d * 50; break;
    case job_state::kConfigWrite: t = d * 60; break;
    case job_state::kWriteInputRegisters: t = d * 40; break;
    default: break;
  }
  // A budget beyond a 16-bit count is limited to it, so the window always
  // closes and chains the next step.
  return ClampToInt16(t);
}

void FrmState::ShowMsg() {
  if (!loaded_) Form_Load();
  if (g_.lJobState == job_state::kNone) {
    CloseWindow();
    return;
  }
  const int budget = timeBudgetMs();
  if (g_.lJobState == job_state::kConfigWrite) Abbruch.setVisible(true);
  cmdOK.setVisible(false);
  frameProgress.setVisible(true);
  ProgressFile.setRange(0, 10);
  ProgressFile.setValue(0);
  step_ = 0;
  Timer1SW->setInterval(budget);
  Timer2SW->setInterval(static_cast<int>(RoundHalfEven(budget / 10.0)));
  Timer1SW->setEnabled(true);
  Timer2SW->setEnabled(true);
  budgetEndMs_ = clock_.nowMs() + budget;
}

void FrmState::ExtendBudget(int ms) {
  if (!loaded_ || !Timer1SW->enabled() || ms <= 0) return;
  budgetEndMs_ += ms;
  // Setting the interval starts the countdown again, now, for what is left.
  Timer1SW->setInterval(ClampToInt16(std::max<std::int64_t>(1, budgetEndMs_ - clock_.nowMs())));
}

void FrmState::show() {
  if (loaded_) window.setVisible(true);
}

void FrmState::Timer2SW_Timer() {
  if (step_ >= ProgressFile.max()) {
    step_ = ProgressFile.max();
  } else {
    ++step_;
  }
  ProgressFile.setValue(step_);
}

void FrmState::Timer1SW_Timer() {
  Timer1SW->setEnabled(false);
  Timer2SW->setEnabled(false);
  closeWindow(true);
}

void FrmState::CloseWindow() { closeWindow(false); }

void FrmState::closeWindow(bool budgetRanOut) {
  if (closing) closing(budgetRanOut);
  if (!loaded_) Form_Load();
  Timer1SW->setEnabled(false);
  Timer2SW->setEnabled(false);
  const std::int32_t job = g_.lJobState;
  cmdOK.setVisible(true);
  frameProgress.setVisible(false);
  if (job == job_state::kNone) lblTxt.setCaption(texts::kStateInvalid);
  g_.lJobState = job_state::kNone;
  unload();
  // Every write ends with a read-out that shows what the device now holds.
  const bool endsAWrite = job == job_state::kWriteConfigBits ||
                          job == job_state::kWriteInputRegisters || job == job_state::kWriteInputBits;
  if (endsAWrite && readOutAfterWrite) readOutAfterWrite();
  if (closed) closed();
}

void FrmState::closedByUser() { unload(); }

void FrmState::Abandon() { unload(); }

void FrmState::Abbruch_Click() {
  if (cancelled) cancelled();
  g_.lJobState = job_state::kNone;
  main_.Timer1->setEnabled(false);
  main_.Timer6->setEnabled(false);
  unload();
}

}  // namespace rbx14
