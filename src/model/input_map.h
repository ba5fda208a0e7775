#pragma once
// The input registers 0x0200..0x0218 as the window shows them: field
// txt_data_in(k) is input register 0x0200 + k. The tool writes them (clock,
// external values, setpoint offsets, fan stage, occupancy, alarm symbols,
// controller mode, analogue outputs, external temperature) and reads back
// those from 0x0207. One row per field: where it sits, its caption, how the
// read-out converts it, which keys it takes and what leaving it corrects.

#include "model/frames.h"
#include "base/texts.h"

#include <array>
#include <optional>
#include <span>

namespace rbx14 {

// How the read-out's final write converts the register (every field read is
// first written unsigned).
enum class InputRead : int {
  kNotRead,       // the clock fields are written, never read back
  kSigned,
  kSignedTenths,  // the register holds ten times the shown value
};

enum class InputKeys : int {
  kDigits,         // digits only
  kDecimal,        // digits and one separator
  kSignedDecimal,  // digits, one separator and one minus sign anywhere
};

// What leaving a clock or date field corrects after the range.
enum class ClockCorrection : int {
  kNoClock,
  kSecondOrMinute,  // above 59 becomes 0
  kHour,            // above 23 becomes 0
  kDay,             // above 31 or 0 becomes 1
  kMonth,           // above 12 or 0 becomes 1
  kYear,            // above 99 becomes 1, 0 becomes 7
};

enum class InputList : int {
  kNone,
  kFanStage,
  kOccupancy,
  kAlarm,
  kController,
};

struct InputField {
  int index;
  FrameRef frame;
  int captionIndex;  // index of its caption lbl_data_in, -1: none
  texts::LocalText caption;
  InputRead read;
  InputKeys keys;
  // A value outside [min, max] becomes 0 when the field is left, except
  // `passes` (the device's "no value").
  double min;
  double max;
  ClockCorrection clock;
  const char16_t* startText;
  InputList list = InputList::kNone;
  std::optional<double> passes{};
};

inline constexpr int kInputFieldCount = 25;

namespace input_rows {
using texts::LocalText;
constexpr LocalText kNoCaption{u"", nullptr};
constexpr LocalText kOffset{u"Sollwert Offset:", u"Setpoint offset:"};
constexpr LocalText kBase{u"Basissollwert:", u"Basic setpoint:"};
}  // namespace input_rows

inline constexpr std::array<InputField, kInputFieldCount> kInputFields = [] {
  using namespace input_rows;
  using enum InputRead;
  using enum InputKeys;
  using enum ClockCorrection;
  using InputList::kFanStage, InputList::kOccupancy, InputList::kAlarm, InputList::kController;
  namespace f = frames;
  return std::array<InputField, kInputFieldCount>{{
      // index, frame, caption index, caption, read, keys, min, max, clock, start text, list
      {0, f::kDateTime, -1, kNoCaption, kNotRead, kDigits, -100, 100, kSecondOrMinute, u"00"},
      {1, f::kDateTime, -1, kNoCaption, kNotRead, kDigits, -100, 100, kSecondOrMinute, u"00"},
      {2, f::kDateTime, -1, kNoCaption, kNotRead, kDigits, -100, 100, kHour, u"00"},
      {3, f::kDateTime, -1, kNoCaption, kNotRead, kDigits, -100, 100, kDay, u"01"},
      {4, f::kDateTime, -1, kNoCaption, kNotRead, kDigits, -100, 100, kMonth, u"01"},
      // Two-digit year; a year 0, or an emptied one, becomes 7.
      {5, f::kDateTime, -1, kNoCaption, kNotRead, kDigits, -100, 100, kYear, u"07"},
      {6, f::kDateTime, -1, kNoCaption, kNotRead, kDecimal, -100, 100, kNoClock, u"00"},
      {7, f::kExternal1, 7, {u"Wert 1:", u"External value 1:"}, kSignedTenths, kDecimal, -100, 100, kNoClock, u"0"},
      {8, f::kExternal2, 8, {u"Wert 2:", u"External value 2:"}, kSignedTenths, kDecimal, -100, 100, kNoClock, u"0"},
      {9, f::kExternal3, 9, {u"Wert 3:", u"External value 3:"}, kSignedTenths, kDecimal, -100, 100, kNoClock, u"0"},
      {10, f::kExternal4, 10, {u"Wert 4:", u"External value 4:"}, kSignedTenths, kDecimal, -100, 100, kNoClock, u"0"},
      {11, f::kSetpoint1, 11, kOffset, kSignedTenths, kDecimal, -100, 100, kNoClock, u"0"},
      {12, f::kSetpoint2, 12, kOffset, kSignedTenths, kDecimal, -100, 100, kNoClock, u"0"},
      {13, f::kSetpoint1, 13, kBase, kSignedTenths, kDecimal, -100, 100, kNoClock, u"22"},
      {14, f::kSetpoint2, 14, kBase, kSignedTenths, kDigits, -100, 100, kNoClock, u"22"},
      // The fan stage keeps its unsigned value after a read (65280..65283 for
      // the automatic stages), so that field, list and reference agree.
      {15, f::kSymbols, 15, {u"Lüfterstufe:", u"Fan stage:"}, kSigned, kDigits, -100, 100, kNoClock, u"0", kFanStage},
      {16, f::kSymbols, 16, {u"Raumbelegung:", u"Room occupancy:"}, kSigned, kSignedDecimal, -100, 100, kNoClock, u"0", kOccupancy},
      {17, f::kSymbols, 17, {u"Alarmmeldung 1:", u"Alarm 1:"}, kSigned, kSignedDecimal, -100, 100, kNoClock, u"0", kAlarm},
      {18, f::kSymbols, 18, {u"Alarmmeldung 2:", u"Alarm 2:"}, kSigned, kSignedDecimal, -100, 100, kNoClock, u"0", kAlarm},
      {19, f::kSymbols, 19, {u"Alarmmeldung 3:", u"Alarm 3:"}, kSigned, kDecimal, -100, 100, kNoClock, u"0", kAlarm},
      {20, f::kSymbols, 20, {u"Alarmmeldung 4:", u"Alarm 4:"}, kSigned, kSignedDecimal, -100, 100, kNoClock, u"0", kAlarm},
      {21, f::kSymbols, 21, {u"Regler:", u"Controller:"}, kSigned, kSignedDecimal, -100, 100, kNoClock, u"0", kController},
      {22, f::kSymbols, 22, {u"Analog Ausgang 2:", u"Analogue output 2:"}, kSigned, kSignedDecimal, -1, 1023, kNoClock, u"0"},
      {23, f::kSymbols, 23, {u"Analog Ausgang 1:", u"Analogue output 1:"}, kSigned, kSignedDecimal, -1, 1023, kNoClock, u"0"},
      // The external temperature; 3276.7 (0x7FFF) tells the device there is
      // none, and passes unchanged.
      {24, f::kSymbols, 0, {u"Temperatur:", nullptr}, kSignedTenths, kDecimal, 0, 50, kNoClock, u"0", InputList::kNone, 3276.7},
  }};
}();

constexpr const InputField& InputFieldAt(int index) {
  return kInputFields[static_cast<std::size_t>(index)];
}
constexpr bool IsInputField(int index) { return index >= 0 && index < kInputFieldCount; }

// The fan-stage list: items 0..3 are the codes 0..3, items 4..7 the
// automatic stages 0xFF00..0xFF03.
inline constexpr int kFanStageManualItems = 4;
inline constexpr int kFanStageAutoBase = 0xFF00;

namespace input_lists {
using texts::LocalText;
inline constexpr std::array<LocalText, 8> kFanStage{{
    {u"0x0000, Aus", u"0x0000, Off"},
    {u"0x0001, 1. Stufe", u"0x0001, Stage 1"},
    {u"0x0002, 2. Stufe", u"0x0002, Stage 2"},
    {u"0x0003, 3. Stufe", u"0x0003, Stage 3"},
    {u"0xFF00, Auto Aus", u"0xFF00, Auto Off"},
    {u"0xFF01, Auto 1. Stufe", u"0xFF01, Auto Stage 1"},
    {u"0xFF02, Auto 2. Stufe", u"0xFF02, Auto Stage 2"},
    {u"0xFF03, Auto 3. Stufe", u"0xFF03, Auto Stage 3"},
}};
inline constexpr std::array<LocalText, 2> kOccupancy{{
    {u"0x00, Raum nicht belegt", u"0x00, Room unoccupied"},
    {u"0x01, Raum belegt", u"0x01, Room occupied"},
}};
inline constexpr std::array<LocalText, 2> kAlarm{{
    {u"0x00, Ausblenden", u"0x00, Fade out"},
    {u"0x01, Einblenden", u"0x01, Fade in"},
}};
inline constexpr std::array<LocalText, 4> kController{{
    {u"0x00, Aus", u"0x00, Off"},
    {u"0x01, Heizen", u"0x01, Heating"},
    {u"0x02, Kühlen", u"0x02, Cooling"},
    {u"0x03, Automatik", u"0x03, Automatic"},
}};
}  // namespace input_lists

constexpr std::span<const texts::LocalText> InputListItems(InputList list) {
  switch (list) {
    case InputList::kFanStage: return input_lists::kFanStage;
    case InputList::kOccupancy: return input_lists::kOccupancy;
    case InputList::kAlarm: return input_lists::kAlarm;
    case InputList::kController: return input_lists::kController;
    case InputList::kNone: break;
  }
  return {};
}

static_assert([] {
  for (std::size_t i = 0; i < kInputFields.size(); ++i) {
    if (kInputFields[i].index != static_cast<int>(i)) return false;
    // The lists sit beside fields 15..21, cmb_in(15..21).
    if ((kInputFields[i].list != InputList::kNone) != (i >= 15 && i <= 21)) return false;
  }
  return true;
}());

}  // namespace rbx14
