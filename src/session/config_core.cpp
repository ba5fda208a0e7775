#include "session/config_core.h"

#include "base/device_registers.h"
#include "model/change_tracking.h"
#include "shell/localisation.h"
#include "transactions/request_builders.h"

namespace rbx14 {

ConfigCore::ConfigCore(Scheduler& scheduler, SerialPort& port, MessageBoxes& boxes,
                       Settings settings)
    : messages(boxes),
      form(scheduler),
      editing(globals, form),
      frmState(globals, form, scheduler),
      link(globals, form, port, boxes,
           Link::Calls{
               .receiveAnswer = [this] { responses.ReceiveAnswer(); },
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
                    .progress = &progress,
                },
                timing, scheduler),
      sequences(globals, form, port, jobs, frmState, timing, progress,
                [this] { checkChangedFields(); }),
      scan(globals, form, frmState, link, port, scheduler),
      sweep(globals, form, scan),
      settings_(std::move(settings)) {
  frmState.closing = [this](bool budgetRanOut) {
    progress.windowCloses(budgetRanOut, globals.lJobState, globals.iRegPointer);
  };
  frmState.cancelled = [this] { transactionEnds(TransactionEndKind::Cancelled); };
}

void ConfigCore::transactionEnds(TransactionEndKind how) {
  progress.end(how, globals.lJobState, globals.iRegPointer);
}

void ConfigCore::checkChangedFields() { CheckChangedFields(form); }

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
