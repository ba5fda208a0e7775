#pragma once
// Texts about parameter files in both languages: what a check refused and
// where, corrected values, failed saves. Shared by the window and the
// command line.

#include "base/texts.h"

namespace rbx14::file_texts {

using texts::LocalText;

// A refused line: line number, caption, what is wrong.
inline constexpr LocalText kLine{u"Zeile %1 %2: %3", u"line %1 %2: %3"};
inline constexpr LocalText kTooShort{u"Zeile %1: die Datei endet hier, eine Parameterdatei hat %2 Zeilen",
                                     u"line %1: the file ends here, a parameter file has %2 lines"};
inline constexpr LocalText kTooLong{u"Zeile %1: eine Parameterdatei endet nach %2 Zeilen",
                                    u"line %1: a parameter file ends after %2 lines"};
inline constexpr LocalText kNoSeparators{u"zwei \";\" fehlen", u"the two \";\" separators are missing"};
inline constexpr LocalText kBadBit{u"ein Bit ist 0 oder 1, nicht \"%1\"", u"a bit is 0 or 1, not \"%1\""};
inline constexpr LocalText kNoNumber{u"\"%1\" ist keine Zahl; erlaubt: %2",
                                     u"\"%1\" is no number; allowed: %2"};
inline constexpr LocalText kOutsideRange{u"%1 passt nicht in das Feld; erlaubt: %2",
                                         u"%1 does not fit the field; allowed: %2"};
inline constexpr LocalText kUtf8{
    u"\"%1\" ist UTF-8-Text; die Datei in Windows-1252 speichern",
    u"\"%1\" is UTF-8 text; save the file in Windows-1252"};
inline constexpr LocalText kNotCodePage{u"\"%1\" hat Zeichen, die das Gerät nicht darstellen kann",
                                        u"\"%1\" holds characters the device cannot show"};
inline constexpr LocalText kTextTooLong{u"\"%1\" hat mehr als %2 Zeichen",
                                        u"\"%1\" has more than %2 characters"};
inline constexpr LocalText kSteps{u"%1..%2 in Schritten von %3", u"%1..%2 in steps of %3"};

// The window's File menu.
inline constexpr LocalText kLoadRefused{u"Datei nicht geladen, nichts wurde geändert:\n%1\n%2",
                                        u"File not loaded, nothing was changed:\n%1\n%2"};
inline constexpr LocalText kFileUnreadable{u"Datei lässt sich nicht lesen:\n%1",
                                           u"The file cannot be read:\n%1"};
inline constexpr LocalText kCorrected{
    u"Werte außerhalb ihres Feldes wurden wie bei der Eingabe begrenzt (rot markiert):\n%1",
    u"Values outside their field were limited as on entry (marked red):\n%1"};
inline constexpr LocalText kCorrectedLine{u"Zeile %1 %2: Datei %3, jetzt %4",
                                          u"line %1 %2: file %3, now %4"};
inline constexpr LocalText kSaveFailed{u"Datei nicht gespeichert:\n%1", u"The file was not saved:\n%1"};
inline constexpr LocalText kUnsavable{
    u"Datei nicht gespeichert: Zeile %1 %2 enthält einen Zeilenumbruch oder ein Zeichen, "
    u"das die Datei nicht wiedergeben kann",
    u"File not saved: line %1 %2 holds a line break or a character the file cannot keep"};

}  // namespace rbx14::file_texts
