#include "model/bit_controls.h"

#include "model/bit_map.h"
#include "model/input_map.h"
#include "model/lcd_map.h"
#include "model/output_map.h"
#include "model/value_headings.h"

#include <vector>

namespace rbx14 {
namespace {

std::vector<texts::LocalText> Items(std::span<const texts::LocalText> items) {
  return {items.begin(), items.end()};
}

}  // namespace

void BuildBitControls(FrmConfig& form) {
  for (const auto& row : kConfigBits) {
    CheckBox& box = form.chk_cfg.add(row.index);
    Label& caption = form.lbl_read_cfg_bit.add(row.index);
    form.localise(caption, row.caption);
    box.setVisible(row.show == BitShow::kCheckBox || row.show == BitShow::kNoCaption);
    caption.setVisible(row.show == BitShow::kCheckBox || row.show == BitShow::kList);
    if (row.show == BitShow::kList) form.localiseItems(form.cmb_bit_cfg.add(row.index), Items(BitListItems(row.list)));
  }
  for (const auto& row : kInputBits) {
    CheckBox& box = form.chk_input.add(row.index);
    Label& caption = form.lbl_read_in_bit.add(row.index);
    form.localise(caption, row.caption);
    box.setVisible(row.shown);
    caption.setVisible(row.shown);
  }
}

void BuildExternalValueControls(FrmConfig& form) {
  for (const auto& desc : kValueDescTexts) form.localise(form.lbl_desc.add(desc.index), desc.text);
  for (const auto& place : kLcdPlaces) form.localise(form.lbl_desc.add(place.descIndex), place.text);
  for (const auto& mark : kInputUnitMarks) {
    form.lbl_desc.add(mark.descIndex).setCaption(QString::fromUtf16(mark.text));
  }
  form.localise(form.Frame2, texts::kFrameKeys);

  for (const auto& row : kInputFields) {
    TextBox& field = form.txt_data_in.add(row.index);
    field.setText(QString::fromUtf16(row.startText));
    if (row.captionIndex >= 0) form.localise(form.lbl_data_in.add(row.captionIndex), row.caption);
    if (row.list != InputList::kNone) {
      // The field stays in sight beside its list: it shows a value the list
      // has no item for.
      form.localiseItems(form.cmb_in.add(row.index), Items(InputListItems(row.list)));
    }
  }

  for (const auto& row : kOutputFields) {
    form.txt_data_out.add(row.index).setLocked(true);
    form.localise(form.lbl_read_out.add(row.index), row.caption);
    if (!row.texts.empty()) form.lbl_in_val.add(row.index);
  }
  // The device shows the room temperature in Celsius until the unit bit
  // says otherwise.
  form.lbl_temp.add(1).setCaption(QStringLiteral("°C"));
  // A key indicator is a dot, lit red while its key is held; unlit it takes
  // the colour of the face it sits on.
  for (int j = 0; j <= 3; ++j) {
    Label& indicator = form.Lbl_button.add(j);
    indicator.setCaption(QStringLiteral("●"));
    indicator.setForeColor(colors::kButtonFace);
  }
}

}  // namespace rbx14
