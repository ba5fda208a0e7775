#include "model/register_fields.h"

#include "base/numbers.h"
#include "model/change_tracking.h"
#include "model/device_types.h"
#include "model/register_map.h"
#include "base/message_table.h"

namespace rbx14 {
namespace {

bool IsConfigField(int index) { return index >= 0 && index < kConfigFieldCount; }

template <class T>
void SetVisible(ControlArray<T>& controls, int index, bool visible) {
  if (T* control = controls.find(index)) control->setVisible(visible);
}

}  // namespace

void RegisterFields::cmb_cfg_Click(int index) {
  ComboBox* list = form_.cmb_cfg.find(index);
  TextBox* field = form_.txt_data_cfg.find(index);
  if (list == nullptr || field == nullptr || !IsConfigField(index)) return;
  const auto items = ItemsOf(ConfigFieldAt(index).list);
  const int position = list->listIndex();
  // Nothing selected (a code without an item): the field keeps its code.
  if (position < 0 || static_cast<std::size_t>(position) >= items.size()) return;
  field->setText(QString::number(items[static_cast<std::size_t>(position)].code));
}

void RegisterFields::txt_data_cfg_Change(int index) {
  TextBox* field = form_.txt_data_cfg.find(index);
  if (field == nullptr || !IsConfigField(index)) return;
  if (index == cfg_field::kDeviceCoding || index == cfg_field::kFirmwareVersion) {
    if (Label* shown = form_.lbl_cfg_val.find(index)) shown->setCaption(field->text());
  }
  // A text that is not a number (an emptied field, a half-typed sign) leaves
  // the list and the window as they are; it only gets the changed mark.
  const std::optional<double> value = ParseDecimal(field->text(), g_.decimalSep());
  if (value) {
    if (ConfigFieldAt(index).list != ListId::kNone) ShowCodeInList(index, *value);
    if (index == cfg_field::kDeviceType) ApplyDeviceType(AsWholeNumber(*value));
    if (index == cfg_field::kResponseTime) ApplyMinimumResponseTime(*value);
  }
  MarkConfigField(form_, index, g_.decimalSep());
  CheckChangedFields(form_);
}

// A code without an item of its own clears the selection, so the list never
// shows another code's item; the field keeps the code and writes it back
// unchanged.
void RegisterFields::ShowCodeInList(int index, double value) {
  ComboBox* list = form_.cmb_cfg.find(index);
  if (list == nullptr) return;
  const std::optional<int> code = AsWholeNumber(value);
  list->setListIndex(code ? PositionOfCode(ConfigFieldAt(index).list, *code) : -1);
}

void RegisterFields::ApplyDeviceType(std::optional<int> deviceType) {
  const DeviceTypeRule& rule = DeviceTypeRuleFor(deviceType);

  for (int frame : {1, 2, 4}) SetVisible(form_.frm_ctrl, frame, rule.controller);
  SetVisible(form_.lbl_cfg, 43, rule.controller);
  SetVisible(form_.cmb_cfg, 43, rule.controller);
  SetVisible(form_.lbl_in_val, 13, rule.controller);
  SetVisible(form_.lbl_read_out, 13, rule.controller);
  SetVisible(form_.lbl_data_in, 21, rule.controller);
  SetVisible(form_.cmb_in, 21, rule.controller);

  form_.frm_VX9H.setVisible(rule.fanStages);
  form_.frm_VX9K.setVisible(rule.fanStages);

  for (int input : {28, 29}) {
    SetVisible(form_.lbl_cfg, input, rule.inputs3And4);
    SetVisible(form_.cmb_cfg, input, rule.inputs3And4);
  }

  // Output registers 11 and 12 carry what this variant measures there.
  const std::pair<int, int> captions[] = {{11, rule.monitorCaption11},
                                          {12, rule.monitorCaption12}};
  for (const auto& [outputRegister, message] : captions) {
    Label* caption = form_.lbl_read_out.find(outputRegister);
    if (caption != nullptr && message >= 0) caption->setCaption(g_.MsgText[static_cast<std::size_t>(message)]);
  }
}

// A response time below the device's minimum is raised to it. Any new value
// makes the job timers follow it at the next write.
void RegisterFields::ApplyMinimumResponseTime(double value) {
  if (value < kMinResponseTimeMs) {
    form_.txt_data_cfg[cfg_field::kResponseTime].setText(QString::number(kMinResponseTimeMs));
    g_.iBusDelay = kMinResponseTimeMs;
  }
  form_.bDelayChanged = true;
}

}  // namespace rbx14
