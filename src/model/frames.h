#pragma once
// The group frames of the main window that hold configuration fields: which
// tab each sits on, which frame holds it, and its caption. Frames are control
// arrays in the window (frm_allg(1), frm_ctrl(4)); two stand alone.

#include "model/tabs.h"
#include "base/texts.h"

#include <array>
#include <compare>

namespace rbx14 {

struct FrmConfig;
class Frame;

enum class FrameArray : int {
  kNone,  // a field that sits on no frame (never shown)
  frm_allg,
  frm_Anzeige,
  frm_button,
  frm_extern,
  frm_soll,
  frm_ctrl,
  frm_val,   // the monitor
  frm_VX9H,  // heating fan stages, inside frm_ctrl(1)
  frm_VX9K,  // cooling fan stages, inside frm_ctrl(2)
};

struct FrameRef {
  FrameArray array = FrameArray::kNone;
  int index = 0;

  constexpr auto operator<=>(const FrameRef&) const = default;
};

struct FrameInfo {
  FrameRef ref;
  Tab tab;
  FrameRef parent;  // kNone: the frame sits on the tab itself
  texts::LocalText caption;
};

namespace frames {
inline constexpr FrameRef kNone{};
inline constexpr FrameRef kDateTime{FrameArray::frm_allg, 0};
inline constexpr FrameRef kGeneral{FrameArray::frm_allg, 1};
inline constexpr FrameRef kBacklight{FrameArray::frm_allg, 2};
inline constexpr FrameRef kDisplayParameter{FrameArray::frm_Anzeige, 0};
inline constexpr FrameRef kAlarms{FrameArray::frm_Anzeige, 1};
inline constexpr FrameRef kDisplayValues{FrameArray::frm_Anzeige, 2};
inline constexpr FrameRef kButtons{FrameArray::frm_button, 0};
inline constexpr FrameRef kInputs{FrameArray::frm_button, 1};
inline constexpr FrameRef kSymbols{FrameArray::frm_extern, 1};
inline constexpr FrameRef kExternal1{FrameArray::frm_extern, 2};
inline constexpr FrameRef kExternal2{FrameArray::frm_extern, 3};
inline constexpr FrameRef kExternal3{FrameArray::frm_extern, 4};
inline constexpr FrameRef kExternal4{FrameArray::frm_extern, 5};
inline constexpr FrameRef kSetpoint1Display{FrameArray::frm_soll, 0};
inline constexpr FrameRef kSetpoint1{FrameArray::frm_soll, 1};
inline constexpr FrameRef kSetpoint2Display{FrameArray::frm_soll, 2};
inline constexpr FrameRef kSetpoint2{FrameArray::frm_soll, 3};
inline constexpr FrameRef kControlGeneral{FrameArray::frm_ctrl, 0};
inline constexpr FrameRef kHeating{FrameArray::frm_ctrl, 1};
inline constexpr FrameRef kCooling{FrameArray::frm_ctrl, 2};
inline constexpr FrameRef kControlSetpoint1{FrameArray::frm_ctrl, 4};
inline constexpr FrameRef kMonitorValues{FrameArray::frm_val, 0};
inline constexpr FrameRef kMonitorDevice{FrameArray::frm_val, 1};
inline constexpr FrameRef kHeatingFans{FrameArray::frm_VX9H, 0};
inline constexpr FrameRef kCoolingFans{FrameArray::frm_VX9K, 0};
}  // namespace frames

// Parents come before the frames they hold.
inline constexpr std::array<FrameInfo, 25> kFrames{{
    {frames::kGeneral, Tab::kGeneral, frames::kNone,
     {u"Allgemeine Einstellungen", u"General settings"}},
    {frames::kBacklight, Tab::kGeneral, frames::kNone,
     {u"Intensität Hintergrundbeleuchtung", u"Intensity background illumination"}},
    {frames::kDateTime, Tab::kGeneral, frames::kNone,
     {u"Anzeige Datum und Uhrzeit", u"Display date and time"}},
    {frames::kDisplayParameter, Tab::kDisplay, frames::kNone, {u"Parameter", u"Parameter"}},
    {frames::kAlarms, Tab::kDisplay, frames::kNone, {u"Alarmmeldung", u"Alarm messages"}},
    {frames::kDisplayValues, Tab::kDisplay, frames::kNone, {u"Werte anzeigen", u"Display values"}},
    {frames::kMonitorValues, Tab::kMonitor, frames::kNone, {u"Monitor", u"Monitor"}},
    {frames::kMonitorDevice, Tab::kMonitor, frames::kNone, {u"Monitor", u"Monitor"}},
    {frames::kSymbols, Tab::kSymbols, frames::kNone, {u"Symbole / Übersteuerung", u"Symbols"}},
    {frames::kButtons, Tab::kButtonsInputs, frames::kNone,
     {u"Konfiguration der Tasten", u"Button configuration"}},
    {frames::kInputs, Tab::kButtonsInputs, frames::kNone,
     {u"Konfiguration der digitalen Eingänge", u"Input configuration"}},
    {frames::kExternal1, Tab::kExternalValues, frames::kNone,
     {u"Eingaberegister / Konfiguration - Externer Wert 1", u"Input register - External value 1"}},
    {frames::kExternal2, Tab::kExternalValues, frames::kNone,
     {u"Eingaberegister / Konfiguration - Externer Wert 2", u"Input register - External value 2"}},
    {frames::kExternal3, Tab::kExternalValues, frames::kNone,
     {u"Eingaberegister / Konfiguration - Externer Wert 3", u"Input register - External value 3"}},
    {frames::kExternal4, Tab::kExternalValues, frames::kNone,
     {u"Eingaberegister - Externer Wert ohne Einheit", u"Input register - External value 4"}},
    {frames::kSetpoint1Display, Tab::kSetpoint1, frames::kNone, {u"Anzeige ", u"Display"}},
    {frames::kSetpoint1, Tab::kSetpoint1, frames::kNone, {u"Sollwert 1", u"Setpoint 1"}},
    {frames::kSetpoint2Display, Tab::kSetpoint2, frames::kNone, {u"Anzeige ", u"Display"}},
    {frames::kSetpoint2, Tab::kSetpoint2, frames::kNone, {u"Sollwert 2", u"Setpoint 2"}},
    {frames::kControlGeneral, Tab::kController, frames::kNone,
     {u"Allgemeine Einstellungen: ", u"General parameter"}},
    {frames::kHeating, Tab::kController, frames::kNone,
     {u"Parameter Heizen: Sollwert 1", u"Parameter heating: Setpoint 1"}},
    {frames::kCooling, Tab::kController, frames::kNone,
     {u"Parameter Kühlen: Sollwert 1", u"Parameter cooling: Setpoint 1"}},
    {frames::kControlSetpoint1, Tab::kController, frames::kNone,
     {u"Allgemeine Reglereinstellungen: Sollwert 1", u"General parameter controller: Setpoint 1"}},
    {frames::kHeatingFans, Tab::kController, frames::kHeating, {u"", nullptr}},
    {frames::kCoolingFans, Tab::kController, frames::kCooling, {u"", nullptr}},
}};

// The row of a frame, or nullptr for kNone.
const FrameInfo* FindFrame(FrameRef ref);

// The frame control a reference names, or nullptr (kNone, or not built).
Frame* FrameOf(FrmConfig& form, FrameRef ref);

// Creates the frame control a reference names (an existing one is kept);
// nullptr for kNone.
Frame* AddFrame(FrmConfig& form, FrameRef ref);

}  // namespace rbx14
