#include "model/field_entry.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "model/register_fields.h"
#include "model/register_map.h"

#include <algorithm>
#include <cmath>

namespace rbx14 {
namespace {

constexpr int kBackspace = 8;
constexpr int kDelete = 127;
constexpr int kMinus = '-';

// Leaving a field limits a typed value above this to it, and turns one below
// its negative into 0; the arrows' ranges are not applied here.
constexpr double kTypedLimit = 255;

// The pointer may wander this far past the arrows (in sizes of the control)
// before the repetition stops; left of or above them it never stops.
constexpr double kRepeatMargin = 1.2;

// A field without arrows or list is a plain 16-bit register.
constexpr int kWordMax = 65535;

}  // namespace

void TakePointAsSeparator(int& keyAscii, QChar sep) {
  if (keyAscii == '.' || keyAscii == ',') keyAscii = sep.unicode();
}

void DeviceTextKeyPress(int& keyAscii) {
  if (keyAscii == kBackspace || keyAscii == kDelete || keyAscii == '\r') return;
  const QChar c(static_cast<char16_t>(keyAscii));
  if (keyAscii < 0x20 || keyAscii > 0xFFFF || (CodePageByte(c) == '?' && c != u'?')) keyAscii = 0;
}

std::optional<FieldValueLimits> LimitsOfField(int index) {
  if (index < 0 || index >= kConfigFieldCount) return std::nullopt;
  // Register 60 lies beyond the blocks the device is read and written in
  // (0 to 59): a value for it would reach nothing.
  if (index >= kConfigFieldCount - 1) return std::nullopt;
  const ConfigField& row = ConfigFieldAt(index);
  switch (row.kind) {
    case FieldKind::kReadOnly:
      return std::nullopt;
    case FieldKind::kEdit:
    case FieldKind::kHidden:
      return FieldValueLimits{0, kWordMax, row.tenths};
    case FieldKind::kUpDown:
    case FieldKind::kList:
      break;
  }
  // The device answers no faster than its minimum; the field turns less into it.
  const int min = index == cfg_field::kResponseTime ? kMinResponseTimeMs : row.min;
  return FieldValueLimits{min, row.max, row.tenths};
}

FieldValueCheck CheckFieldValue(int index, const QString& text, QChar sep) {
  using Verdict = FieldValueCheck::Verdict;
  const auto limits = LimitsOfField(index);
  const std::optional<double> value = ParseDecimal(text, sep);
  if (!limits || !value || !std::isfinite(*value)) return {Verdict::kNoNumber, {}};
  const double scale = limits->tenths ? 10.0 : 1.0;
  const double clamped = std::clamp(*value, double(limits->min), double(limits->max));
  const double rounded = double(RoundHalfEven(clamped * scale)) / scale;
  const QString corrected = FormatDecimal(rounded, sep);
  // Tenths that are no whole number of tenths (0.15) and whole-number
  // fields with decimals are outside the resolution the register holds.
  const bool exact = clamped == *value && std::fabs(rounded - *value) < 1e-9;
  return {exact ? Verdict::kAccepted : Verdict::kOutsideRange, corrected};
}

void FieldEntry::txt_data_cfg_KeyPress(int index, int& keyAscii) {
  const TextBox* field = form_.txt_data_cfg.find(index);
  if (field == nullptr || index < 0 || index >= kConfigFieldCount) return;
  if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == kBackspace || keyAscii == kDelete) return;

  const KeyClass keys = ConfigFieldAt(index).keys;
  const QChar sep = g_.decimalSep();
  TakePointAsSeparator(keyAscii, sep);
  // One separator and one minus sign per field, wherever the cursor is and
  // whatever is selected.
  if (keys != KeyClass::kInteger && keyAscii == sep.unicode()) {
    if (field->text().contains(sep)) keyAscii = 0;
    return;
  }
  if (keys == KeyClass::kSigned && keyAscii == kMinus) {
    if (field->text().contains(QChar(kMinus))) keyAscii = 0;
    return;
  }
  keyAscii = 0;
}

void FieldEntry::txt_data_cfg_LostFocus(int index) {
  TextBox* field = form_.txt_data_cfg.find(index);
  if (field == nullptr) return;
  if (field->text().isEmpty()) {
    field->setText(QStringLiteral("0"));
    return;
  }
  // A text that is not a number stays as typed; it keeps its changed mark.
  const std::optional<double> value = ParseDecimal(field->text(), g_.decimalSep());
  if (!value) return;
  if (*value > kTypedLimit) {
    field->setText(QString::number(kTypedLimit));
  } else if (*value < -kTypedLimit) {
    field->setText(QStringLiteral("0"));
  }
}

void FieldEntry::Step(int index, bool up) {
  TextBox* field = form_.txt_data_cfg.find(index);
  const UpDown* arrows = form_.UpD_txt_cfg.find(index);
  if (field == nullptr || arrows == nullptr || index < 0 || index >= kConfigFieldCount) return;
  // A text that is not a number has no neighbour to step to.
  const QChar sep = g_.decimalSep();
  const std::optional<double> value = ParseDecimal(field->text(), sep);
  if (!value) return;

  const double step = ConfigFieldAt(index).tenths ? 0.1 : 1.0;
  QString text;
  if (up) {
    text = *value > arrows->max() - step ? QString::number(arrows->max())
                                         : FormatDecimal15(*value + step, sep);
  } else {
    text = *value < arrows->min() + step ? QString::number(arrows->min())
                                         : FormatDecimal15(*value - step, sep);
  }
  field->setText(text);
}

void FieldEntry::UpD_txt_cfg_MouseDown(int index, const PointerAt& at) {
  form_.dRepeatIndex = index;
  form_.bRepeatUp = at.y < at.height / 2;  // the upper arrow
  form_.Timer->setEnabled(true);
}

void FieldEntry::UpD_txt_cfg_MouseMove(int /*index*/, const PointerAt& at) {
  if (at.x > kRepeatMargin * at.width || at.y > kRepeatMargin * at.height) {
    form_.Timer->setEnabled(false);
  }
}

void FieldEntry::UpD_txt_cfg_MouseUp(int /*index*/, const PointerAt& /*at*/) {
  form_.Timer->setEnabled(false);
}

void FieldEntry::Timer_Timer() { Step(form_.dRepeatIndex, form_.bRepeatUp); }

}  // namespace rbx14
