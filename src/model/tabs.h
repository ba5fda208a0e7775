#pragma once
// The ten tabs of the main window, by position, with their titles.

#include "base/texts.h"

#include <array>

namespace rbx14 {

enum class Tab : int {
  kGeneral = 0,
  kDisplay = 1,
  kButtonsInputs = 2,
  kMonitor = 3,
  kSymbols = 4,
  kExternalValues = 5,
  kSetpoint1 = 6,
  kSetpoint2 = 7,
  kController = 8,
  kLcd = 9,
};

inline constexpr int kTabCount = 10;

inline constexpr std::array<texts::LocalText, kTabCount> kTabTitles{{
    {u"Allgemein", u"General"},
    {u"Anzeige", u"Display"},
    {u"Tasten / Eingänge", u"Buttons / Inputs"},
    {u"Monitor", u"Monitor"},
    {u"Symbole", u"Symbols"},
    {u"Externe Messwerte", u"External values"},
    {u"Sollwert 1", u"Setpoint 1"},
    {u"Sollwert 2", u"Setpoint 2"},
    {u"Reglereinstellungen", u"Conrol settings"},
    {u"RBX14 LCD", nullptr},
}};

}  // namespace rbx14
