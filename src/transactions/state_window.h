#pragma once
// The state window: shown while a transaction runs, with a progress bar
// that fills in ten steps over the job's time budget. It blocks the main
// window while it is open and, when it closes, starts the read-out that
// follows every write.

#include "base/globals.h"
#include "base/timer.h"
#include "model/controls.h"
#include "model/frm_config.h"

#include <functional>
#include <memory>

namespace rbx14 {

class FrmState {
 public:
  FrmState(Globals& globals, FrmConfig& mainWindow, Scheduler& scheduler);

  // The read-out that follows a write (set by the core).
  std::function<void()> readOutAfterWrite;
  // First thing when the window loads: the settings' language step.
  std::function<void()> loading;
  // The window closes (its budget ran out, or the chain closed it) or its
  // cancel button stops the transaction; called before anything follows.
  std::function<void(bool budgetRanOut)> closing;
  std::function<void()> cancelled;
  // After the window has closed and what follows it (a write's read-out) has begun.
  std::function<void()> closed;

  // Prepares the progress display for the current job (loads the window if
  // it is not loaded) and starts its timers.
  void ShowMsg();
  // Shows the loaded window (not modal).
  void show();
  // Stops the progress display, closes the window and chains the next step.
  void CloseWindow();
  void Abbruch_Click();
  // The user closed the window with its frame.
  void closedByUser();
  // The transaction ended without its chain (the port went away): the window
  // goes and nothing follows.
  void Abandon();
  void Timer1SW_Timer();
  void Timer2SW_Timer();
  // The link waited `ms` for an answer that did not come (a repeat, the
  // line held after one): the budget, which is for a line that answers,
  // grows by as much.
  void ExtendBudget(int ms);

  bool loaded() const { return loaded_; }
  // The time budget of the job, limited to a 16-bit millisecond count.
  int timeBudgetMs() const;

  // Controls.
  Window window;
  Label lblTxt;
  Frame frameProgress;
  ProgressBar ProgressFile;
  CommandButton Abbruch;
  CommandButton cmdOK;
  std::unique_ptr<TickTimer> Timer1SW;
  std::unique_ptr<TickTimer> Timer2SW;
  std::unique_ptr<TickTimer> Timer3SW;

 private:
  void Form_Load();
  void Form_Unload();
  void unload();
  void closeWindow(bool budgetRanOut);

  Globals& g_;
  FrmConfig& main_;
  Scheduler& clock_;
  std::int64_t budgetEndMs_ = 0;
  bool loaded_ = false;
  int step_ = 0;
};

}  // namespace rbx14
