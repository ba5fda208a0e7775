#pragma once
// The input-register fields txt_data_in(0..24): the lists that show the
// enumerated ones, the keys each field takes, the range and clock
// corrections when the typist leaves a field, and the changed mark against
// the device's value.

#include "base/globals.h"
#include "model/frm_config.h"

namespace rbx14 {

class InputFields {
 public:
  InputFields(const Globals& globals, FrmConfig& form) : g_(globals), form_(form) {}

  // The text of field `index` changed: typed, written by its list, or put
  // in by a read-out or a write.
  void txt_data_in_Change(int index);
  // Key filter: sets keyAscii to 0 to refuse the key.
  void txt_data_in_KeyPress(int index, int& keyAscii);
  void txt_data_in_LostFocus(int index);
  // An item of cmb_in(index) was picked, or its ListIndex assigned.
  void cmb_in_Click(int index);

  // The window's load: the start texts of fields 0 .. count - 1 become
  // their device values, and the lists show them.
  void SeedReferenceValues(int count);

 private:
  void LeaveField(TextBox& field, int index);

  // Set while a list is cleared for a value it has no item for: the
  // clearing must not write "nothing selected" back into the field.
  bool listWithoutClick_ = false;

  const Globals& g_;
  FrmConfig& form_;
};

}  // namespace rbx14
