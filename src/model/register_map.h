#pragma once
// The configuration registers 0..60 as the window shows them: field
// txt_data_cfg(i) is holding register i. One row per field: where it sits,
// its caption, how it is edited, its up/down range and scaling.

#include "model/enumerations.h"
#include "model/frames.h"
#include "base/texts.h"

#include <array>

namespace rbx14 {

enum class FieldKind : int {
  kUpDown,    // edit field with an up/down control over [min, max]
  kEdit,      // edit field without up/down control
  kList,      // hidden field, edited by the list cmb_cfg(i)
  kReadOnly,  // hidden field, shown in the label lbl_cfg_val(i)
  kHidden,    // hidden field without any display
};

// Which keys a field takes while typing (the up/down step follows `tenths`).
enum class KeyClass : int {
  kInteger,  // digits only
  kDecimal,  // digits and one decimal separator
  kSigned,   // digits, one decimal separator and one minus sign
};

struct ConfigField {
  int index;
  FrameRef frame;
  texts::LocalText caption;
  FieldKind kind;
  int min;  // up/down range, or the lowest and highest code of a list
  int max;
  bool tenths;  // the register holds ten times the shown value; steps by 0.1
  KeyClass keys;
  ListId list;
  const char16_t* unit;  // unit of the shown value, u"" for plain numbers and codes
  int maxLength = 5;     // sign and decimal separator included
};

inline constexpr int kConfigFieldCount = 61;

namespace field_rows {
using enum FieldKind;
using enum KeyClass;
using texts::LocalText;
constexpr LocalText kUpperRange{u"Oberer Verstellbereich:", u"Upper adjustment range      :"};
constexpr LocalText kLowerRange{u"Unterer Verstellbereich:", u"Lower adjustment range      :"};
constexpr LocalText kResolution{u"Auflösung:", u"Resolution                           :"};
constexpr LocalText kBaseSetpoint{u"Basissollwert nach Reset:",
                                  u"Basic setpoint after reset       :"};
constexpr LocalText kProportional{u"Proportionalbereich Xp (K):", u"Proportional band Xp [K]:"};
constexpr LocalText kResetTime{u"Nachstellzeit Tn (min):", u"Running time Tn [min]:"};
constexpr LocalText kMaxOutput{u"Maximale Stellgrößenbeschränkung (%):",
                               u"Max control variable limit [%]:"};
constexpr LocalText kMinOutput{u"Minimale Stellgrößenbeschränkung (%):",
                               u"Min control variable limit [%]:"};
constexpr LocalText kFanStage1{u"Lüfterstufe 1 (%):", u"Fan stage 1 (%):"};
constexpr LocalText kFanStage2{u"Lüfterstufe 2 (%):", u"Fan stage 2 (%):"};
constexpr LocalText kFanStage3{u"Lüfterstufe 3 (%):", u"Fan stage 3 (%):"};
constexpr LocalText kMinFanStage{u"Minimale Lüfterstufe:", u"Minimal fan stage:"};
constexpr LocalText kReserved{u"Reserviert:", nullptr};
}  // namespace field_rows

inline constexpr std::array<ConfigField, kConfigFieldCount> kConfigFields = [] {
  using namespace field_rows;
  using enum ListId;
  namespace f = frames;
  return std::array<ConfigField, kConfigFieldCount>{{
      // index, frame, caption, kind, min, max, tenths, keys, list, unit
      {0, f::kGeneral, {u"Gerätecodierung:", u"Device coding:"}, kReadOnly, 0, 0, false, kInteger, kNone, u""},
      {1, f::kGeneral, {u"Firmwareversion:", u"Firmware version:"}, kReadOnly, 0, 0, false, kInteger, kNone, u""},
      {2, f::kGeneral, {u"Gerät:", u"Device:"}, kList, 0, 12, false, kInteger, kDeviceType, u""},
      {3, f::kGeneral, {u"Standortkennung:", u"Device location:"}, kUpDown, 0, 65535, false, kInteger, kNone, u""},
      {4, f::kBacklight, {u"Ohne Tastbetätigung:", u"Without button actuation:"}, kUpDown, 0, 255, false, kInteger, kNone, u""},
      {5, f::kBacklight, {u"Bei Tastbetätigung:", u"With button actuation:"}, kUpDown, 0, 255, false, kInteger, kNone, u""},
      {6, f::kButtons, {u"Taste 1:", u"Button 1"}, kList, 0x00, 0x34, false, kInteger, kButtonFunction, u""},
      {7, f::kButtons, {u"Taste 2:", u"Button 2"}, kList, 0x00, 0x34, false, kInteger, kButtonFunction, u""},
      {8, f::kButtons, {u"Taste 3:", u"Button 3"}, kList, 0x00, 0x34, false, kInteger, kButtonFunction, u""},
      {9, f::kButtons, {u"Taste 4:", u"Button 4"}, kList, 0x00, 0x34, false, kInteger, kButtonFunction, u""},
      {10, f::kDateTime, {u"Wochentag:", u"Weekday:"}, kList, 0, 2, false, kInteger, kWeekdayDisplay, u""},
      {11, f::kDateTime, {u"Datum:", u"Date:"}, kList, 0, 2, false, kInteger, kDateDisplay, u""},
      {12, f::kDateTime, {u"Uhrzeit:", u"Time:"}, kList, 0, 1, false, kInteger, kTimeDisplay, u""},
      {13, f::kDateTime, {u"Uhrzeit-Modus:", u"Time-mode:"}, kList, 0, 1, false, kInteger, kClockMode, u""},
      {14, f::kDisplayParameter, {u"Aktualisierungsintervall der Anzeige [s]:", u"Updating interval of display [s]:"}, kUpDown, 0, 255, false, kInteger, kNone, u"s"},
      // The device answers no faster than 5 ms, whatever the range admits.
      {15, f::kGeneral, {u"Min-Response-Time [ms]:", nullptr}, kUpDown, 0, 3000, false, kInteger, kNone, u"ms"},
      {16, f::kGeneral, {u"Temperatur-Offset [K]:", u"Temperature-Offset:"}, kUpDown, -10, 10, true, kSigned, kNone, u"K"},
      {17, f::kSetpoint1, kUpperRange, kUpDown, -99, 99, true, kSigned, kNone, u"K"},
      {18, f::kSetpoint1, kLowerRange, kUpDown, -99, 99, true, kSigned, kNone, u"K"},
      {19, f::kSetpoint1, kResolution, kUpDown, 0, 100, true, kSigned, kNone, u"K"},
      {20, f::kSetpoint1, kBaseSetpoint, kUpDown, -99, 99, true, kSigned, kNone, u"°C"},
      {21, f::kSetpoint2, kUpperRange, kUpDown, -99, 99, true, kSigned, kNone, u"K"},
      {22, f::kSetpoint2, kLowerRange, kUpDown, -99, 99, true, kSigned, kNone, u"K"},
      // Unlike setpoint 1, the step of setpoint 2 may go negative.
      {23, f::kSetpoint2, kResolution, kUpDown, -99, 99, true, kSigned, kNone, u"K"},
      {24, f::kSetpoint2, kBaseSetpoint, kUpDown, -99, 99, true, kSigned, kNone, u"°C"},
      {25, f::kGeneral, {u"Anzahl Lüfterstufen:", u"Number of fan stages:"}, kList, 1, 3, false, kDecimal, kFanStages, u""},
      {26, f::kInputs, {u"Eingang 1:", u"Input 1"}, kList, 0x00, 0x1B, false, kDecimal, kInputFunction, u""},
      {27, f::kInputs, {u"Eingang 2:", u"Input 2"}, kList, 0x00, 0x1B, false, kDecimal, kInputFunction, u""},
      {28, f::kInputs, {u"Eingang 3:", u"Input 3"}, kList, 0x00, 0x1B, false, kDecimal, kInputFunction, u""},
      {29, f::kInputs, {u"Eingang 4:", u"Input 4"}, kList, 0x00, 0x1B, false, kDecimal, kInputFunction, u""},
      {30, f::kHeating, kProportional, kUpDown, 0, 10, true, kDecimal, kNone, u"K"},
      {31, f::kHeating, kResetTime, kUpDown, 0, 255, false, kInteger, kNone, u"min"},
      {32, f::kCooling, kProportional, kUpDown, 0, 10, true, kDecimal, kNone, u"K"},
      {33, f::kCooling, kResetTime, kUpDown, 0, 10, false, kInteger, kNone, u"min"},
      {34, f::kControlGeneral, {u"Nachtabsenkung (nicht belegt) (K):", u"Nighttime reduction [K]:"}, kUpDown, -30, 30, true, kSigned, kNone, u"K"},
      {35, f::kControlSetpoint1, {u"Totzone zwischen Heizen und Kühlen (K):", u"Dead zone heating-cooling [K]:"}, kUpDown, 0, 30, true, kDecimal, kNone, u"K"},
      // The device documents no unit for the frost protection value.
      {36, f::kControlSetpoint1, {u"Frostschutz (K):", u"Frost protection [K]:"}, kUpDown, 0, 30, true, kDecimal, kNone, u""},
      {37, f::kHeating, kMaxOutput, kUpDown, 0, 100, false, kInteger, kNone, u"%"},
      {38, f::kHeating, kMinOutput, kUpDown, 0, 100, false, kInteger, kNone, u"%"},
      {39, f::kCooling, kMaxOutput, kUpDown, 0, 100, false, kInteger, kNone, u"%"},
      {40, f::kCooling, kMinOutput, kUpDown, 0, 100, false, kInteger, kNone, u"%"},
      {41, f::kControlSetpoint1, {u"PWM-Zykluszeit [min]:", u"Period time [min]:"}, kUpDown, 0, 100, false, kInteger, kNone, u"min"},
      {42, f::kControlGeneral, {u"Nachtabsenkung nach (min):", u"Night setback after [min]:"}, kUpDown, 0, 255, false, kInteger, kNone, u"min"},
      {43, f::kControlGeneral, {u"Regelungstyp:", u"Control type:"}, kList, 0, 3, false, kDecimal, kControlMode, u""},
      {44, f::kHeatingFans, kFanStage1, kUpDown, 0, 100, false, kDecimal, kNone, u"%"},
      {45, f::kHeatingFans, kFanStage2, kUpDown, 0, 100, false, kDecimal, kNone, u"%"},
      {46, f::kHeatingFans, kFanStage3, kUpDown, 0, 100, false, kDecimal, kNone, u"%"},
      {47, f::kCoolingFans, kFanStage1, kUpDown, 0, 100, false, kDecimal, kNone, u"%"},
      {48, f::kCoolingFans, kFanStage2, kUpDown, 0, 100, false, kDecimal, kNone, u"%"},
      {49, f::kCoolingFans, kFanStage3, kUpDown, 0, 100, false, kDecimal, kNone, u"%"},
      {50, f::kHeatingFans, kMinFanStage, kEdit, 0, 0, false, kDecimal, kNone, u""},
      {51, f::kCoolingFans, kMinFanStage, kEdit, 0, 0, false, kDecimal, kNone, u""},
      {52, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {53, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {54, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {55, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {56, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {57, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {58, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {59, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
      {60, f::kNone, kReserved, kHidden, 0, 0, false, kDecimal, kNone, u""},
  }};
}();

// Unit marks beside the setpoint fields and the temperature offset (labels
// of the lbl_desc array), the same in both languages.
struct UnitMark {
  int descIndex;
  int field;
  const char16_t* text;
};

inline constexpr std::array<UnitMark, 9> kUnitMarks{{
    {51, 17, u"[K]"},
    {52, 18, u"[K]"},
    {53, 19, u"[K]"},
    {54, 20, u"[°C]"},
    {59, 21, u" K"},
    {60, 22, u" K"},
    {61, 23, u" K"},
    {37, 24, u"°C"},
    {62, 16, u" K"},
}};

// The row of field i; i must be 0..60.
constexpr const ConfigField& ConfigFieldAt(int index) {
  return kConfigFields[static_cast<std::size_t>(index)];
}

// Every row sits at its own index, so a field's row is found by position.
static_assert([] {
  for (std::size_t i = 0; i < kConfigFields.size(); ++i) {
    if (kConfigFields[i].index != static_cast<int>(i)) return false;
  }
  return true;
}());

}  // namespace rbx14
