#include "model/bit_fields.h"

#include "model/bit_map.h"
#include "model/change_tracking.h"
#include "model/value_headings.h"

namespace rbx14 {
namespace {

// A reference value for a control index; a control without one counts as
// the device's 0.
int DeviceBit(const ReferenceValues<int, 41>& values, int index) {
  return index >= 0 && index < values.size() ? values[index] : 0;
}

}  // namespace

void BitFields::chk_cfg_Click(int index) {
  CheckBox* box = form_.chk_cfg.find(index);
  if (box == nullptr) return;
  const int deviceValue = DeviceBit(form_.iCfgBitValue, index);
  if (HasBitList(index)) {
    ComboBox* list = form_.cmb_bit_cfg.find(index);
    // A greyed box (2) has no item in the list: nothing follows.
    if (list == nullptr || box->value() < 0 || box->value() >= list->listCount()) return;
    list->setListIndex(box->value());
    const Color color = ChangedColor(list->listIndex() != deviceValue);
    list->setForeColor(color);
    box->setForeColor(color);
  } else {
    box->setForeColor(ChangedColor(box->value() != deviceValue));
  }
  CheckChangedFields(form_);
}

void BitFields::cmb_bit_cfg_Click(int index) {
  ComboBox* list = form_.cmb_bit_cfg.find(index);
  CheckBox* box = form_.chk_cfg.find(index);
  if (list == nullptr || box == nullptr || !HasBitList(index)) return;
  // Nothing selected is no bit value.
  if (list->listIndex() < 0 || list->listIndex() > 1) return;
  // Setting the value it already has raises nothing; a new value colours
  // both controls through chk_cfg_Click.
  box->setValue(list->listIndex());
  if (index == kUnitBit) ShowTemperatureUnit();
}

void BitFields::chk_input_Click(int index) {
  CheckBox* box = form_.chk_input.find(index);
  if (box == nullptr) return;
  box->setForeColor(ChangedColor(box->value() != DeviceBit(form_.iInputBitValue, index)));
  CheckChangedFields(form_);
}

// The unit labels beside the room temperature on the monitor.
void BitFields::ShowTemperatureUnit() {
  const QString unit = form_.chk_cfg[kUnitBit].value() == 1 ? QStringLiteral("°C") : QStringLiteral("°F");
  if (Label* picture = form_.lbl_temp.find(1)) picture->setCaption(unit);
  if (Label* field = form_.lbl_desc.find(value_desc::kTemperatureUnit)) field->setCaption(unit);
}

}  // namespace rbx14
