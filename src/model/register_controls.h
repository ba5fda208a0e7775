#pragma once
// Builds the controls of the configuration registers, display texts and
// units from their tables, in their design state: German texts, the hidden
// fields hidden, the fan-stage frames hidden until a device type is known.

#include "model/frm_config.h"

namespace rbx14 {

void BuildRegisterControls(FrmConfig& form);

// Puts the captions, frame titles and list items of these controls in one
// language. A list keeps its selection.
// Registers every caption, frame title and list entry of the register map
// with the window's texts in both languages (German in place).
void LocaliseRegisterTexts(FrmConfig& form);

}  // namespace rbx14
