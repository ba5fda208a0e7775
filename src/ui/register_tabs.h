#pragma once
// Fills the tabs of the main window with the frames of the configuration
// registers, display texts, units, bits, input registers and output
// registers, generated from their tables: a caption beside each field, a
// list for the enumerated fields and bits, a read-only label for device
// coding and firmware version, arrows where a field has a range, the unit
// marks, the clock fields under their headings, the monitor with the
// device's keys and room temperature, and the map of the device's display.

#include "model/frm_config.h"

class QTabWidget;

namespace rbx14 {

// `tabs` holds the ten tab pages already, in their order.
void BuildRegisterTabs(QTabWidget* tabs, FrmConfig& form);

}  // namespace rbx14
