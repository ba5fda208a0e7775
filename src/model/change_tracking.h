#pragma once
// The write button follows the changed marks: it is enabled while any field,
// text or bit shows the changed colour, unless cyclic reading is on.

#include "model/frm_config.h"

namespace rbx14 {

// True when any tracked control carries the changed colour.
bool AnyFieldMarked(const FrmConfig& form);

void CheckChangedFields(FrmConfig& form);

}  // namespace rbx14
