#include "model/config_editing.h"

#include "model/bit_controls.h"
#include "model/change_tracking.h"
#include "model/register_controls.h"

namespace rbx14 {

ConfigEditing::ConfigEditing(Globals& globals, FrmConfig& form)
    : fields(globals, form), entry(globals, form), bits(form), inputs(globals, form), monitor(globals, form) {
  BuildRegisterControls(form);
  BuildBitControls(form);
  BuildExternalValueControls(form);
  Connect(form);
}

void ConfigEditing::Connect(FrmConfig& form) {
  for (int i : form.txt_data_cfg.indices()) {
    TextBox& field = form.txt_data_cfg[i];
    field.onChange = [this, i] { fields.txt_data_cfg_Change(i); };
    field.onKeyPress = [this, i](int& key) { entry.txt_data_cfg_KeyPress(i, key); };
    field.onLostFocus = [this, i] { entry.txt_data_cfg_LostFocus(i); };
  }
  for (int i : form.cmb_cfg.indices()) {
    form.cmb_cfg[i].onClick = [this, i] { fields.cmb_cfg_Click(i); };
  }
  for (int i : form.UpD_txt_cfg.indices()) {
    UpDown& arrows = form.UpD_txt_cfg[i];
    arrows.onUpClick = [this, i] { entry.UpD_txt_cfg_UpClick(i); };
    arrows.onDownClick = [this, i] { entry.UpD_txt_cfg_DownClick(i); };
    arrows.onMouseDown = [this, i](const PointerAt& at) { entry.UpD_txt_cfg_MouseDown(i, at); };
    arrows.onMouseMove = [this, i](const PointerAt& at) { entry.UpD_txt_cfg_MouseMove(i, at); };
    arrows.onMouseUp = [this, i](const PointerAt& at) { entry.UpD_txt_cfg_MouseUp(i, at); };
  }
  form.Timer->setOnTick([this] { entry.Timer_Timer(); });

  for (int i : form.txt_data_cfg_txt.indices()) {
    form.txt_data_cfg_txt[i].onChange = [&form, i] { txt_data_cfg_txt_Change(form, i); };
    form.txt_data_cfg_txt[i].onKeyPress = DeviceTextKeyPress;
  }
  for (int i : form.txt_data_cfg_unit.indices()) {
    form.txt_data_cfg_unit[i].onChange = [&form, i] { txt_data_cfg_unit_Change(form, i); };
    form.txt_data_cfg_unit[i].onKeyPress = DeviceTextKeyPress;
  }

  for (int i : form.chk_cfg.indices()) form.chk_cfg[i].onClick = [this, i] { bits.chk_cfg_Click(i); };
  for (int i : form.cmb_bit_cfg.indices()) {
    form.cmb_bit_cfg[i].onClick = [this, i] { bits.cmb_bit_cfg_Click(i); };
  }
  for (int i : form.chk_input.indices()) form.chk_input[i].onClick = [this, i] { bits.chk_input_Click(i); };

  for (int i : form.txt_data_in.indices()) {
    TextBox& field = form.txt_data_in[i];
    field.onChange = [this, i] { inputs.txt_data_in_Change(i); };
    field.onKeyPress = [this, i](int& key) { inputs.txt_data_in_KeyPress(i, key); };
    field.onLostFocus = [this, i] { inputs.txt_data_in_LostFocus(i); };
  }
  for (int i : form.cmb_in.indices()) form.cmb_in[i].onClick = [this, i] { inputs.cmb_in_Click(i); };
  for (int i : form.txt_data_out.indices()) {
    form.txt_data_out[i].onChange = [this, i] { monitor.txt_data_out_Change(i); };
  }
}

}  // namespace rbx14
