#pragma once
// Builds the controls of the configuration bits, input bits, input
// registers and output registers from their tables, in their design state:
// German texts registered for both languages, hidden bits and fields
// hidden, the temperature unit in Celsius.

#include "model/frm_config.h"

namespace rbx14 {

void BuildBitControls(FrmConfig& form);
void BuildExternalValueControls(FrmConfig& form);

}  // namespace rbx14
