#pragma once
// Typing into the configuration fields and stepping them with the arrows:
// which keys a field takes, the correction when the typist leaves it, one
// step per click and one more every 200 ms while an arrow is held.

#include "base/globals.h"
#include "model/frm_config.h"

#include <QString>

#include <optional>

namespace rbx14 {

// The point of the keypad and of the main keyboard, and the comma, both
// stand for the decimal separator the fields use: typing "0.7" with a comma
// separator gives 0,7, never 07.
void TakePointAsSeparator(int& keyAscii, QChar sep);

// Key filter of the display and unit texts: a character the device's code
// page cannot hold is refused as it is typed or pasted, instead of arriving
// on the device as "?".
void DeviceTextKeyPress(int& keyAscii);
// What configuration field `index` takes from outside the keyboard (a
// parameter file): a number within the range of its arrows or its list's
// codes (a 16-bit register where it has neither), whole or in tenths as its
// register holds it. Fields 0 and 1 belong to the device and field 60 is
// never transferred: they take nothing.
struct FieldValueLimits {
  int min;
  int max;
  bool tenths;
};
std::optional<FieldValueLimits> LimitsOfField(int index);

// A value for field `index` as leaving the field would keep it: accepted as
// it is, no number at all, or outside the field's range or resolution. The
// corrected text is the value limited to the range and rounded to the
// resolution (empty for no number).
struct FieldValueCheck {
  enum class Verdict { kAccepted, kNoNumber, kOutsideRange };
  Verdict verdict;
  QString corrected;
};
FieldValueCheck CheckFieldValue(int index, const QString& text, QChar sep);

class FieldEntry {
 public:
  FieldEntry(const Globals& globals, FrmConfig& form) : g_(globals), form_(form) {}

  // Key filter of field `index`: sets keyAscii to 0 to discard the key.
  void txt_data_cfg_KeyPress(int index, int& keyAscii);
  // The typist left the field.
  void txt_data_cfg_LostFocus(int index);

  void UpD_txt_cfg_UpClick(int index) { Step(index, true); }
  void UpD_txt_cfg_DownClick(int index) { Step(index, false); }
  void UpD_txt_cfg_MouseDown(int index, const PointerAt& at);
  void UpD_txt_cfg_MouseMove(int index, const PointerAt& at);
  void UpD_txt_cfg_MouseUp(int index, const PointerAt& at);
  // Tick of the auto-repeat timer.
  void Timer_Timer();

  // One step of field `index` within the range of its arrows.
  void Step(int index, bool up);

 private:
  const Globals& g_;
  FrmConfig& form_;
};

}  // namespace rbx14
