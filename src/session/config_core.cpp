#include "session/config_core.h"

#include "base/device_registers.h"
#include "model/change_tracking.h"
#include "shell/localisation.h"
#include "transactions/request_builders.h"

namespace rbx14 {

ConfigCore::ConfigCore(Scheduler& scheduler, SerialPort& port, MessageBoxes& boxes,
                       Settings settings, std::function<Settings()> reread)
    : messages(boxes),
      form(scheduler),
      editing(globals, form),
      frmState(globals, form, scheduler),
      link(globals,
           Link::Controls{form.Combo_Port, form.txt_Modbus_adress, form.lbl_desc, form.chk_read_out,
                          form.read_out_parameter, form.set_parameter, form.Timer1.get(),
                          form.Timer2.get(), form.Timer3.get(), form.Timer4.get(),
                          form.Timer5.get(), form.Timer6.get(), form.Timer7.get()},
           port, boxes,
           Link::Calls{
               .receiveAnswer =
                   [this] {
                     responses.ReceiveAnswer();
                     settle();
                   },
               .checkChangedFields = [this] { checkChangedFields(); },
               .buildProbe =
                   [this] {
                     globals.iRegPointer = device::kBusDelayRegister;
                     globals.sModbusFrame = ReadRequest(form.txt_Modbus_adress.text(), 0x03,
                                                        device::kBusDelayRegister, 1);
                   },
               .abandonTransaction = [this] { frmState.Abandon(); },
               .requestGoesOut = [this] { responses.RequestGoesOut(); },
               .answerDelayed = [this](int ms) { frmState.ExtendBudget(ms); },
               .gaveUp = [this] { transactionEnds(TransactionEndKind::NoAnswer); },
               .lost = [this] { transactionEnds(TransactionEndKind::PortLost); },
           },
           timing, scheduler),
      jobs(globals, form, link, timing, [this] { frmState.CloseWindow(); }),
      responses(globals, form, port, jobs,
                ResponseHandler::Calls{
                    .checkChangedFields = [this] { checkChangedFields(); },
                    .showMsgWindow = [this] { sequences.ShowMsgWindow(); },
                    .closeStateWindow = [this] { frmState.CloseWindow(); },
                    .answerTaken = [this] { link.AnswerTaken(); },
                    .somethingHeard = [this] { link.SomethingHeard(); },
                    .outputsRead =
                        [this] { trend.take(form, globals.decimalSep(), clock_.nowMs()); },
                    .progress = &progress,
                },
                timing, scheduler),
      sequences(globals, form, port, jobs, frmState, timing, progress,
                [this] { checkChangedFields(); }),
      scan(globals, form, frmState, link, port, scheduler),
      sweep(globals, form, scan),
      settings_(std::move(settings)),
      reread_(std::move(reread)),
      clock_(scheduler) {
  // The state window runs the language step first thing when it loads.
  frmState.loading = [this] {
    if (reread_) SetLanguage(globals, reread_());
  };
  frmState.closing = [this](bool budgetRanOut) {
    progress.windowCloses(budgetRanOut, globals.lJobState, globals.iRegPointer);
  };
  frmState.cancelled = [this] { transactionEnds(TransactionEndKind::Cancelled); };
  frmState.closed = [this] { settle(); };
  progress.addListener([this](const TransactionEnd& end) {
    // A write whose window ran out of time is still read back; what the
    // device then holds decides.
    if (end.how == TransactionEndKind::OutOfTime && end.write) return;
    if (end.how != TransactionEndKind::Done) sessionEnds(end.how);
  });
}

void ConfigCore::transactionEnds(TransactionEndKind how) {
  progress.end(how, globals.lJobState, globals.iRegPointer);
  // The probe has no progress record: its silence ends the opening too.
  sessionEnds(how);
}

void ConfigCore::settle() {
  if (!pendingWrite_ || busy()) return;
  // Nothing runs any more: done when the read-out that ends it came in,
  // else the state window closed before it (its time budget).
  sessionEnds(responses.completedReadOuts() > readOutsBefore_ ? TransactionEndKind::Done
                                                               : TransactionEndKind::OutOfTime);
}

void ConfigCore::sessionEnds(TransactionEndKind how) {
  if (!pendingWrite_) return;
  lastEnd_ = SessionEnd{*pendingWrite_, how};
  pendingWrite_.reset();
}

bool ConfigCore::openDevice(int address) {
  closePort();
  form.txt_Modbus_adress.setText(QString::number(address));
  begin(false);
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  if (!globals.bPortOpen) pendingWrite_.reset();
  return globals.bPortOpen;
}

void ConfigCore::begin(bool write) {
  lastEnd_.reset();
  pendingWrite_ = write;
  readOutsBefore_ = responses.completedReadOuts();
}

void ConfigCore::probeDevice(int address) {
  form.txt_Modbus_adress.setText(QString::number(address));
  begin(false);
  link.ProbeDevice();
}

bool ConfigCore::openLine() {
  closePort();
  form.txt_Modbus_adress.setText(QString());
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  return globals.bPortOpen;
}

void ConfigCore::closePort() {
  if (globals.bPortOpen) form.Combo_Port[port_list::kOpenClose].setListIndex(0);
}

bool ConfigCore::writeChanges() {
  begin(true);
  form.set_parameter.click();
  if (!busy()) pendingWrite_.reset();
  return pendingWrite_.has_value();
}

void ConfigCore::holdNewFrames() {
  form.Timer1->setEnabled(false);
  form.Timer2->setEnabled(false);
  form.Timer6->setEnabled(false);
}

void ConfigCore::cancel() {
  if (frmState.loaded()) frmState.Abbruch_Click();
  pendingWrite_.reset();
  globals.lJobState = job_state::kNone;
  form.Timer3->setEnabled(false);
  form.Timer5->setEnabled(false);
  closePort();
  form.lbl_desc[desc::kCommWarning].setVisible(false);
}



void ConfigCore::checkChangedFields() { CheckChangedFields(form); }

void ConfigCore::refreshVersion() {
  if (reread_) globals.sVersion = reread_().version;
}

void ConfigCore::Main() {
  link.SetStartValues();
  // The window's load: its language first, then the settings lists.
  const bool english = SetLanguage(globals, settings_);
  form.applyLanguage(english);
  link.FillSettingsLists();
  // The input fields' start texts are the device's values until it is read.
  editing.inputs.SeedReferenceValues(globals.inputRefCount);
  link.ConfigurePort();
}

}  // namespace rbx14
