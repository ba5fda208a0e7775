#pragma once
// The free texts the device shows on its display: 22 display text lines
// (txt_data_cfg_txt(k), ten registers from 0x300 + 10k) and 18 unit texts
// (txt_data_cfg_unit, three per ten registers from 0x400), with their
// captions and frames.

#include "model/frames.h"
#include "base/texts.h"

#include <array>

namespace rbx14 {

struct DisplayTextField {
  int index;
  FrameRef frame;
  texts::LocalText caption;
  // The registers hold 20 characters; the device shows 14 of them.
  int maxLength = 14;
};

inline constexpr int kDisplayTextCount = 22;

inline constexpr std::array<DisplayTextField, kDisplayTextCount> kDisplayTexts{{
    {0, frames::kSetpoint1, {u"Textzeile 1 Sollwert 1:", u"Text field 1:"}},
    {1, frames::kSetpoint1, {u"Textzeile 2 Sollwert 1:", u"Text field 2:"}},
    {2, frames::kSetpoint2, {u"Textzeile 1 Sollwert 2:", u"Text field 1:"}},
    {3, frames::kSetpoint2, {u"Textzeile 2 Sollwert 2:", u"Text field 2:"}},
    {4, frames::kExternal1, {u"Textzeile 1 Wert 1:", u"Text field 1:"}},
    {5, frames::kExternal1, {u"Textzeile 2 Wert 1:", u"Text field 2:"}},
    {6, frames::kExternal2, {u"Textzeile 1 Wert 2:", u"Text field 1:"}},
    {7, frames::kExternal2, {u"Textzeile 2 Wert 2:", u"Text field 2:"}},
    {8, frames::kExternal3, {u"Textzeile 1 Wert 3:", u"Text field 1:"}},
    {9, frames::kExternal3, {u"Textzeile 2 Wert 3:", u"Text field 2:"}},
    {10, frames::kExternal4, {u"Textzeile 1 Wert 4:", u"Text field 1:"}},
    {11, frames::kExternal4, {u"Textzeile 2 Wert 4:", u"Text field 2:"}},
    {12, frames::kAlarms, {u"Textzeile 1 Alarm 1", nullptr}},
    {13, frames::kAlarms, {u"Textzeile 2 Alarm 1", nullptr}},
    {14, frames::kAlarms, {u"Textzeile 1 Alarm 2", nullptr}},
    {15, frames::kAlarms, {u"Textzeile 2 Alarm 2", nullptr}},
    {16, frames::kAlarms, {u"Textzeile 1 Alarm 3", nullptr}},
    {17, frames::kAlarms, {u"Textzeile 2 Alarm 3", nullptr}},
    {18, frames::kAlarms, {u"Textzeile 1 Alarm 4", nullptr}},
    {19, frames::kAlarms, {u"Textzeile 2 Alarm 4", nullptr}},
    {20, frames::kDisplayParameter, {u"Textzeile 1 Raumtemperatur:", u"Text field 1 temperature:"}},
    {21, frames::kDisplayParameter, {u"Textzeile 2 Raumtemperatur:", u"Text field 2 temperature:"}},
}};

// Each value has three unit lines; unit u's caption is that of line u % 3.
inline constexpr std::array<texts::LocalText, 3> kUnitCaptions{{
    {u"Einheit Zeile 1:", u"Unit row 1:"},
    {u"Einheit Zeile 2:", u"Unit row 2:"},
    {u"Einheit Zeile 3:", u"Unit row 3:"},
}};

struct UnitField {
  int index;
  FrameRef frame;
  // Two registers, four characters, carry one unit, but the read-out takes
  // three of them: a fourth would be written and never read back, so a
  // copy to the next device would lose it.
  int maxLength;
};

inline constexpr int kUnitFieldCount = 18;

inline constexpr std::array<UnitField, kUnitFieldCount> kUnitFields{{
    {0, frames::kSetpoint1, 3},  {1, frames::kSetpoint1, 3},  {2, frames::kSetpoint1, 3},
    {3, frames::kSetpoint2, 3},  {4, frames::kSetpoint2, 3},  {5, frames::kSetpoint2, 3},
    {6, frames::kExternal1, 3},  {7, frames::kExternal1, 3},  {8, frames::kExternal1, 3},
    {9, frames::kExternal2, 3},  {10, frames::kExternal2, 3}, {11, frames::kExternal2, 3},
    {12, frames::kExternal3, 3}, {13, frames::kExternal3, 3}, {14, frames::kExternal3, 3},
    {15, frames::kExternal4, 3}, {16, frames::kExternal4, 3}, {17, frames::kExternal4, 3},
}};

constexpr const texts::LocalText& UnitCaption(int unitIndex) {
  return kUnitCaptions[static_cast<std::size_t>(unitIndex % 3)];
}

}  // namespace rbx14
