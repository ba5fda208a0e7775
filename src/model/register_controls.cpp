#include "model/register_controls.h"

#include "model/frames.h"
#include "model/register_map.h"
#include "model/text_map.h"

namespace rbx14 {
namespace {

bool ShowsItsField(FieldKind kind) {
  return kind == FieldKind::kUpDown || kind == FieldKind::kEdit;
}

std::vector<texts::LocalText> ItemTexts(ListId list) {
  std::vector<texts::LocalText> out;
  for (const auto& item : ItemsOf(list)) out.push_back(item.text);
  return out;
}

}  // namespace

void BuildRegisterControls(FrmConfig& form) {
  for (const auto& frame : kFrames) AddFrame(form, frame.ref);
  form.frm_VX9H.setVisible(false);
  form.frm_VX9K.setVisible(false);

  for (const auto& row : kConfigFields) {
    TextBox& field = form.txt_data_cfg.add(row.index);
    field.setMaxLength(row.maxLength);
    field.setVisible(ShowsItsField(row.kind));
    form.lbl_cfg.add(row.index).setVisible(row.kind != FieldKind::kHidden);
    switch (row.kind) {
      case FieldKind::kList: form.cmb_cfg.add(row.index); break;
      case FieldKind::kReadOnly: form.lbl_cfg_val.add(row.index); break;
      case FieldKind::kUpDown: {
        UpDown& arrows = form.UpD_txt_cfg.add(row.index);
        arrows.setMin(row.min);
        arrows.setMax(row.max);
        break;
      }
      case FieldKind::kEdit:
      case FieldKind::kHidden: break;
    }
  }
  for (const auto& mark : kUnitMarks) {
    form.lbl_desc.add(mark.descIndex).setCaption(QString::fromUtf16(mark.text));
  }

  for (const auto& row : kDisplayTexts) {
    form.txt_data_cfg_txt.add(row.index).setMaxLength(row.maxLength);
    form.lbl_cfg_txt.add(row.index);
  }
  for (const auto& row : kUnitFields) {
    form.txt_data_cfg_unit.add(row.index).setMaxLength(row.maxLength);
    form.lbl_cfg_unit.add(row.index);
  }
  LocaliseRegisterTexts(form);
}

void LocaliseRegisterTexts(FrmConfig& form) {
  for (const auto& frame : kFrames) {
    if (Frame* control = FrameOf(form, frame.ref)) form.localise(*control, frame.caption);
  }
  for (const auto& row : kConfigFields) {
    form.localise(form.lbl_cfg[row.index], row.caption);
    if (ComboBox* list = form.cmb_cfg.find(row.index)) form.localiseItems(*list, ItemTexts(row.list));
  }
  for (const auto& row : kDisplayTexts) form.localise(form.lbl_cfg_txt[row.index], row.caption);
  for (const auto& row : kUnitFields) form.localise(form.lbl_cfg_unit[row.index], UnitCaption(row.index));
}

}  // namespace rbx14
