#include "transactions/sequences.h"

#include "base/trap.h"
#include "link/serial_port.h"
#include "model/output_map.h"

namespace rbx14 {
namespace {

bool Marked(const Control& control) { return control.foreColor() == colors::kRed; }

void MarkInputFieldsZeroToFive(FrmConfig& form) {
  // The clock fields are written together: one marked field marks them all.
  for (int k = 0; k <= 5; ++k) {
    if (TextBox* field = form.txt_data_in.find(k)) field->setForeColor(colors::kRed);
  }
}

}  // namespace

Sequences::Sequences(Globals& globals, FrmConfig& form, SerialPort& port, Jobs& jobs,
                     FrmState& state, const LinkTiming& timing, TransactionProgress& progress,
                     std::function<void()> checkChangedFields)
    : g_(globals),
      form_(form),
      port_(port),
      jobs_(jobs),
      state_(state),
      timing_(timing),
      progress_(progress),
      checkChangedFields_(std::move(checkChangedFields)) {
  form_.read_out_parameter.onClick = [this] {
    Trap("read_out_parameter", [this] { func_read_out_parameter(); });
  };
  form_.set_parameter.onClick = [this] { Trap("set_parameter", [this] { set_parameter_Click(); }); };
  form_.chk_read_out.onClick = [this] { Trap("chk_read_out", [this] { chk_read_out_Click(); }); };
  form_.chk_sync.onClick = [this] { Trap("chk_sync", [this] { chk_sync_Click(); }); };
  form_.txt_Modbus_adress.onChange = [this] {
    Trap("txt_Modbus_adress", [this] { txt_Modbus_adress_Change(); });
  };
  state_.readOutAfterWrite = [this] { func_read_out_parameter(); };
}

void Sequences::start(TickTimer& timer) {
  if (timing_.fast()) timer.setInterval(1);
  timer.setEnabled(true);
}

void Sequences::stopLeftOverJobs() {
  // A chain that stalled and ran out of its window's time leaves its job
  // timer running. In the next transaction it would send into the other
  // job's answers: a read taken as a write's acknowledge leaves that block
  // unwritten (and unmarked), a write tick in a read-out writes the window's
  // values to the device.
  form_.Timer1->setEnabled(false);
  form_.Timer2->setEnabled(false);
  form_.Timer6->setEnabled(false);
  // The time-out of an earlier request must not fall into this transaction:
  // its tick would stop the new job's timer before the first answer.
  form_.Timer3->setEnabled(false);
}

void Sequences::func_read_out_parameter() {
  stopLeftOverJobs();
  g_.lJobState = job_state::kReadOut;
  g_.bSendFree = true;
  g_.iRegPointer = 0;
  progress_.beginReadOut();
  start(*form_.Timer6);
  ShowMsgWindow();
}

void Sequences::ShowMsgWindow() {
  form_.window.setEnabled(false);
  // Errors from here on are ignored: the window is shown in any case.
  Trap("ShowMsg", [this] { state_.ShowMsg(); });
  Trap("show state window", [this] { state_.show(); });
}

void Sequences::set_parameter_Click() {
  form_.bInputRegsChanged = false;
  form_.chk_sync.setValue(0);

  bool changed = false;
  for (int i = 0; i <= 60; ++i) {
    if (Marked(form_.txt_data_cfg[i])) {
      changed = true;
      if (i >= 10 && i <= 13) MarkInputFieldsZeroToFive(form_);
    }
  }
  for (int i = 0; i <= 21; ++i) changed = changed || Marked(form_.txt_data_cfg_txt[i]);
  for (int i = 0; i <= 17; ++i) changed = changed || Marked(form_.txt_data_cfg_unit[i]);
  // Bit 31 alone does not start a write; it goes along with the others.
  for (int i = 0; i <= 30; ++i) changed = changed || Marked(form_.chk_cfg[i]);

  if (changed) {
    stopLeftOverJobs();
    g_.lJobState = job_state::kConfigWrite;
    g_.bSendFree = true;
    g_.iRegPointer = 0;
    start(*form_.Timer1);
    ShowMsgWindow();
  }
  for (int i = 0; i <= 24; ++i) {
    if (Marked(form_.txt_data_in[i])) {
      form_.bInputRegsChanged = true;
      if (i < 7) MarkInputFieldsZeroToFive(form_);
    }
  }
  for (int i = 0; i <= 15; ++i) {
    if (Marked(form_.chk_input[i])) form_.bInputBitsChanged = true;
  }
  // What this write is to put on the device, so that a write that breaks
  // off can say what the unit holds: the chain writes every block and the
  // bits; the input bits follow them, the input registers, or go alone.
  QList<int> inputRegisters;
  if (form_.bInputRegsChanged) {
    for (int i = 0; i <= 24; ++i) {
      if (Marked(form_.txt_data_in[i])) inputRegisters << i;
    }
  }
  const bool inputBits = form_.bInputBitsChanged;
  if (changed || form_.bInputRegsChanged || form_.bInputBitsChanged) {
    progress_.beginWrite(changed, inputRegisters, inputBits);
  }
  if (!changed) {
    if (form_.bInputRegsChanged) {
      stopLeftOverJobs();
      g_.lJobState = job_state::kWriteInputRegisters;
      // The guard opens here as for the other writes: after an unanswered
      // request it stays closed, and the write would send nothing while the
      // read-out after it overwrote the edited fields.
      g_.bSendFree = true;
      g_.iRegPointer = 0x0200;
      start(*form_.Timer2);
      ShowMsgWindow();
    } else if (form_.bInputBitsChanged) {
      stopLeftOverJobs();
      jobs_.WriteInputBits();
      ShowMsgWindow();
    }
  }
}

void Sequences::chk_read_out_Click() {
  if (form_.chk_read_out.value() == 1) {
    form_.Timer3->setEnabled(false);  // an earlier time-out would stop the polling
    form_.Timer7->setEnabled(true);
    form_.read_out_parameter.setEnabled(false);
    form_.set_parameter.setEnabled(false);
    return;
  }
  form_.Timer7->setEnabled(false);
  if (port_.portOpen()) {
    form_.read_out_parameter.setEnabled(true);
    if (checkChangedFields_) checkChangedFields_();
  }
}

void Sequences::txt_Modbus_adress_Change() {
  // Shown beside the new address, the last unit's values would be taken for
  // the new one's; the poll fills them again from the unit it now asks.
  for (int k : form_.txt_data_out.indices()) form_.txt_data_out[k].setText(QString());
  for (const OutputField& row : kOutputFields) {
    if (row.texts.empty()) continue;
    if (Label* text = form_.lbl_in_val.find(row.index)) text->setCaption(QString());
  }
  for (int k : form_.lbl_temp.indices()) form_.lbl_temp[k].setCaption(QString());
  for (int j : form_.Lbl_button.indices()) form_.Lbl_button[j].setForeColor(colors::kButtonFace);
}

void Sequences::chk_sync_Click() {
  if (form_.chk_sync.value() != 1) return;
  form_.txt_data_cfg_txt[0].setForeColor(colors::kRed);
  form_.set_parameter.setEnabled(true);
}

}  // namespace rbx14
