#pragma once
// The commissioning record's own words in German and English. Captions of
// fields, tabs and frames are the window's; only what the window never
// says stands here.

#include "base/texts.h"

namespace rbx14::record::words {

using texts::LocalText;

inline constexpr LocalText kTitle{u"Inbetriebnahmeprotokoll", u"Commissioning record"};
inline constexpr LocalText kSubtitle{u"Raumbediengerät RBX14, RS485 Modbus",
                                     u"RBX14 room operating unit, RS485 Modbus"};

// The head.
inline constexpr LocalText kUnit{u"Gerät", u"Unit"};
inline constexpr LocalText kProgram{u"Programm", u"Program"};
inline constexpr LocalText kDateTime{u"Datum und Uhrzeit", u"Date and time"};
inline constexpr LocalText kLine{u"Leitung", u"Line"};
inline constexpr LocalText kTechnician{u"Techniker", u"Technician"};
inline constexpr LocalText kNotRead{u"nicht gelesen", u"not read"};

// The values.
inline constexpr LocalText kSettings{u"Einstellungen des Geräts", u"Settings of the unit"};
inline constexpr LocalText kAddress{u"Adresse", u"Address"};
inline constexpr LocalText kName{u"Bezeichnung", u"Name"};
inline constexpr LocalText kValue{u"Wert", u"Value"};
inline constexpr LocalText kUnitColumn{u"Einheit", u"Unit"};
inline constexpr LocalText kBefore{u"vorher", u"before"};
// The window's English title of the controller tab is "Conrol settings"; a
// document the owner keeps spells it right.
inline constexpr LocalText kControllerTab{u"Reglereinstellungen", u"Control settings"};
inline constexpr LocalText kParameterFile{u"Parameterdatei", u"Parameter file"};
inline constexpr LocalText kCoil{u"Coil %1", u"Coil %1"};
inline constexpr LocalText kReserved{u"reserviert", u"reserved"};
inline constexpr LocalText kOff{u"aus", u"off"};
inline constexpr LocalText kOn{u"ein", u"on"};
inline constexpr LocalText kChangedNote{
    u"Fett gesetzt: die vom Schreiben geänderten Werte (%1), jeweils mit ihrem Wert vorher.",
    u"In bold: the values the write changed (%1), each with its value before."};
inline constexpr LocalText kSessionNote{
    u"Fett gesetzt: die in dieser Sitzung geschriebenen Werte (%1), jeweils mit ihrem Wert beim ersten Auslesen.",
    u"In bold: the values written in this session (%1), each with its value at the first read-out."};
inline constexpr LocalText kNothingChanged{u"Das Schreiben hat keinen Wert geändert.",
                                           u"The write changed no value."};

// The result.
inline constexpr LocalText kResult{u"Ergebnis", u"Result"};
inline constexpr LocalText kVerifiedWrite{
    u"geprüft – nach dem Schreiben zurückgelesen, alle Werte gleichen der Parameterdatei %1.",
    u"verified – read back after the write, every value equals the parameter file %1."};
inline constexpr LocalText kVerifiedRead{
    u"geprüft – ausgelesen, alle Werte gleichen der Parameterdatei %1.",
    u"verified – read out, every value equals the parameter file %1."};
inline constexpr LocalText kDiffered{
    u"NICHT BESTANDEN – %1 Werte des Geräts weichen von der Parameterdatei %2 ab.",
    u"FAILED – %1 values of the unit differ from the parameter file %2."};
inline constexpr LocalText kDifferedOne{
    u"NICHT BESTANDEN – 1 Wert des Geräts weicht von der Parameterdatei %1 ab.",
    u"FAILED – 1 value of the unit differs from the parameter file %1."};
inline constexpr LocalText kFailed{u"NICHT BESTANDEN – %1", u"FAILED – %1"};
inline constexpr LocalText kAsRead{u"Werte wie aus dem Gerät ausgelesen am %1.",
                                   u"Values as read out of the unit on %1."};
inline constexpr LocalText kNoValues{u"Vom Gerät liegen keine gültigen Werte vor.",
                                     u"No valid values of the unit are at hand."};
inline constexpr LocalText kDifferences{u"Abweichungen", u"Differences"};
inline constexpr LocalText kFileLine{u"Zeile", u"Line"};
inline constexpr LocalText kFileValue{u"Datei", u"File"};
inline constexpr LocalText kUnitValue{u"Gerät", u"Unit"};
inline constexpr LocalText kSignature{u"Datum, Unterschrift", u"Date, signature"};
inline constexpr LocalText kNotWritten{u"Das Protokoll wurde nicht geschrieben: %1",
                                       u"The record was not written: %1"};

}  // namespace rbx14::record::words
