#include "model/change_tracking.h"

namespace rbx14 {
namespace {

template <class T>
bool AnyRed(const ControlArray<T>& controls) {
  for (int index : controls.indices()) {
    if (controls[index].foreColor() == colors::kRed) return true;
  }
  return false;
}

}  // namespace

bool AnyFieldMarked(const FrmConfig& form) {
  return AnyRed(form.txt_data_cfg) || AnyRed(form.txt_data_cfg_txt) ||
         AnyRed(form.txt_data_cfg_unit) || AnyRed(form.txt_data_in) || AnyRed(form.chk_input) ||
         AnyRed(form.chk_cfg);
}

void CheckChangedFields(FrmConfig& form) {
  const bool marked = AnyFieldMarked(form);
  if (form.chk_read_out.value() == 1) return;
  form.set_parameter.setEnabled(marked);
}

}  // namespace rbx14
