#pragma once
// Headings, separators and unit marks (labels of the lbl_desc array) on the
// tabs of the bits, the external values and the monitor.

#include "shell/texts.h"

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
constexpr int kSwitchOn = 73;
}  // namespace value_desc

struct DescText {
  int index;
  texts::LocalText text;
};

// The spaces in the key and clock headings set the texts over the
// indicators and fields below them.
inline constexpr std::array<DescText, 13> kValueDescTexts{{
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
}};

}  // namespace rbx14
