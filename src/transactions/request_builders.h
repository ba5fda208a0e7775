#pragma once
// Request builders: each puts one request into sModbusFrame as hex pairs.

#include "core/globals.h"
#include "model/frm_config.h"

#include <string>

namespace rbx14 {

// The slave address from the address field as two hex digits ("05", "11").
std::string AddressPrefix(const QString& addressText);

// A 16-bit field as four upper-case hex digits, zero-filled.
std::string Hex16(int value);

// The device probe: read holding register 0x0021, quantity 1. Sets the
// block pointer to 0x21.
void BuildProbeRequest(Globals& g, const FrmConfig& form);

}  // namespace rbx14
