#pragma once
// The device's single bits as the window shows them: 32 configuration bits
// (coils 0x0000..0x001F, check boxes chk_cfg) and 16 input bits (coils
// 0x0100..0x010F, check boxes chk_input). Eleven configuration bits are
// shown as a two-item list cmb_bit_cfg whose position is the bit; their
// check box stays hidden and still holds the bit.

#include "model/frames.h"
#include "base/texts.h"

#include <array>
#include <span>

namespace rbx14 {

enum class BitShow : int {
  kCheckBox,     // check box beside its caption
  kList,         // two-item list beside its caption; the check box is hidden
  kNoCaption,    // check box whose caption is hidden
  kHidden,       // neither check box nor caption is shown
};

// The two-item lists of the configuration bits.
enum class BitList : int {
  kNone,
  kTenths,         // room temperature and setpoints with a tenths digit
  kDecimalPoint,   // external values with a decimal point
  kSetpointShown,  // control setpoint or base setpoint plus offset
  kUnit,           // temperature unit
  kSetpointAdjust, // offset or effective setpoint while adjusting
};

struct ConfigBit {
  int index;
  FrameRef frame;
  texts::LocalText caption;
  BitShow show;
  BitList list = BitList::kNone;
};

namespace bit_rows {
using texts::LocalText;
constexpr LocalText kShown{u"Anzeige:", u"Display:"};
constexpr LocalText kReserved{u"Reserviert:", nullptr};
}  // namespace bit_rows

// chk_cfg(0..31) are coils 0..31; chk_cfg(32) belongs to no coil and stays
// hidden.
inline constexpr int kConfigBitCount = 33;

inline constexpr std::array<ConfigBit, kConfigBitCount> kConfigBits = [] {
  using namespace bit_rows;
  using enum BitShow;
  using enum BitList;
  namespace f = frames;
  return std::array<ConfigBit, kConfigBitCount>{{
      {0, f::kDisplayValues, {u"Raumtemperatur:", u"Room temperature (internal):"}, kCheckBox},
      {1, f::kDisplayValues, {u"Externer Messwert 1:", u"External value 1:"}, kCheckBox},
      {2, f::kDisplayValues, {u"Externer Messwert 2:", u"External value 2:"}, kCheckBox},
      {3, f::kDisplayValues, {u"Externer Messwert 3:", u"External value 3:"}, kCheckBox},
      {4, f::kDisplayValues, {u"Externer Messwert 4:", u"External value 4:"}, kCheckBox},
      {5, f::kDisplayValues, {u"Sollwert 1 Offset:", u"Setpoint 1 offset:"}, kCheckBox},
      {6, f::kDisplayValues, {u"Sollwert 1 Effektiv:", u"Setpoint 1 effective:"}, kCheckBox},
      {7, f::kDisplayValues, {u"Sollwert 2 Offset:", u"Setpoint 2 offset:"}, kCheckBox},
      {8, f::kDisplayValues, {u"Sollwert 2 Effektiv:", u"Setpoint 2 effective:"}, kCheckBox},
      {9, f::kDisplayValues, {u"Uhrzeit:", u"Time:"}, kCheckBox},
      {10, f::kDisplayValues, {u"Datum:", u"Date:"}, kCheckBox},
      {11, f::kDisplayParameter, {u"Raumbelegung anzeigen:", u"Display room occupancy:"}, kCheckBox},
      {12, f::kDisplayParameter, {u"Lüfterstufe anzeigen:", u"Display fan stage:"}, kCheckBox},
      // The second bit of the fan-stage display is the device's own business.
      {13, f::kDisplayParameter, {u"Lüfterstufe anzeigen:", nullptr}, kHidden},
      {14, f::kDisplayParameter, kReserved, kHidden},
      {15, f::kDisplayParameter, kReserved, kHidden},
      {16, f::kDisplayParameter, {u"Anzeige Raumtemperatur:", u"Display temperature:"}, kList, kTenths},
      {17, f::kExternal1, kShown, kList, kDecimalPoint},
      {18, f::kExternal2, kShown, kList, kDecimalPoint},
      {19, f::kExternal3, kShown, kList, kDecimalPoint},
      {20, f::kExternal4, kShown, kList, kDecimalPoint},
      {21, f::kSetpoint1Display, kShown, kList, kTenths},
      {22, f::kSetpoint2Display, kShown, kList, kTenths},
      {23, f::kSetpoint1Display, kShown, kList, kSetpointShown},
      {24, f::kDisplayParameter, {u"Maßeinheit Raumemperatur:", u"Measuring unit:"}, kList, kUnit},
      {25, f::kSetpoint1Display, {u"Bei Sollwertverstellung:", u"With setpoint 1 adjustment:"}, kList, kSetpointAdjust},
      {26, f::kSetpoint2Display, {u"Bei Sollwertverstellung:", u"With setpoint 2 adjustment:"}, kList, kSetpointAdjust},
      {27, f::kControlSetpoint1, {u"Minimale Stellgröße bei Stellgröße > 0:", u"Minimal control var when control var > 0:"}, kCheckBox},
      {28, f::kDisplayParameter, {u"Raum belegt nach Reset:", u"Room occupancy after reset:"}, kCheckBox},
      {29, f::kDisplayParameter, {u"Gerät durch Tastendruck aktivieren:", u"Activate first by button press:"}, kCheckBox},
      {30, f::kDisplayParameter, {u"Raumbelegung speichern:", u"Save Room occupancy:"}, kCheckBox},
      {31, f::kDisplayParameter, kReserved, kNoCaption},
      {32, f::kNone, kReserved, kHidden},
  }};
}();

// Items of the two-item lists: position 0 is the bit clear, 1 the bit set.
// The device's texts name the choices in opposite orders in the two
// languages; both languages follow the German order here, where each text
// says what its bit value does (for example 0 "Ohne zehntel-Stelle"), so
// a position means the same bit value whatever language the window shows.
namespace bit_lists {
using texts::LocalText;
inline constexpr std::array<LocalText, 2> kTenths{{
    {u"Ohne zehntel-Stelle", u"Without decimal point"},
    {u"Mit zehntel-Stelle", u"With decimal point"},
}};
inline constexpr std::array<LocalText, 2> kDecimalPoint{{
    {u"Komma ausblenden", u"Without decimal point"},
    {u"Komma einblenden", u"With decimal point"},
}};
inline constexpr std::array<LocalText, 2> kSetpointShown{{
    {u"Regelsollwert", u"Control set point"},
    {u"Basissollwert + Offset", u"Basic set point + Offset"},
}};
// 0 is Fahrenheit, 1 Celsius.
inline constexpr std::array<LocalText, 2> kUnit{{
    {u"°F", nullptr},
    {u"°C", nullptr},
}};
inline constexpr std::array<LocalText, 2> kSetpointAdjust{{
    {u"Sollwert offset", u"Setpoint offset"},
    {u"Sollwert effektiv", u"Setpoint effective"},
}};
}  // namespace bit_lists

constexpr std::span<const texts::LocalText> BitListItems(BitList list) {
  switch (list) {
    case BitList::kTenths: return bit_lists::kTenths;
    case BitList::kDecimalPoint: return bit_lists::kDecimalPoint;
    case BitList::kSetpointShown: return bit_lists::kSetpointShown;
    case BitList::kUnit: return bit_lists::kUnit;
    case BitList::kSetpointAdjust: return bit_lists::kSetpointAdjust;
    case BitList::kNone: break;
  }
  return {};
}

// The bits with a list: 16 to 26.
constexpr bool HasBitList(int index) { return index >= 16 && index <= 26; }
inline constexpr int kUnitBit = 24;

struct InputBit {
  int index;
  texts::LocalText caption;
  bool shown;
};

inline constexpr int kInputBitCount = 16;

// Display symbols switched on from outside; bits 6..15 are reserved and
// carried like the others.
inline constexpr std::array<InputBit, kInputBitCount> kInputBits{{
    {0, {u"Störung:", u"Fault:"}, true},
    {1, {u"Heizen:", u"Heating:"}, true},
    {2, {u"Kühlen:", u"Cooling:"}, true},
    {3, {u"Fenster:", u"Window:"}, true},
    {4, {u"Taupunkt:", u"Dewpoint:"}, true},
    {5, {u"Off:", nullptr}, true},
    {6, {u"", nullptr}, false},
    {7, {u"", nullptr}, false},
    {8, {u"", nullptr}, false},
    {9, {u"", nullptr}, false},
    {10, {u"", nullptr}, false},
    {11, {u"", nullptr}, false},
    {12, {u"", nullptr}, false},
    {13, {u"", nullptr}, false},
    {14, {u"", nullptr}, false},
    {15, {u"", nullptr}, false},
}};

// Every row sits at its own index.
static_assert([] {
  for (std::size_t i = 0; i < kConfigBits.size(); ++i) {
    if (kConfigBits[i].index != static_cast<int>(i)) return false;
    if ((kConfigBits[i].show == BitShow::kList) != HasBitList(static_cast<int>(i))) return false;
  }
  for (std::size_t i = 0; i < kInputBits.size(); ++i) {
    if (kInputBits[i].index != static_cast<int>(i)) return false;
  }
  return true;
}());

}  // namespace rbx14
