#pragma once
// The selection lists of the enumerated configuration fields. A list shows
// its items in the order given (list position = ListIndex); the code beside
// an item is what the field and the register hold.

#include "base/texts.h"

#include <array>
#include <span>

namespace rbx14 {

struct ListItem {
  int code;
  texts::LocalText text;  // en nullptr: the German text in both languages
};

enum class ListId : int {
  kNone,
  kDeviceType,
  kButtonFunction,
  kInputFunction,
  kWeekdayDisplay,
  kDateDisplay,
  kTimeDisplay,
  kClockMode,
  kFanStages,
  kControlMode,
};

namespace lists {

// One hardware variant per item; the code is the position.
inline constexpr std::array<ListItem, 13> kDeviceType{{
    {0, {u"VX0", nullptr}},
    {1, {u"VX1", nullptr}},
    {2, {u"VX2", nullptr}},
    {3, {u"VX3", nullptr}},
    {4, {u"VX4", nullptr}},
    {5, {u"VX5", nullptr}},
    {6, {u"VX6", nullptr}},
    {7, {u"VX7", nullptr}},
    {8, {u"VX8", nullptr}},
    {9, {u"VX9", nullptr}},
    {10, {u"VX10", nullptr}},
    {11, {u"VX11", nullptr}},
    {12, {u"VX12", nullptr}},
}};

// Each item text begins with its code in hexadecimal; the codes have gaps.
inline constexpr std::array<ListItem, 23> kButtonFunction{{
    {0x00, {u"0x00, ohne Sonderfunktion", u"0x00, Without special function"}},
    {0x01, {u"0x01, Sollwert 1 Plus", u"0x01, Setpoint 1 Plus"}},
    {0x02, {u"0x02, Sollwert 1 Minus", u"0x02, Setpoint 1 Minus"}},
    {0x03, {u"0x03, Sollwert 2 Plus", u"0x03, Setpoint 2 Plus"}},
    {0x04, {u"0x04, Sollwert 2 Minus", u"0x04, Setpoint 2 Minus"}},
    {0x05, {u"0x05, Sollwert 1 Ok", u"0x05, Setpoint 1 Ok"}},
    {0x06, {u"0x06, Sollwert 1 Abbruch", u"0x06, Setpoint 1 Escape"}},
    {0x07, {u"0x07, Sollwertauswahl", nullptr}},
    {0x08, {u"0x08, Sollwert Plus", nullptr}},
    {0x09, {u"0x09, Sollwert Minus", nullptr}},
    {0x10, {u"0x10, Lüfterstufe Plus mit \"AUTO\"", u"0x10, Fan stage Plus with 'AUTO'"}},
    {0x11, {u"0x11, Lüfterstufe Minus mit \"AUTO\"", u"0x11, Fan stage Minus with 'AUTO'"}},
    {0x12, {u"0x12, Lüfterstufe Plus ohne \"AUTO\"", u"0x12, Fan stage Plus without 'AUTO'"}},
    {0x13, {u"0x13, Lüfterstufe Minus ohne \"AUTO\"", u"0x13, Fan stage Minus without 'AUTO'"}},
    {0x14, {u"0x14, Lüfterstufe nur \"AUTO\"", u"0x14, Fan stage only 'AUTO'"}},
    {0x20, {u"0x20, Raum nicht belegt", u"0x20, Room unoccupied"}},
    {0x21, {u"0x21, Raum belegt", u"0x21, Room occupied"}},
    {0x22, {u"0x22, Raumbelegung toggeln", u"0x22, Room occupancy toggle"}},
    {0x30, {u"0x30, Regelung toggel Auto / Aus", u"0x30, Control toggle Auto / off"}},
    {0x31, {u"0x31, Regelung Heizen", u"0x31, Control heating"}},
    {0x32, {u"0x32, Regelung Kühlen", u"0x32, Control cooling"}},
    {0x33, {u"0x33, Regelung Aus", u"0x33, Control off"}},
    {0x34, {u"0x34, Regelung toggel Heizen / Kühlen", u"0x34, Control toggle heating / cooling"}},
}};

// Codes 0x01..0x0C are the normally-closed, 0x10..0x1B the normally-open
// variants of the same functions.
inline constexpr std::array<ListItem, 25> kInputFunction{{
    {0x00, {u"0x00, keine Sonderfunktion", u"0x00, Without special function"}},
    {0x01, {u"0x01, Öffner-Kontakt", u"0x01, Open contact"}},
    {0x02, {u"0x02, Öffner Taupunktwächter", u"0x02, Open contact dewpoint"}},
    {0x03, {u"0x03, Öffner Fensterkontakt", u"0x03, Open contact window"}},
    {0x04, {u"0x04, Öffner Meldung", u"0x04, Open contact alarm"}},
    {0x05, {u"0x05, Öffner Raumbelegung", u"0x05, Open contact room occupancy"}},
    {0x06, {u"0x06, Öffner Text", u"0x06, Open contact text"}},
    {0x07, {u"0x07, Öffner Regelung toggel Auto / Aus", u"0x07, Open control toggle Auto / off"}},
    {0x08,
     {u"0x08, Öffner Regelung toggel Heizen / Kühlen",
      u"0x08, Open control toggle heating / cooling"}},
    {0x09, {u"0x09, Öffner Steigender Flankenzähler", u"0x09, Open counter rising edge"}},
    {0x0A, {u"0x0A, Öffner Wechsel-Flankenzähler", u"0x0A, Open count rising/falling edge"}},
    {0x0B, {u"0x0B, Öffner Impulsdauer", u"0x0B, Open impulse time"}},
    {0x0C, {u"0x0C, Öffner Sollwert 1 -Offset zurücksetzen", u"0x0C, Open Reset setpoint offset"}},
    {0x10, {u"0x10, Schließer-Kontakt", u"0x10, Close contact"}},
    {0x11, {u"0x11, Schließer Taupunktwächter", u"0x11, Close contact dewpoint"}},
    {0x12, {u"0x12, Schließer Fensterkontakt", u"0x12, Close contact window"}},
    {0x13, {u"0x13, Schließer Meldung", u"0x13, Close contact alarm"}},
    {0x14, {u"0x14, Schließer Raumbelegung", u"0x14, Close contact room occupancy"}},
    {0x15, {u"0x15, Schließer Text", u"0x15, Close contact text"}},
    {0x16,
     {u"0x16, Schließer Regelung toggel Auto / Aus", u"0x16, Close control toggle Auto / off"}},
    {0x17,
     {u"0x17, Schließer Regelung toggel Heizen / Kühlen",
      u"0x17, Close control toggle heating / cooling"}},
    {0x18, {u"0x18, Schließer Steigender Flankenzähler", u"0x18, Close counter rising edge"}},
    {0x19, {u"0x19, Schließer Wechsel-Flankenzähler", u"0x19, Close count rising/falling edge"}},
    {0x1A, {u"0x1A, Schließer Impulsdauer", u"0x1A, Close impulse time"}},
    {0x1B,
     {u"0x1B, Schließer Sollwert 1 -Offset zurücksetzen", u"0x1B, Close Reset setpoint offset"}},
}};

inline constexpr std::array<ListItem, 3> kWeekdayDisplay{{
    {0, {u"0x00, ausblenden", u"0x00, Fade out"}},
    {1, {u"0x01, englisch", u"0x01, English"}},
    {2, {u"0x02, deutsch", u"0x02, German"}},
}};

inline constexpr std::array<ListItem, 3> kDateDisplay{{
    {0, {u"0x00, ausblenden", u"0x00, Fade out"}},
    {1, {u"0x01, englisch (JJ.MM.TT)", u"0x01, Englisch (YY.MM.DD)"}},
    {2, {u"0x02, deutsch (TT.MM.JJ)", u"0x02, German (DD.MM.YY)"}},
}};

inline constexpr std::array<ListItem, 2> kTimeDisplay{{
    {0, {u"0x00, ausblenden", u"0x00, Fade out"}},
    {1, {u"0x01, einblenden", u"0x01, Fade in"}},
}};

inline constexpr std::array<ListItem, 2> kClockMode{{
    {0, {u"24-Stunden-Modus", u"24-hours-mode"}},
    {1, {u"12-Stunden-Modus", u"12-hours-mode"}},
}};

// The number of stages is one more than the position.
inline constexpr std::array<ListItem, 3> kFanStages{{
    {1, {u"1", nullptr}},
    {2, {u"2", nullptr}},
    {3, {u"3", nullptr}},
}};

inline constexpr std::array<ListItem, 4> kControlMode{{
    {0, {u"Regler Aus", nullptr}},
    {1, {u"Regler Heizen", nullptr}},
    {2, {u"Regler Kühlen", nullptr}},
    {3, {u"Regler Heizen / Kühlen", nullptr}},
}};

}  // namespace lists

// The items of a list; empty for kNone.
constexpr std::span<const ListItem> ItemsOf(ListId id) {
  switch (id) {
    case ListId::kDeviceType: return lists::kDeviceType;
    case ListId::kButtonFunction: return lists::kButtonFunction;
    case ListId::kInputFunction: return lists::kInputFunction;
    case ListId::kWeekdayDisplay: return lists::kWeekdayDisplay;
    case ListId::kDateDisplay: return lists::kDateDisplay;
    case ListId::kTimeDisplay: return lists::kTimeDisplay;
    case ListId::kClockMode: return lists::kClockMode;
    case ListId::kFanStages: return lists::kFanStages;
    case ListId::kControlMode: return lists::kControlMode;
    case ListId::kNone: break;
  }
  return {};
}

// The list position that shows a code, or -1 when no item carries it.
constexpr int PositionOfCode(ListId id, int code) {
  const auto items = ItemsOf(id);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].code == code) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace rbx14
