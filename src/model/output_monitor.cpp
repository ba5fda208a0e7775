#include "model/output_monitor.h"

#include "base/numbers.h"
#include "model/output_map.h"

namespace rbx14 {

void OutputMonitor::txt_data_out_Change(int index) {
  if (index < 0 || index >= kOutputFieldCount) return;
  const TextBox* field = form_.txt_data_out.find(index);
  Label* text = form_.lbl_in_val.find(index);
  if (field == nullptr || text == nullptr) return;
  const auto value = ParseDecimal(field->text(), g_.decimalSep());
  if (!value) return;
  // A code without a text keeps the text of the last known one.
  for (const ValueText& entry : kOutputFields[static_cast<std::size_t>(index)].texts) {
    if (*value == entry.value) {
      text->setCaption(g_.MsgText[static_cast<std::size_t>(entry.msgText)]);
      return;
    }
  }
}

}  // namespace rbx14
