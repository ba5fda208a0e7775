#pragma once
// The message table MsgText: texts other parts of the program read by fixed
// index (monitor values, captions that follow the device type, parameter
// file headers). Entries 4 and 30 are unused.

#include "base/texts.h"

#include <QString>

#include <array>

namespace rbx14 {

inline constexpr int kMsgTextCount = 31;

inline constexpr std::array<texts::LocalText, kMsgTextCount> kMsgText{{
    {u"Aus", u"Off"},
    {u"1. Stufe", u"Stage 1"},
    {u"2. Stufe", u"Stage 2"},
    {u"3. Stufe", u"Stage 3"},
    {u"", nullptr},
    {u"Raum nicht belegt", u"Room unoccupied"},
    {u"Raum belegt", u"Room occupied"},
    {u"Als Trennzeichen Semikolon ; verwenden!", u"Use ; as seperator!"},
    {u"Konfigurationsbit", u"Configuration bit"},
    {u"Baudrate: ", u"Baud rate: "},
    {u"Modus: ", u"Mode: "},
    {u"Parität: ", u"Parity: "},
    {u"Adresse: ", u"Address: "},
    {u"Auto Aus", u"Auto Off"},
    {u"Auto 1. Stufe", u"Auto Stage 1"},
    {u"Auto 2. Stufe", u"Auto Stage 2"},
    {u"Auto 3. Stufe", u"Auto Stage 3"},
    {u"Temperatur:", u"Temperature:"},
    {u"Sollwert:", u"Setpoint:"},
    {u"Digital Eingang 3:", u"Digital input 3:"},
    {u"Digital Eingang 4:", u"Digital input 4:"},
    {u"Stellgröße Heizen:", u"Ctrl var heating:"},
    {u"Stellgröße Kühlen:", u"Ctrl var cooling:"},
    {u"Stellgröße:", u"Ctrl var:"},
    {u"Aus", u"Off"},
    {u"Heizen", u"Heating"},
    {u"Kühlen", u"Cooling"},
    {u"Auto Heizen", u"Auto heat"},
    {u"Auto Kühlen", u"Auto cool"},
    {u"Lüfter Ausgang:", u"Fan output:"},
    {u"", nullptr},
}};

// Entry `index` of the table in the run's language; empty outside the table.
inline QString MsgText(int index, bool english) {
  if (index < 0 || index >= kMsgTextCount) return {};
  return kMsgText[static_cast<std::size_t>(index)].in(english);
}

}  // namespace rbx14
