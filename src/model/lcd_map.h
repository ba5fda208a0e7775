#pragma once
// The map of the device's display on tab "RBX14 LCD": where the text lines,
// the value fields and the unit lines sit (labels of the lbl_desc array).
// It shows the technician which text field goes where; it holds no value.

#include "base/texts.h"

#include <array>

namespace rbx14 {

struct LcdPlace {
  int descIndex;
  texts::LocalText text;
  int row;
  int column;
  int columnSpan;
  bool area;  // an area of the display (boxed), not a caption
};

inline constexpr std::array<LcdPlace, 11> kLcdPlaces{{
    {0, {u"LCD:", nullptr}, 0, 0, 1, false},
    {13, {u"Zeile 1:", u"Row 1:"}, 1, 0, 1, false},
    {6, {u"Textzeile 1 / Uhrzeit und Datum", u"Textfield 1 / Time and date:"}, 1, 1, 3, true},
    {11, {u"Einheit Zeile 1", u"Unit row 1"}, 1, 4, 1, true},
    {14, {u"Zeile 2:", u"Row 2:"}, 2, 0, 1, false},
    {5, {u"Textzeile 2", u"Textfield 2"}, 2, 1, 3, true},
    {12, {u"Einheit Zeile 2", u"Unit row 2"}, 2, 4, 1, true},
    {26, {u"Feld 1", u"Field 1"}, 3, 1, 1, true},
    {25, {u"Feld 2", u"Field 2"}, 3, 2, 1, true},
    {24, {u"Feld 3", u"Field 3"}, 3, 3, 1, true},
    {10, {u"Einheit Zeile 3", u"Unit row 3"}, 3, 4, 1, true},
}};

}  // namespace rbx14
