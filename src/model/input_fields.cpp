#include "model/input_fields.h"

#include "base/numbers.h"
#include "model/change_tracking.h"
#include "model/field_entry.h"
#include "model/input_map.h"

#include <optional>

namespace rbx14 {
namespace {

constexpr int kBackspace = 8;
constexpr int kDelete = 127;
constexpr QChar kMinus = u'-';

// The list position that shows a value: the code itself, and for the fan
// stage the automatic stages 0xFF00..0xFF03 after the four manual ones.
// Rounded halves to even, as a list position is; empty when the list has no
// such item (-1 is "nothing selected").
std::optional<int> ListPositionOf(int index, double value, int listCount) {
  double position = value;
  if (index == 15 && value >= kFanStageManualItems) {
    position = value + kFanStageManualItems - kFanStageAutoBase;
  }
  if (position < -2 || position > listCount + 1) return std::nullopt;  // far outside
  const auto rounded = static_cast<int>(RoundHalfEven(position));
  if (rounded < -1 || rounded >= listCount) return std::nullopt;
  return rounded;
}

QString CodeOfPosition(int index, int position) {
  if (index == 15 && position >= kFanStageManualItems) {
    return QString::number(position - kFanStageManualItems + kFanStageAutoBase);
  }
  return QString::number(position);
}

}  // namespace

void InputFields::txt_data_in_Change(int index) {
  TextBox* field = form_.txt_data_in.find(index);
  if (field == nullptr || !IsInputField(index)) return;
  const QChar sep = g_.decimalSep();
  const std::optional<double> value = ParseDecimal(field->text(), sep);
  // Not a number: list and colour stay as they are.
  if (!value) return;

  ComboBox* list = form_.cmb_in.find(index);
  if (list != nullptr && InputFieldAt(index).list != InputList::kNone) {
    const std::optional<int> position = ListPositionOf(index, *value, list->listCount());
    if (!position) {
      // A value the list has no item for (2 in the occupancy field): the
      // list selects nothing rather than keep an item the field no longer
      // holds, and the field beside it shows the value. It is marked like
      // any other value, so that the write button knows of it.
      listWithoutClick_ = true;
      list->setListIndex(-1);
      listWithoutClick_ = false;
      const Color color = ChangedColor(*value != form_.dInputRegValue[index]);
      list->setForeColor(color);
      field->setForeColor(color);
      CheckChangedFields(form_);
      return;
    }
    list->setListIndex(*position);
    // The list writes its item back; a fractional entry is now the rounded
    // code, and the mark follows what the field holds. The hidden field is
    // marked with its list, so that the write-back finds it.
    const double shown = ParseDecimal(field->text(), sep).value_or(*value);
    const Color color = ChangedColor(shown != form_.dInputRegValue[index]);
    list->setForeColor(color);
    field->setForeColor(color);
  } else {
    field->setForeColor(ChangedColor(*value != form_.dInputRegValue[index]));
  }
  CheckChangedFields(form_);
}

void InputFields::cmb_in_Click(int index) {
  if (listWithoutClick_) return;
  ComboBox* list = form_.cmb_in.find(index);
  TextBox* field = form_.txt_data_in.find(index);
  if (list == nullptr || field == nullptr || !IsInputField(index)) return;
  if (InputFieldAt(index).list == InputList::kNone) return;
  field->setText(CodeOfPosition(index, list->listIndex()));
}

void InputFields::txt_data_in_KeyPress(int index, int& keyAscii) {
  const TextBox* field = form_.txt_data_in.find(index);
  if (field == nullptr || !IsInputField(index)) return;
  if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == kBackspace || keyAscii == kDelete) return;
  const InputKeys keys = InputFieldAt(index).keys;
  const QChar sep = g_.decimalSep();
  TakePointAsSeparator(keyAscii, sep);
  // One separator and one minus sign per field, anywhere in the text.
  if (keys != InputKeys::kDigits && keyAscii == sep.unicode()) {
    if (field->text().contains(sep)) keyAscii = 0;
    return;
  }
  if (keys == InputKeys::kSignedDecimal && keyAscii == kMinus.unicode()) {
    if (field->text().contains(kMinus)) keyAscii = 0;
    return;
  }
  keyAscii = 0;
}

void InputFields::txt_data_in_LostFocus(int index) {
  TextBox* field = form_.txt_data_in.find(index);
  if (field == nullptr || !IsInputField(index)) return;
  LeaveField(*field, index);
}

// Each step reads the text afresh; a text that is not a number gets the
// device's value back.
void InputFields::LeaveField(TextBox& field, int index) {
  const QChar sep = g_.decimalSep();
  const InputField& row = InputFieldAt(index);
  const auto restore = [&] { field.setText(FormatDecimal(form_.dInputRegValue[index], sep)); };
  const auto read = [&] { return ParseDecimal(field.text(), sep); };
  const QString zero = QStringLiteral("0");
  const QString one = QStringLiteral("1");

  if (field.text().isEmpty()) field.setText(zero);

  std::optional<double> value = read();
  if (!value) return restore();
  // Out of range becomes 0, it is not clamped.
  if (*value != row.passes && (*value > row.max || *value < row.min)) field.setText(zero);

  value = read();
  if (!value) return restore();
  if (row.clock == ClockCorrection::kSecondOrMinute && *value > 59) field.setText(zero);
  if (row.clock == ClockCorrection::kHour && *value > 23) field.setText(zero);

  value = read();
  if (!value) return restore();
  switch (row.clock) {
    case ClockCorrection::kDay:
      if (*value > 31 || *value == 0) field.setText(one);
      break;
    case ClockCorrection::kMonth:
      if (*value > 12 || *value == 0) field.setText(one);
      break;
    case ClockCorrection::kYear:
      if (*value > 99) field.setText(one);
      else if (*value == 0) field.setText(QStringLiteral("7"));
      break;
    case ClockCorrection::kNoClock:
    case ClockCorrection::kSecondOrMinute:
    case ClockCorrection::kHour: break;
  }
}

void InputFields::SeedReferenceValues(int count) {
  for (int k = 0; k < count && IsInputField(k); ++k) {
    TextBox* field = form_.txt_data_in.find(k);
    if (field == nullptr) continue;
    form_.dInputRegValue[k] = LeadingValue(field->text());
    if (ComboBox* list = form_.cmb_in.find(k)) {
      if (const auto position = ListPositionOf(k, form_.dInputRegValue[k], list->listCount())) {
        list->setListIndex(*position);
      }
    }
  }
}

}  // namespace rbx14
