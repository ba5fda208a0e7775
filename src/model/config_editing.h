#pragma once
// Editing the configuration: builds the controls of the registers, texts,
// units, bits, input registers and output registers from their tables and
// routes every event of those controls (text changes, list clicks, check
// box clicks, keys, leaving a field, the arrows, the auto-repeat timer) to
// its handler.

#include "base/globals.h"
#include "model/bit_fields.h"
#include "model/field_entry.h"
#include "model/frm_config.h"
#include "model/input_fields.h"
#include "model/output_monitor.h"
#include "model/register_fields.h"

namespace rbx14 {

class ConfigEditing {
 public:
  ConfigEditing(Globals& globals, FrmConfig& form);
  ConfigEditing(const ConfigEditing&) = delete;
  ConfigEditing& operator=(const ConfigEditing&) = delete;

  RegisterFields fields;
  FieldEntry entry;
  BitFields bits;
  InputFields inputs;
  OutputMonitor monitor;

 private:
  void Connect(FrmConfig& form);
};

}  // namespace rbx14
