#pragma once
// The manual's own words in German and English: headings, column titles and
// the sentences that explain the tables.

#include "base/texts.h"

#include <array>

namespace rbx14::manual::words {

using texts::LocalText;

inline constexpr LocalText kTitle{u"RBX14 RS485 Modbus", nullptr};
inline constexpr LocalText kSubtitle{u"Registerbeschreibung MS_1 – Raumbediengerät RBX14",
                                     u"Register description MS_1 – RBX14 room operating unit"};
inline constexpr LocalText kVersion{u"Ausgabe für Konfigurationssoftware Version %1",
                                    u"Issued with configuration software version %1"};
inline constexpr LocalText kContents{u"Inhalt", u"Contents"};

// Chapters, in their order in the manual.
inline constexpr LocalText kOverview{u"Übersicht", u"Overview"};
inline constexpr LocalText kConfigRegisters{u"Konfigurationsregister (Holding Register)",
                                            u"Configuration registers (holding registers)"};
inline constexpr LocalText kTexts{u"Display- und Einheitentexte", u"Display and unit texts"};
inline constexpr LocalText kConfigBits{u"Konfigurationsbits (Coils)", u"Configuration bits (coils)"};
inline constexpr LocalText kInputBits{u"Eingangsbits (Coils)", u"Input bits (coils)"};
inline constexpr LocalText kInputRegisters{u"Eingaberegister", u"Input registers"};
inline constexpr LocalText kOutputRegisters{u"Ausgaberegister", u"Output registers"};

inline constexpr LocalText kOverviewText1{
    u"Das RBX14 ist ein Modbus-Slave am RS485-Bus. Es arbeitet wahlweise im Übertragungsmodus "
    u"Modbus RTU (CRC-16) oder Modbus ASCII (LRC); Baudrate, Parität und Slave-Adresse werden am "
    u"Gerät eingestellt.",
    u"The RBX14 is a Modbus slave on the RS485 bus. It works in Modbus RTU (CRC-16) or Modbus "
    u"ASCII (LRC) transmission mode; baud rate, parity and slave address are set on the device."};
inline constexpr LocalText kOverviewText2{
    u"Verwendete Funktionen: 01 (Coils lesen), 03 (Register lesen), 0F (mehrere Coils schreiben) "
    u"und 10 (mehrere Register schreiben). Alle Adressen in diesem Dokument sind Protokolladressen "
    u"(ab 0), hexadezimal geschrieben.",
    u"Functions used: 01 (read coils), 03 (read registers), 0F (write multiple coils) and 10 "
    u"(write multiple registers). All addresses in this document are protocol addresses (from 0), "
    u"written in hexadecimal."};
inline constexpr LocalText kOverviewText3{
    u"Werte mit Skalierung ×10 werden als Zehntel übertragen: der Registerwert ist der angezeigte "
    u"Wert mal zehn. Vorzeichenbehaftete Werte stehen im Zweierkomplement (16 Bit).",
    u"Values with scaling ×10 are transferred in tenths: the register value is the shown value "
    u"times ten. Signed values are 16-bit two's complement."};

inline constexpr LocalText kAreaTable{u"Adressbereiche", u"Address areas"};
inline constexpr LocalText kArea{u"Bereich", u"Area"};
inline constexpr LocalText kFunctions{u"Funktionen", u"Functions"};
inline constexpr LocalText kAccess{u"Zugriff", u"Access"};
inline constexpr LocalText kReadWrite{u"lesen / schreiben", u"read / write"};
inline constexpr LocalText kWriteOnly{u"schreiben", u"write"};
inline constexpr LocalText kReadOnlyAccess{u"lesen", u"read"};

// Column titles.
inline constexpr LocalText kAddress{u"Adresse", u"Address"};
inline constexpr LocalText kName{u"Bezeichnung", u"Name"};
inline constexpr LocalText kRange{u"Bereich", u"Range"};
inline constexpr LocalText kStep{u"Schritt", u"Step"};
inline constexpr LocalText kUnit{u"Einheit", u"Unit"};
inline constexpr LocalText kScaling{u"Skalierung", u"Scaling"};
inline constexpr LocalText kValues{u"Werte", u"Values"};
inline constexpr LocalText kMeaning{u"Bedeutung", u"Meaning"};
inline constexpr LocalText kRegisters{u"Register", u"Registers"};
inline constexpr LocalText kCharacters{u"Zeichen", u"Characters"};
inline constexpr LocalText kBitClear{u"Bit = 0", nullptr};
inline constexpr LocalText kBitSet{u"Bit = 1", nullptr};

// Cells.
inline constexpr LocalText kReadOnly{u"nur lesen", u"read only"};
inline constexpr LocalText kReserved{u"reserviert", u"reserved"};
inline constexpr LocalText kFree{u"frei", u"free"};
inline constexpr LocalText kOff{u"aus", u"off"};
inline constexpr LocalText kOn{u"ein", u"on"};
inline constexpr LocalText kSymbolOff{u"Symbol aus", u"symbol off"};
inline constexpr LocalText kSymbolOn{u"Symbol ein", u"symbol on"};
inline constexpr LocalText kTenths{u"×10", nullptr};
inline constexpr LocalText kSigned{u"mit Vorzeichen", u"signed"};
inline constexpr LocalText kUnsigned{u"ohne Vorzeichen", u"unsigned"};
inline constexpr LocalText kCodes{u"Codes", nullptr};
inline constexpr LocalText kSameCodes{u"Codes wie %1", u"codes as at %1"};
inline constexpr LocalText kOtherGroup{u"Reserviert", u"Reserved"};
inline constexpr LocalText kWriteOnlyNote{u"wird nur geschrieben", u"written only"};
inline constexpr LocalText kNoValue{u"%1 (0x7FFF) = kein Messwert", u"%1 (0x7FFF) = no value"};
inline constexpr LocalText kTextChars{u"%1 (angezeigt %2)", u"%1 (%2 shown)"};
inline constexpr LocalText kKeys{u"Bedientasten 4…1 in Bit 3…0", u"Push-buttons 4…1 in bits 3…0"};
inline constexpr LocalText kKeys2{u"Bedientasten, weiteres Register", u"Push-buttons, further register"};
inline constexpr LocalText kByDevice{u"je Gerät: %1", u"per device: %1"};
inline constexpr LocalText kTextNote{
    u"Zwei Zeichen je Register, das erste im höherwertigen Byte; Zeichensatz Windows-1252; "
    u"ungenutzte Zeichen sind 0. Ein Displaytext belegt 10 Register, ein Einheitentext 2.",
    u"Two characters per register, the first in the high byte; character set Windows-1252; "
    u"unused characters are 0. A display text takes 10 registers, a unit text 2."};
inline constexpr LocalText kDisplayTexts{u"Displaytexte", u"Display texts"};
inline constexpr LocalText kUnitTexts{u"Einheitentexte", u"Unit texts"};
inline constexpr LocalText kInputBitNote{
    u"Die Eingangsbits schalten Symbole des Displays von außen.",
    u"The input bits switch display symbols from outside."};
inline constexpr LocalText kInputRegisterNote{
    u"Die Eingaberegister übergeben dem Gerät Uhrzeit, externe Werte, Sollwertverschiebungen, "
    u"Lüfterstufe, Raumbelegung, Alarme, Reglerbetrieb und Analogausgänge. Ab 0x0207 können sie "
    u"zurückgelesen werden.",
    u"The input registers give the device the clock, external values, setpoint offsets, fan "
    u"stage, room occupancy, alarms, controller mode and analogue outputs. From 0x0207 on they "
    u"can be read back."};
inline constexpr LocalText kOutputRegisterNote{
    u"Die Ausgaberegister melden den Zustand des Geräts; sie werden nur gelesen.",
    u"The output registers report the device's state; they are read only."};

// The clock and date input registers, which carry no caption in the window.
inline constexpr std::array<LocalText, 7> kClockFields{{
    {u"Uhrzeit: Sekunde", u"Time: second"},
    {u"Uhrzeit: Minute", u"Time: minute"},
    {u"Uhrzeit: Stunde", u"Time: hour"},
    {u"Datum: Tag", u"Date: day"},
    {u"Datum: Monat", u"Date: month"},
    {u"Datum: Jahr (zweistellig)", u"Date: year (two digits)"},
    {u"Datum: weiteres Feld", u"Date: further field"},
}};

}  // namespace rbx14::manual::words
