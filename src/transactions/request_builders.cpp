#include "transactions/request_builders.h"

#include "core/numbers.h"
#include "link/codec.h"

namespace rbx14 {

std::string AddressPrefix(const QString& addressText) {
  const auto address = static_cast<std::int32_t>(RoundHalfEven(LeadingValue(addressText)));
  // Below 16 the hex form has one digit and gets a "0" in front; an address
  // above 255 gives three digits, which no device on the line will accept.
  return LongToHexStr(address, 1);
}

std::string Hex16(int value) { return LongToHexStr(static_cast<std::int32_t>(ToWord(value)), 2); }

void BuildProbeRequest(Globals& g, const FrmConfig& form) {
  g.iRegPointer = 0x21;
  g.sModbusFrame = AddressPrefix(form.txt_Modbus_adress.text()) + "03" + Hex16(0x0021) + Hex16(1);
}

}  // namespace rbx14
