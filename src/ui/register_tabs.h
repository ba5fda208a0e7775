#pragma once
// Fills the tabs of the main window with the frames of the configuration
// registers, display texts and units, generated from their tables: a caption
// beside each field, a list for the enumerated fields, a read-only label for
// device coding and firmware version, arrows where a field has a range, and
// the unit marks.

#include "model/frm_config.h"

class QTabWidget;

namespace rbx14 {

// `tabs` holds the ten tab pages already, in their order.
void BuildRegisterTabs(QTabWidget* tabs, FrmConfig& form);

}  // namespace rbx14
