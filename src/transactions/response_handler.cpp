#include "transactions/response_handler.h"

#include "base/device_registers.h"
#include "base/codepage.h"
#include "base/numbers.h"
#include "base/trap.h"
#include "model/register_map.h"
#include "transactions/answer_decoding.h"
#include "model/input_map.h"
#include "transactions/jobs.h"

#include <cmath>
#include <utility>

namespace rbx14 {
namespace {

constexpr Color kNormal = colors::kButtonText;

template <class T>
T& Existing(ControlArray<T>& array, int index) {
  T* control = array.find(index);
  if (control == nullptr) throw RuntimeError("no control at this index");
  return *control;
}

}  // namespace

ResponseHandler::ResponseHandler(Globals& globals, FrmConfig& form, SerialPort& port, Jobs& jobs,
                                 Calls calls, LinkTiming& timing, const Scheduler& clock)
    : g_(globals),
      form_(form),
      port_(port),
      jobs_(jobs),
      calls_(std::move(calls)),
      timing_(timing),
      clock_(clock) {}

void ResponseHandler::arrivalHousekeeping() {
  // The repeats, the time-out and its warning stay until a good answer is
  // taken: a damaged answer, a stray byte or another slave's answer is no
  // answer.
  timing_.noteArrival(clock_.nowUs());
  form_.chk_read_out.setEnabled(true);
  if (form_.chk_read_out.value() == 0) {
    form_.read_out_parameter.setEnabled(true);
    if (calls_.checkChangedFields) calls_.checkChangedFields();
  }
}

int ResponseHandler::ownAddress() const {
  const auto address = ParseDecimal(form_.txt_Modbus_adress.text(), g_.decimalSep());
  if (!address) throw RuntimeError("the address field holds no number");
  return static_cast<int>(RoundHalfEven(*address));
}

QString ResponseHandler::number(double value) const {
  return FormatDecimal(value, g_.decimalSep());
}

double ResponseHandler::fieldNumber(const QString& text) const {
  const auto value = ParseDecimal(text, g_.decimalSep());
  if (!value) throw RuntimeError("field holds no number");
  return *value;
}

void ResponseHandler::ReceiveAnswer() {
  Trap(
      "ReceiveAnswer",
      [this] {
        bool accepted = false;
        if (g_.sModbusMode == kModeRtu) {
          form_.Timer4->setEnabled(true);
          const int n = port_.inBufferCount();
          const QByteArray bytes = port_.input().left(n);
          arrivalHousekeeping();
          accepted = assembleRtu(bytes);
        } else if (g_.sModbusMode == kModeAscii) {
          const QByteArray text = port_.input();
          arrivalHousekeeping();
          accepted = assembleAscii(text);
        } else {
          return;
        }
        if (!accepted) {
          if (calls_.somethingHeard) calls_.somethingHeard();
          return;
        }
        // Before the job goes on: its next request may go out from here.
        if (calls_.answerTaken) calls_.answerTaken();
        dispatch();
        takeNextStepNow();
      },
      [this] { rtu_.reset(); });
}

void ResponseHandler::RequestGoesOut() {
  rtu_.reset();
  asciiLine_.reset();
}

bool ResponseHandler::assembleRtu(const QByteArray& bytes) {
  const int address = ownAddress();
  bool accepted = false;
  for (char c : bytes) {
    const auto frame = rtu_.push(static_cast<std::uint8_t>(c), address);
    // Only a frame whose CRC is good and that answers the request on the
    // line is handed on: a damaged frame never reaches a field, even when a
    // good one came earlier in the same call.
    if (!frame || !frame->checkGood) continue;
    std::string hex = frame->hexWithCheck(false);
    if (AnswerFitsRequest(hex, g_.sModbusFrame, 4)) {
      sAnswerFrame_ = std::move(hex);
      g_.bSendFree = true;
      accepted = true;
    }
  }
  return accepted;
}

bool ResponseHandler::assembleAscii(const QByteArray& bytes) {
  // An answer runs from its ":" to its CR LF; anything before the ":" (a
  // stray byte when the line turns round) belongs to no answer, and a ":"
  // starts a new one. Only a whole line with a good LRC from our own
  // address counts, like an RTU frame with a good CRC.
  const int address = ownAddress();
  bool accepted = false;
  std::string line;
  for (char c : bytes) {
    if (asciiLine_.push(c, line) != AsciiLineCollector::Step::Line) continue;
    const auto frame = AsciiAnswerLine(line);
    if (!frame || !frame->checkGood || address <= 0 || frame->address() != address) continue;
    std::string hex = frame->hexWithCheck(true);
    if (AnswerFitsRequest(hex, g_.sModbusFrame, 2)) {
      sAnswerFrame_ = std::move(hex);
      g_.bSendFree = true;
      accepted = true;
    }
  }
  return accepted;
}

void ResponseHandler::takeNextStepNow() {
  // On the fast link a job whose next step was set to follow at once (an
  // interval of a millisecond) takes it as soon as this answer is handled;
  // the send path still keeps the line's silence.
  if (!timing_.fast()) return;
  for (TickTimer* job : {form_.Timer1.get(), form_.Timer2.get(), form_.Timer6.get()}) {
    if (job->enabled() && job->interval() == 1) job->tickSoon();
  }
}

void ResponseHandler::dispatch() {
  switch (g_.lJobState) {
    case job_state::kReadOut: readBlock(); break;
    case job_state::kConfigWrite: writeAcknowledged(); break;
    case job_state::kReadConfigBits: configBitsRead(); break;
    case job_state::kWriteConfigBits: configBitsWritten(); break;
    case job_state::kWriteInputRegisters: inputRegisterWritten(); break;
    case job_state::kProbe: probeAnswered(); break;
    case job_state::kReadExternalValues: externalValuesRead(); break;
    case job_state::kWriteInputBits: inputBitsWritten(); break;
    case job_state::kReadInputBits: inputBitsRead(); break;
    default:
      form_.Timer1->setEnabled(false);
      form_.Timer6->setEnabled(false);
      g_.bSendFree = true;
      break;
  }
}

// ---- job 1: read blocks ---------------------------------------------------

void ResponseHandler::readBlock() {
  form_.Timer6->setInterval(timing_.nextStepMs(10));
  if (AnswerFunction(sAnswerFrame_) != "03") return;
  const int ptr = g_.iRegPointer;
  if (ptr < 0x100) {
    configBlock();
  } else if (ptr < 0x200) {
    monitorBlock();
    if (calls_.outputsRead) calls_.outputsRead();
  } else if (ptr >= device::kTextFirst && ptr < device::kUnitFirst) {
    textBlock();
  } else if (ptr >= device::kUnitFirst && ptr < 0x500) {
    unitBlock();
  }
}

void ResponseHandler::configBlock() {
  for (int k = 0; k < 10; ++k) {
    const int r = g_.iRegPointer + k;
    TextBox* field = form_.txt_data_cfg.find(r);
    if (field == nullptr || r > 60) continue;  // beyond the last field
    const std::uint16_t word = AnswerRegister(sAnswerFrame_, k);
    // A register whose range lies above the signed 16 bits (the location
    // identifier, 0..65535) reads unsigned: signed, 46777 would show as
    // -18759, which the field's five characters cut to -1875, and the next
    // write would send that.
    const ConfigField& row = ConfigFieldAt(r);
    const bool unsignedRange = row.min >= 0 && row.max > 32767;
    field->setText(number(IsTenthsConfigRegister(r) ? AsSignedTenths(word) : unsignedRange ? word : AsSigned(word)));
    form_.dCfgRegValue[r] = fieldNumber(field->text());
    field->setForeColor(kNormal);
    if (ComboBox* list = form_.cmb_cfg.find(r)) {
      if (r == 2) {
        list->setForeColor(colors::kBlack);
      } else if ((r >= 6 && r <= 13) || (r >= 25 && r <= 29) || r == 43) {
        list->setForeColor(kNormal);
      }
    }
  }
  g_.iRegPointer += 10;
  if (g_.iRegPointer == device::kConfigTransferred) g_.iRegPointer = device::kTextFirst;
}

void ResponseHandler::monitorBlock() {
  for (int k = 0; k <= 13; ++k) {
    const std::uint16_t word = AnswerRegister(sAnswerFrame_, k);
    const bool tenths = k >= 2 && k <= 6;
    Existing(form_.txt_data_out, k).setText(number(tenths ? AsSignedTenths(word) : word));
  }
  Existing(form_.lbl_temp, 0).setCaption(form_.txt_data_out[2].text());
  // Register 0 carries the keys as bits: key 3 - j in bit j.
  int keys = static_cast<int>(std::lround(fieldNumber(form_.txt_data_out[0].text())));
  for (int j = 0; j <= 3; ++j) {
    const int bit = 1 << (3 - j);
    Label& indicator = Existing(form_.Lbl_button, j);
    if (keys >= bit) {
      indicator.setForeColor(colors::kRed);
      keys -= bit;
    } else {
      indicator.setForeColor(colors::kButtonFace);
    }
  }
}

void ResponseHandler::textBlock() {
  const int n = (g_.iRegPointer - device::kTextFirst) / 10;
  TextBox& field = Existing(form_.txt_data_cfg_txt, n);
  field.setText(QString());
  for (int i = 0; i < 20; ++i) {
    // Appended one by one, NUL characters included: nothing is trimmed.
    field.setText(field.text() + CharFromCodePage(AnswerDataByte(sAnswerFrame_, i)));
  }
  field.setForeColor(kNormal);
  form_.sCfgTextValue[n] = field.text();
  g_.iRegPointer += 10;
  if (g_.iRegPointer == device::kTextEnd) g_.iRegPointer = device::kUnitFirst;
}

void ResponseHandler::unitBlock() {
  for (int i = 0; i <= 2; ++i) {
    const int u = (g_.iRegPointer - device::kUnitFirst) / 10 * 3 + i;
    QString unit;
    // Three characters per unit are shown; the fourth byte is not used.
    for (int b = 4 * i; b < 4 * i + 3; ++b) unit += CharFromCodePage(AnswerDataByte(sAnswerFrame_, b));
    TextBox& field = Existing(form_.txt_data_cfg_unit, u);
    field.setText(unit);
    field.setForeColor(kNormal);
    form_.sCfgUnitValue[u] = field.text();
  }
  g_.iRegPointer += 10;
  if (g_.iRegPointer == device::kUnitEnd) {
    g_.iRegPointer = 0;
    form_.Timer6->setEnabled(false);
    jobs_.ReadConfigBits();
    form_.Timer1->setEnabled(false);
  }
}

// ---- job 2: configuration block written --------------------------------------

void ResponseHandler::retuneJobTimers(int readOutExtra) {
  form_.Timer1->setInterval(jobs_.delayInterval(2, 150));
  form_.Timer2->setInterval(jobs_.delayInterval(2, 200));
  form_.Timer6->setInterval(jobs_.delayInterval(2, readOutExtra));
  form_.Timer7->setInterval(jobs_.delayInterval(1, 150));
}

void ResponseHandler::advancePointer(int step) {
  // The pointer is a 16-bit count: stepping past its end is an overflow,
  // which ends the call at its recovery step like any run-time error.
  if (g_.iRegPointer + step > 32767) throw RuntimeError("block pointer beyond 16 bits");
  g_.iRegPointer += step;
}

void ResponseHandler::writeAcknowledged() {
  g_.bSendFree = true;
  // The block at the pointer is on the device now.
  if (calls_.progress) calls_.progress->blockWritten(g_.iRegPointer);
  advancePointer(10);
  form_.Timer1->setInterval(timing_.nextStepMs(10));
  if (g_.iRegPointer == device::kConfigTransferred) {
    if (form_.bDelayChanged) {
      // The device answers with the new delay from now on. The delay is a
      // 16-bit value; the intervals built from it are limited likewise.
      const double delay = fieldNumber(form_.txt_data_cfg[15].text()) * 10.0;
      g_.iBusDelay = ClampToInt16(RoundHalfEven(delay));
      retuneJobTimers(150);
      // The fast link still takes the next block at once; the retuned
      // interval holds from that block's tick on.
      if (timing_.fast()) form_.Timer1->setInterval(1);
      form_.bDelayChanged = false;
    }
    g_.iRegPointer = device::kTextFirst;
  } else if (g_.iRegPointer == device::kTextEnd) {
    g_.iRegPointer = device::kUnitFirst;
  } else if (g_.iRegPointer == device::kUnitEnd) {
    form_.Timer1->setEnabled(false);
    jobs_.WriteConfigBits();
    for (int i = 0; i <= 60; ++i) Existing(form_.txt_data_cfg, i).setForeColor(kNormal);
    for (int i = 0; i <= 21; ++i) Existing(form_.txt_data_cfg_txt, i).setForeColor(kNormal);
    for (int i : {6, 7, 8, 9, 2, 25}) {
      if (ComboBox* list = form_.cmb_cfg.find(i)) list->setForeColor(kNormal);
    }
  }
}

// ---- jobs 3 and 9: bits read -------------------------------------------------

void ResponseHandler::configBitsRead() {
  for (int i = 0; i <= 3; ++i) {
    const int byte = AnswerDataByte(sAnswerFrame_, i);
    for (int bit = 7; bit >= 0; --bit) {
      const int c = 8 * i + bit;
      const int value = (byte >> bit) & 1;
      form_.iCfgBitValue[c] = value;
      CheckBox& box = Existing(form_.chk_cfg, c);
      box.setValue(value);
      if (c >= 16 && c <= 26) Existing(form_.cmb_bit_cfg, c).setListIndex(box.value());
      box.setForeColor(kNormal);
      form_.iCfgBitValue[c] = box.value();
    }
  }
  jobs_.ReadExternalValues();
  g_.bSendFree = true;
}

void ResponseHandler::inputBitsRead() {
  for (int i = 0; i <= 1; ++i) {
    const int byte = AnswerDataByte(sAnswerFrame_, i);
    for (int bit = 7; bit >= 0; --bit) {
      const int c = 8 * i + bit;
      const int value = (byte >> bit) & 1;
      form_.iInputBitValue[c] = value;
      CheckBox& box = Existing(form_.chk_input, c);
      box.setValue(value);
      box.setForeColor(kNormal);
      form_.iInputBitValue[c] = box.value();
    }
  }
  ++completedReadOuts_;
  if (calls_.closeStateWindow) calls_.closeStateWindow();
  g_.bSendFree = true;
}

// ---- jobs 4, 5 and 8: writes acknowledged -------------------------------------

void ResponseHandler::configBitsWritten() {
  if (calls_.progress) calls_.progress->configBitsWritten();
  for (int i = 0; i <= 30; ++i) Existing(form_.chk_cfg, i).setForeColor(kNormal);
  for (int i = 16; i <= 26; ++i) Existing(form_.cmb_bit_cfg, i).setForeColor(kNormal);
  if (form_.bInputRegsChanged) {
    g_.lJobState = job_state::kWriteInputRegisters;
    g_.iRegPointer = device::kInputFirst;
    if (timing_.fast()) form_.Timer2->setInterval(1);
    form_.Timer2->setEnabled(true);
  } else if (form_.bInputBitsChanged) {
    // Marked input bits go out after the configuration even when no input
    // register changed; otherwise the read-out that ends the write would
    // overwrite the technician's ticks without a word.
    jobs_.WriteInputBits();
  } else if (calls_.closeStateWindow) {
    calls_.closeStateWindow();
  }
  g_.bSendFree = true;
}

void ResponseHandler::inputRegisterWritten() {
  g_.bSendFree = true;
  if (calls_.progress) calls_.progress->inputRegisterWritten(g_.iRegPointer - device::kInputFirst);
  advancePointer(1);
  // The standard timing waits out the register's interval; the fast link
  // goes on at once.
  if (timing_.fast()) form_.Timer2->setInterval(1);
  if (g_.iRegPointer != device::kInputEnd) return;
  form_.Timer2->setEnabled(false);
  if (form_.bInputBitsChanged) {
    jobs_.WriteInputBits();
  } else if (calls_.closeStateWindow) {
    calls_.closeStateWindow();
  }
  for (int i = 0; i <= 24; ++i) {
    TextBox& field = Existing(form_.txt_data_in, i);
    field.setForeColor(kNormal);
    form_.dInputRegValue[i] = fieldNumber(field.text());
  }
  for (int i = 15; i <= 21; ++i) Existing(form_.cmb_in, i).setForeColor(kNormal);
}

void ResponseHandler::inputBitsWritten() {
  if (calls_.progress) calls_.progress->inputBitsWritten();
  for (int i = 0; i <= 15; ++i) Existing(form_.chk_input, i).setForeColor(kNormal);
  form_.bInputBitsChanged = false;
  g_.bSendFree = true;
}

// ---- job 6: the probe --------------------------------------------------------

void ResponseHandler::probeAnswered() {
  g_.iBusDelay = AsSigned(AnswerRegister(sAnswerFrame_, 0));
  g_.lJobState = job_state::kReadOut;
  g_.bSendFree = true;
  g_.iRegPointer = 0;
  if (calls_.progress) calls_.progress->beginReadOut();
  retuneJobTimers(200);
  // After the probe every block job waits the same 2 x delay + 200 ms.
  form_.Timer1->setInterval(jobs_.delayInterval(2, 200));
  if (timing_.fast()) form_.Timer6->setInterval(1);
  form_.Timer6->setEnabled(true);
  if (calls_.showMsgWindow) calls_.showMsgWindow();
}

// ---- job 7: external values --------------------------------------------------

void ResponseHandler::externalValuesRead() {
  for (int i = 0; i <= 17; ++i) {
    const int f = i + 7;
    const std::uint16_t word = AnswerRegister(sAnswerFrame_, i);
    TextBox& field = Existing(form_.txt_data_in, f);
    // First the unsigned value, so that the fan-stage list finds its
    // automatic stages (65280..65283); then the shown value. The fan stage
    // keeps the unsigned value, so field, list and reference agree.
    field.setText(number(word));
    const InputField& row = InputFieldAt(f);
    if (row.list != InputList::kFanStage) {
      field.setText(number(row.read == InputRead::kSignedTenths ? AsSignedTenths(word) : AsSigned(word)));
    }
    field.setForeColor(kNormal);
    form_.dInputRegValue[f] = fieldNumber(field.text());
  }
  for (int i = 15; i <= 21; ++i) Existing(form_.cmb_in, i).setForeColor(kNormal);
  sAnswerFrame_.clear();
  jobs_.ReadInputBits();
  g_.bSendFree = true;
}

}  // namespace rbx14
