#include "model/change_tracking.h"

#include "base/numbers.h"
#include "model/register_map.h"

namespace rbx14 {
namespace {

template <class T>
bool AnyRed(const ControlArray<T>& controls) {
  for (int index : controls.indices()) {
    if (controls[index].foreColor() == colors::kRed) return true;
  }
  return false;
}

constexpr int kDeviceTypeField = 2;

template <std::size_t N>
void MarkText(FrmConfig& form, ControlArray<TextBox>& fields,
              const ReferenceValues<QString, N>& deviceValues, int index) {
  TextBox* field = fields.find(index);
  if (field == nullptr || index < 0 || index >= deviceValues.size()) return;
  field->setForeColor(ChangedColor(field->text() != deviceValues[index]));
  CheckChangedFields(form);
}

}  // namespace

void MarkConfigField(FrmConfig& form, int index, QChar decimalSep) {
  TextBox* field = form.txt_data_cfg.find(index);
  if (field == nullptr || index < 0 || index >= kConfigFieldCount) return;
  const auto value = ParseDecimal(field->text(), decimalSep);
  const Color color =
      ChangedColor(!value || *value != form.dCfgRegValue[index]);
  field->setForeColor(color);
  // The device-type list keeps the colour the read-out gives it.
  if (index == kDeviceTypeField) return;
  if (ComboBox* list = form.cmb_cfg.find(index)) list->setForeColor(color);
}

void txt_data_cfg_txt_Change(FrmConfig& form, int index) {
  MarkText(form, form.txt_data_cfg_txt, form.sCfgTextValue, index);
}

void txt_data_cfg_unit_Change(FrmConfig& form, int index) {
  MarkText(form, form.txt_data_cfg_unit, form.sCfgUnitValue, index);
}

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
