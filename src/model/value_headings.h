#pragma once
// Headings, separators and unit marks (labels of the lbl_desc array) on the
// tabs of the bits, the external values and the monitor, and the headings
// that part the configuration registers from the input registers of a frame.

#include "base/texts.h"

#include <array>

namespace rbx14 {

namespace value_desc {
constexpr int kDateDot = 3;
constexpr int kTimeColon = 4;
constexpr int kSymbolInputRegisters = 8;
constexpr int kSetpoint1InputRegisters = 9;
constexpr int kSetpoint2InputRegisters = 15;
constexpr int kOutputRegisters = 20;
constexpr int kKeys = 22;
constexpr int kTemperatureUnit = 35;
constexpr int kClockInputRegisters = 67;
constexpr int kDateHeading = 69;
constexpr int kTimeHeading = 70;
constexpr int kFunction = 72;
constexpr int kInputFunction = 1;
constexpr int kButtonFunction = 2;
constexpr int kAlarmHeading = 16;  // 16..19, one per alarm message
constexpr int kKeysOutputRegister = 21;
constexpr int kTemperatureOutputRegister = 23;
constexpr int kSyncCaption = 27;
constexpr int kSetpoint1ConfigRegisters = 28;
constexpr int kSetpoint2ConfigRegisters = 29;
constexpr int kClockConfigRegisters = 68;
constexpr int kSwitchOn = 73;
}  // namespace value_desc

struct DescText {
  int index;
  texts::LocalText text;
};

// The spaces in the key and clock headings set the texts over the
// indicators and fields below them.
inline constexpr std::array<DescText, 25> kValueDescTexts{{
    {value_desc::kDateDot, {u".", nullptr}},
    {value_desc::kTimeColon, {u":", nullptr}},
    {value_desc::kSymbolInputRegisters, {u"Eingaberegister", u"Input Register"}},
    {value_desc::kSetpoint1InputRegisters, {u"Eingaberegister", u"Input Register"}},
    {value_desc::kSetpoint2InputRegisters, {u"Eingaberegister", u"Input Register"}},
    {value_desc::kOutputRegisters, {u"Ausgaberegister", u"Output Register"}},
    {value_desc::kKeys,
     {u"Bedientaste      4           3           2          1",
      u"Pushbutton       4           3           2          1"}},
    // Follows the temperature unit bit; the window starts in Celsius.
    {value_desc::kTemperatureUnit, {u"°C", nullptr}},
    {value_desc::kClockInputRegisters, {u"Eingaberegister", u"Input register"}},
    {value_desc::kDateHeading, {u"Tag         Monat       Jahr", u"Day         Month       Year"}},
    {value_desc::kTimeHeading, {u"Stunde    Minute     Sekunde", u" Hour       Minute     Second"}},
    {value_desc::kFunction, {u"Funktion", u"Function"}},
    {value_desc::kSwitchOn, {u"Einschalten", u"Switch on"}},
    {value_desc::kInputFunction, {u"Funktion der Eingänge:", u"Function input:"}},
    {value_desc::kButtonFunction, {u"Funktion der Tasten:", u"Function button"}},
    {value_desc::kAlarmHeading, {u"Alarmmeldung 1", u"Alarm 1"}},
    {value_desc::kAlarmHeading + 1, {u"Alarmmeldung 2", u"Alarm 2"}},
    {value_desc::kAlarmHeading + 2, {u"Alarmmeldung 3", u"Alarm 3"}},
    {value_desc::kAlarmHeading + 3, {u"Alarmmeldung 4", u"Alarm 4"}},
    {value_desc::kKeysOutputRegister, {u"Ausgaberegister", u"Output Register"}},
    {value_desc::kTemperatureOutputRegister, {u"Ausgaberegister", u"Output Register"}},
    {value_desc::kSyncCaption, {u"Synchronisieren:", nullptr}},
    {value_desc::kSetpoint1ConfigRegisters, {u"Konfigurationsregister", u"Configuration Register"}},
    {value_desc::kSetpoint2ConfigRegisters, {u"Konfigurationsregister", u"Configuration Register"}},
    {value_desc::kClockConfigRegisters, {u"Konfigurationsregister", u"Configuration register"}},
}};

// Unit marks beside input fields, the same in both languages.
struct InputUnitMark {
  int descIndex;
  int field;
  const char16_t* text;
};

inline constexpr std::array<InputUnitMark, 3> kInputUnitMarks{{
    {38, 13, u"°C"},  // basic setpoint 1
    {39, 14, u"°C"},  // basic setpoint 2
    {40, 24, u"°C"},  // external temperature
}};

}  // namespace rbx14
