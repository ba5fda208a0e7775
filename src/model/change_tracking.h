#pragma once
// Changed marks: a field, text or bit whose value differs from the device's
// value as last read shows the changed colour, and the write button follows
// the marks: it is enabled while anything is marked, unless cyclic reading
// is on.

#include "model/frm_config.h"

#include <QChar>

namespace rbx14 {

// The colour of a control whose value differs from the device's (red) or
// equals it.
inline Color ChangedColor(bool changed) { return changed ? colors::kRed : colors::kButtonText; }

// Colours configuration field i (and its list) by comparing its value with
// the device's; a text that is not a number counts as changed.
void MarkConfigField(FrmConfig& form, int index, QChar decimalSep);

// Change handlers of the display and unit texts: compared exactly, letter
// case included.
void txt_data_cfg_txt_Change(FrmConfig& form, int index);
void txt_data_cfg_unit_Change(FrmConfig& form, int index);

// True when any tracked control carries the changed colour.
bool AnyFieldMarked(const FrmConfig& form);

void CheckChangedFields(FrmConfig& form);

}  // namespace rbx14
