#pragma once
// Keeps the configuration bits, their two-item lists and the input bits in
// step and marked against the device's values, and the temperature-unit
// labels in step with the unit bit.

#include "model/frm_config.h"

namespace rbx14 {

class BitFields {
 public:
  explicit BitFields(FrmConfig& form) : form_(form) {}

  // The value of chk_cfg(index) changed: ticked by the user or set by a
  // read-out.
  void chk_cfg_Click(int index);
  // An item of cmb_bit_cfg(index) was picked, or its ListIndex assigned.
  void cmb_bit_cfg_Click(int index);
  void chk_input_Click(int index);

 private:
  void ShowTemperatureUnit();

  FrmConfig& form_;
};

}  // namespace rbx14
