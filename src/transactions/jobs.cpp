#include "transactions/jobs.h"

#include "base/device_registers.h"
#include "base/numbers.h"
#include "base/trap.h"
#include "link/link.h"
#include "model/input_map.h"
#include "model/register_map.h"
#include "transactions/request_builders.h"

namespace rbx14 {
namespace {


bool Marked(const Control& control) { return control.foreColor() == colors::kRed; }

}  // namespace

bool IsTenthsConfigRegister(int index) {
  return index >= 0 && index < kConfigFieldCount && ConfigFieldAt(index).tenths;
}

bool IsTenthsInputRegister(int index) {
  return IsInputField(index) && InputFieldAt(index).read == InputRead::kSignedTenths;
}

Jobs::Jobs(Globals& globals, FrmConfig& form, Link& link, const LinkTiming& timing,
           std::function<void()> closeStateWindow)
    : g_(globals),
      form_(form),
      link_(link),
      timing_(timing),
      closeStateWindow_(std::move(closeStateWindow)) {
  form_.Timer1->setOnTick([this] { Trap("Timer1", [this] { Timer1_Timer(); }); });
  form_.Timer2->setOnTick([this] { Trap("Timer2", [this] { Timer2_Timer(); }); });
  form_.Timer6->setOnTick([this] { Trap("Timer6", [this] { Timer6_Timer(); }); });
  form_.Timer7->setOnTick([this] { Trap("Timer7", [this] { Timer7_Timer(); }); });
}

int Jobs::delayInterval(int factor, int extra) const {
  // The sum is a 16-bit count: a long bus delay gives the longest interval
  // instead of an overflow that would stop the job.
  return ClampToInt16(static_cast<std::int64_t>(factor) * g_.iBusDelay + extra);
}

bool Jobs::guardOpen() const {
  return !form_.txt_Modbus_adress.text().isEmpty() && g_.bSendFree;
}

void Jobs::sendFrame(std::string frame) {
  g_.sModbusFrame = std::move(frame);
  link_.send();
  g_.bSendFree = false;
}

void Jobs::ReadConfigBits() {
  g_.lJobState = job_state::kReadConfigBits;
  g_.iRegPointer = 0;
  g_.bSendFree = true;
  if (guardOpen()) sendFrame(ReadRequest(form_.txt_Modbus_adress.text(), 0x01, 0x0000, 32));
}

void Jobs::WriteConfigBits() {
  g_.bSendFree = true;
  g_.lJobState = job_state::kWriteConfigBits;
  if (!guardOpen()) return;
  int values[32];
  for (int i = 0; i < 32; ++i) values[i] = form_.chk_cfg[i].value();
  sendFrame(AddressPrefix(form_.txt_Modbus_adress.text()) + "0F" + Hex16(0x0000) + Hex16(32) +
            "04" + EncodeBits(values, 32));
}

void Jobs::WriteInputBits() {
  g_.bSendFree = true;
  g_.lJobState = job_state::kWriteInputBits;
  if (!guardOpen()) return;
  int values[16];
  for (int i = 0; i < 16; ++i) values[i] = form_.chk_input[i].value();
  sendFrame(AddressPrefix(form_.txt_Modbus_adress.text()) + "0F" + Hex16(0x0100) + Hex16(16) +
            "02" + EncodeBits(values, 16));
}

void Jobs::ReadExternalValues() {
  g_.lJobState = job_state::kReadExternalValues;
  // The device expects the byte count of its 22-register answer (0x2C) after
  // the quantity; it belongs to the frame and to its checksum.
  if (guardOpen()) sendFrame(ReadRequest(form_.txt_Modbus_adress.text(), 0x03, 0x0207, 22) + "2C");
}

void Jobs::ReadInputBits() {
  g_.lJobState = job_state::kReadInputBits;
  if (guardOpen()) sendFrame(ReadRequest(form_.txt_Modbus_adress.text(), 0x01, 0x0100, 16));
}

void Jobs::Timer6_Timer() {
  form_.Timer6->setInterval(delayInterval(2, 200));
  if (!guardOpen()) return;
  sendFrame(ReadRequest(form_.txt_Modbus_adress.text(), 0x03, g_.iRegPointer, device::kBlockRegisters));
}

void Jobs::Timer7_Timer() {
  // The last poll's answer may have come in since the receive poll last
  // looked; it is taken now, as the answer to the poll it answers, because
  // the next request drops whatever waits on the line. (Without this an
  // ASCII answer at the shortest poll interval was lost every other tick.)
  link_.Timer4_Timer();
  g_.lJobState = job_state::kReadOut;
  g_.bSendFree = true;
  g_.iRegPointer = device::kOutputFirst;
  // The poll goes out on every tick, answered or not.
  if (!form_.txt_Modbus_adress.text().isEmpty()) {
    sendFrame(ReadRequest(form_.txt_Modbus_adress.text(), 0x03, device::kOutputFirst, 17));
  }
}

std::string Jobs::configBlockData() const {
  const int ptr = g_.iRegPointer;
  const QChar sep = g_.decimalSep();
  std::string data;
  if (ptr >= 0 && ptr < device::kConfigTransferred) {
    for (int i = ptr; i < ptr + device::kBlockRegisters; ++i) {
      const TextBox* field = form_.txt_data_cfg.find(i);
      if (field == nullptr) throw RuntimeError("no configuration field");
      const auto value = IsTenthsConfigRegister(i) ? EncodeTenths(field->text(), sep)
                                                   : EncodeRaw(field->text(), sep);
      // A field that holds no number is not written as anything else: the
      // block is not sent and the write stalls with the field still marked.
      if (!value) throw RuntimeError("configuration field is no number");
      data += *value;
    }
  } else if (ptr >= device::kTextFirst && ptr < device::kUnitFirst) {
    const int k = static_cast<int>(RoundHalfEven((ptr - device::kTextFirst) / 10.0));
    const TextBox* text = form_.txt_data_cfg_txt.find(k);
    if (text == nullptr) throw RuntimeError("no text field");
    data = EncodeTextBlock(text->text());
  } else if (ptr >= device::kUnitFirst && ptr < 0x500) {
    const int k = static_cast<int>(RoundHalfEven((ptr - device::kUnitFirst) / 10.0));
    for (int m = 0; m < 3; ++m) {
      const TextBox* unit = form_.txt_data_cfg_unit.find(3 * k + m);
      if (unit == nullptr) throw RuntimeError("no unit field");
      data += EncodeUnit(unit->text());
    }
    data += std::string(16, '0');  // registers 6 to 9 of a unit block are 0
  } else {
    throw RuntimeError("block pointer outside the configuration");
  }
  return data;
}

void Jobs::Timer1_Timer() {
  form_.Timer1->setInterval(delayInterval(2, 150));
  if (!guardOpen()) return;
  const std::string header = AddressPrefix(form_.txt_Modbus_adress.text()) + "10" +
                             Hex16(g_.iRegPointer) + Hex16(device::kBlockRegisters) + "14";
  sendFrame(header + configBlockData());
}

void Jobs::endInputRegisterWrite() {
  form_.Timer2->setEnabled(false);
  const QChar sep = g_.decimalSep();
  for (int i = 0; i <= 24; ++i) {
    TextBox* field = form_.txt_data_in.find(i);
    if (field == nullptr) continue;
    field->setForeColor(colors::kButtonText);
    // A field that holds no number keeps its old reference value.
    if (const auto value = ParseDecimal(field->text(), sep)) form_.dInputRegValue[i] = *value;
  }
  for (int i = 15; i <= 21; ++i) {
    if (ComboBox* list = form_.cmb_in.find(i)) list->setForeColor(colors::kButtonText);
  }
  if (form_.bInputBitsChanged) {
    WriteInputBits();
  } else if (closeStateWindow_) {
    closeStateWindow_();
  }
}

void Jobs::Timer2_Timer() {
  if (g_.iRegPointer == 0) g_.iRegPointer = device::kInputFirst;
  if (!guardOpen()) return;
  const int i = g_.iRegPointer - device::kInputFirst;
  TextBox* field = form_.txt_data_in.find(i);
  if (field == nullptr) {
    // The pointer left the input registers (a cancelled write): stop here.
    form_.Timer2->setEnabled(false);
    return;
  }
  std::optional<std::string> value;
  if (Marked(*field)) {
    value = IsTenthsInputRegister(i) ? EncodeTenths(field->text(), g_.decimalSep())
                                     : EncodeRaw(field->text(), g_.decimalSep());
  }
  if (!value) {
    // Unmarked, or marked but no number (nothing sensible to write): skip.
    g_.iRegPointer += 1;
    form_.Timer2->setInterval(timing_.nextStepMs(10));
    if (timing_.fast()) form_.Timer2->tickSoon();
    if (g_.iRegPointer == device::kInputEnd) endInputRegisterWrite();
    return;
  }
  form_.Timer2->setInterval(delayInterval(2, 200));
  sendFrame(AddressPrefix(form_.txt_Modbus_adress.text()) + "10" + Hex16(g_.iRegPointer) +
            Hex16(1) + "02" + *value);
}

}  // namespace rbx14
