#pragma once
// Texts of the window in both languages. German is the design language; an
// English text of nullptr keeps the German one.

#include <QString>

#include <array>
#include <utility>

namespace rbx14::texts {

struct LocalText {
  const char16_t* de;
  const char16_t* en;  // nullptr: the German text in both languages

  QString in(bool english) const {
    return QString::fromUtf16(english && en != nullptr ? en : de);
  }
};

inline constexpr LocalText kMainWindowTitle{u"RBX14-RS485-Modbus Configuration Software", nullptr};
inline constexpr LocalText kCommWarning{u"Kommunikationsprobleme, bitte Einstellungen überprüfen!",
                                        u"Communication problems, please check your settings!"};
inline constexpr LocalText kPollCaption{u"Ausgaberegister lesen:", u"Poll Output Register:"};
inline constexpr LocalText kReadOutButton{u"Abbrechen", u"Cancel"};
inline constexpr LocalText kSetParameterButton{u"Übernehmen", u"Apply"};
inline constexpr LocalText kFrameParameter{u"Parameter", nullptr};
inline constexpr LocalText kFrameKeys{u"Tasten", nullptr};

// Captions of the serial settings (lbl_parameter, the same in both
// languages): by the index of the list they name, and 3 for the address.
inline const std::array<std::pair<int, QString>, 5> kPortListCaptions{{
    {0, QStringLiteral("COM-Port")},
    {1, QStringLiteral("Baudrate")},
    {2, QStringLiteral("Parity")},
    {3, QStringLiteral("Modbus address")},
    {5, QStringLiteral("Mode")},
}};

// The status line's note on a port that is a network line.
inline constexpr LocalText kStatusNetwork{
    u"Netzwerk-Gateway: Baudrate und Parität stellt der Gateway ein.",
    u"Network gateway: baud rate and parity are set on the gateway."};

// Messages of the link. The second is German in both languages.
inline const QString kPortNotAvailable = QStringLiteral("COM-Port not available, ");
inline const QString kPortNotOpen = QStringLiteral("Port ist nicht geöffnet");
// The open port failed underneath (a USB adapter pulled out): the link has
// stopped the jobs and closed the port.
inline constexpr LocalText kPortLost{
    u"Die Verbindung zum COM-Port ist abgebrochen (Adapter entfernt?). Der Port wurde "
    u"geschlossen; bitte wieder öffnen, sobald der Adapter zurück ist.",
    u"The connection to the COM port was lost (adapter removed?). The port has been closed; "
    u"open it again once the adapter is back."};

// The state window. The design text of its label is the English one; the
// German text is set when the window loads.
inline constexpr LocalText kStateTitle{u"Status", u"State"};
inline constexpr LocalText kStateWaiting{u"Warten ...", u"Waiting ..."};
inline constexpr LocalText kStateCancel{u"Abbruch", u"Cancel"};
inline constexpr LocalText kStateClose{u"Schließen", nullptr};
inline const QString kStateInvalid = QStringLiteral("Invalid state");

// Menus.
inline constexpr LocalText kMenuFile{u"&Datei", u"File"};
inline constexpr LocalText kMenuLoad{u"&Parameter laden", u"Load parameters"};
inline constexpr LocalText kMenuSave{u"&Parameter speichern", u"Save parameters"};
inline constexpr LocalText kMenuRecord{u"&Inbetriebnahmeprotokoll speichern...",
                                        u"Save commissioning record..."};
inline constexpr LocalText kMenuExit{u"&Beenden", u"Exit"};
inline constexpr LocalText kMenuAbout{u"&Über", u"About"};
inline constexpr LocalText kMenuHelp{u"&Hilfe", u"Help"};
inline constexpr LocalText kMenuTools{u"E&xtras", u"Tools"};
inline constexpr LocalText kMenuFastLink{u"&Schnelle Verbindung", u"Fast link"};
inline constexpr LocalText kMenuScanBus{u"Bus durchsuchen...", u"Scan bus..."};
inline constexpr LocalText kMenuTraffic{u"&Busverkehr...", u"Bus traffic..."};
inline constexpr LocalText kMenuTrend{u"&Verlauf der Ausgaberegister...", u"Output register &trend..."};

// Help, when the register manual cannot be shown.
inline constexpr LocalText kHelpMissing{u"Die Hilfe kann nicht angezeigt werden: die Datei \"%1\" fehlt.",
                                        u"Cannot show the help: the file \"%1\" is missing."};
inline constexpr LocalText kHelpNoViewer{
    u"Die Hilfe \"%1\" kann nicht angezeigt werden: kein Programm zum Anzeigen von PDF-Dateien "
    u"gefunden.",
    u"Cannot show the help \"%1\": no program to show PDF files was found."};

// Closing the window with changes not yet written, or while a transfer runs.
inline constexpr LocalText kDiscardQuestion{
    u"Rot markierte Änderungen sind noch nicht in das Gerät geschrieben, oder eine Übertragung "
    u"läuft. Trotzdem schließen und die Änderungen verwerfen?",
    u"Changes marked red are not yet written to the unit, or a transfer is running. Close anyway "
    u"and discard them?"};

// The status line: what a new user does first, and what the open port means.
inline constexpr LocalText kStatusClosed{
    u"Port geschlossen. COM-Port, Baudrate, Parity, Mode und Modbus address wie am Gerät "
    u"einstellen, dann in der Liste daneben \"open\" wählen: das Gerät wird ausgelesen. "
    u"Ohne Gerät: %1 ist das simulierte Gerät.",
    u"Port closed. Set COM-Port, Baudrate, Parity, Mode and Modbus address as on the unit, then "
    u"choose \"open\" in the list beside them: the unit is read out. Without a unit: %1 is the "
    u"simulated unit."};
inline constexpr LocalText kStatusOpen{
    u"Port offen. Rot markierte Felder sind noch nicht geschrieben; \"Übernehmen\" schreibt sie.",
    u"Port open. Fields marked red are not written yet; \"Apply\" writes them."};

// A transaction that ended without success: how it ended, what the device
// holds from a write and which fields show no device values after a
// read-out.
inline constexpr LocalText kEndNoAnswer{u"ohne Antwort des Geräts", u"without an answer from the device"};
inline constexpr LocalText kEndPortLost{u"mit dem Verlust der Schnittstelle", u"when the port was lost"};
inline constexpr LocalText kEndCancelled{u"durch Abbruch", u"when it was cancelled"};
inline constexpr LocalText kEndOutOfTime{u"nach Ablauf der Zeit", u"when its time ran out"};
inline constexpr LocalText kWriteBrokeOff{
    u"Das Schreiben endete %1: geschrieben: %2; nicht geschrieben: %3.",
    u"The write stopped %1: written: %2; not written: %3."};
inline constexpr LocalText kReadBrokeOff{
    u"Das Lesen endete %1: %2 wurden nicht gelesen: sie zeigen nicht die Werte des Geräts.",
    u"The read-out stopped %1: %2 were not read: they do not show the device's values."};
inline constexpr LocalText kStatusWriteBrokeOff{u"Schreiben unvollständig, nicht geschrieben: %1",
                                                u"Write incomplete, not written: %1"};
inline constexpr LocalText kStatusReadBrokeOff{u"Lesen unvollständig, nicht gelesen: %1",
                                               u"Read-out incomplete, not read: %1"};
inline constexpr LocalText kNothingPart{u"nichts", u"nothing"};
inline constexpr LocalText kPartRegisters{u"Register", u"registers"};
inline constexpr LocalText kPartTextRegisters{u"Textregister", u"text registers"};
inline constexpr LocalText kPartUnitRegisters{u"Einheitenregister", u"unit registers"};
inline constexpr LocalText kPartBits{u"Bits 0-31", u"bits 0-31"};
inline constexpr LocalText kPartInputRegisters{u"Eingaberegister", u"input registers"};
inline constexpr LocalText kPartInputBits{u"Eingangsbits 0-15", u"input bits 0-15"};
inline constexpr LocalText kUnreadConfig{u"Konfigurationsregister %1-59", u"configuration registers %1-59"};
inline constexpr LocalText kUnreadTexts{u"die Anzeigetexte", u"the display texts"};
inline constexpr LocalText kUnreadSomeTexts{u"die Anzeigetexte %1-21", u"display texts %1-21"};
inline constexpr LocalText kUnreadUnits{u"die Einheiten", u"units"};
inline constexpr LocalText kUnreadSomeUnits{u"die Einheiten %1-17", u"units %1-17"};
inline constexpr LocalText kUnreadBits{u"die Bits", u"bits"};
inline constexpr LocalText kUnreadInputValues{u"die Eingabewerte", u"input values"};
inline constexpr LocalText kUnreadInputBits{u"die Eingangsbits", u"input bits"};
inline constexpr LocalText kAnd{u" und ", u" and "};

// The bus scan.
inline constexpr LocalText kScanTitle{u"Bus durchsuchen", u"Scan bus"};
inline constexpr LocalText kScanFrom{u"Adressen von:", u"Addresses from:"};
inline constexpr LocalText kScanTo{u"bis:", u"to:"};
inline constexpr LocalText kScanStart{u"Starten", u"Start"};
inline constexpr LocalText kScanCancel{u"Abbrechen", u"Cancel"};
inline constexpr LocalText kScanOpen{u"Öffnen", u"Open"};
inline constexpr LocalText kScanClose{u"Schließen", u"Close"};
inline constexpr LocalText kScanColumnAddress{u"Adresse", u"Address"};
inline constexpr LocalText kScanColumnType{u"Gerätetyp", u"Device type"};
inline constexpr LocalText kScanColumnCoding{u"Gerätecodierung", u"Device coding"};
inline constexpr LocalText kScanColumnFirmware{u"Firmwareversion", u"Firmware version"};
inline constexpr LocalText kScanColumnDelay{u"Reg. 0x0021: Kühlen Nachstellzeit Tn [min]",
                                            u"Reg. 0x0021: cooling reset time Tn [min]"};
inline constexpr LocalText kScanColumnResponse{u"Min-Response-Time [ms]", u"Minimum response time [ms]"};
inline constexpr LocalText kScanEmptyRange{u"Der Adressbereich %1 bis %2 ist leer.",
                                           u"The address range %1 to %2 is empty."};
inline constexpr LocalText kScanWait{u"Auf Antwort warten [ms]:", u"Wait for an answer [ms]:"};
inline constexpr LocalText kScanColumnSettings{u"Einstellungen", u"Settings"};
inline constexpr LocalText kScanAllSettings{u"Antwortet niemand, alle Einstellungen versuchen",
                                            u"When nobody answers, try every setting"};
inline constexpr LocalText kScanSetting{u"Einstellung %1 von %2: %3", u"Setting %1 of %2: %3"};
inline constexpr LocalText kScanUnknown{u"unbekannt", u"unknown"};
inline constexpr LocalText kScanReady{u"Bereit: %1 Adressen bei %2", u"Ready: %1 addresses at %2"};
inline constexpr LocalText kScanRunning{u"Adresse %1 (%2 von %3) ...", u"Address %1 (%2 of %3) ..."};
inline constexpr LocalText kScanDone{u"Fertig: %1 Geräte gefunden", u"Done: %1 devices found"};
inline constexpr LocalText kScanCancelled{u"Abgebrochen: %1 Geräte gefunden",
                                          u"Cancelled: %1 devices found"};
inline constexpr LocalText kScanLost{u"Die Verbindung ist abgebrochen.",
                                     u"The connection was lost."};

// The bus traffic window: every frame on the line, decoded.
// The trend window: the output registers over time while they are polled.
inline constexpr LocalText kTrendTitle{u"Verlauf der Ausgaberegister", u"Output register trend"};
inline constexpr LocalText kTrendSpan{u"Zeitraum:", u"Time span:"};
inline constexpr LocalText kTrendMinutes{u"letzte %1 min", u"last %1 min"};
inline constexpr LocalText kTrendPause{u"&Anhalten", u"&Pause"};
inline constexpr LocalText kTrendSaveCsv{u"&CSV speichern...", u"Save &CSV..."};
inline constexpr LocalText kTrendSavePng{u"&Bild speichern...", u"Save &image..."};
inline constexpr LocalText kTrendCsvFilter{u"CSV-Datei (*.csv)|*.csv", u"CSV file (*.csv)|*.csv"};
inline constexpr LocalText kTrendPngFilter{u"PNG-Bild (*.png)|*.png", u"PNG image (*.png)|*.png"};
inline constexpr LocalText kTrendValues{u"Angezeigte Werte:", u"Values shown:"};
inline constexpr LocalText kTrendAxisTime{u"Zeit [min]", u"Time [min]"};
inline constexpr LocalText kTrendAxisTemperature{u"Temperatur [°C]", u"Temperature [°C]"};
inline constexpr LocalText kTrendAxisCodes{u"Stufe / Zustand", u"Stage / state"};
inline constexpr LocalText kTrendNoReading{u"Noch keine Messung: \"Ausgaberegister lesen\" ankreuzen.",
                                           u"No reading yet: tick \"Poll Output Register\"."};
inline constexpr LocalText kTrendReadings{u"%1 Messungen", u"%1 readings"};
inline constexpr LocalText kTrendPausedNote{u"Angehalten: die Messungen gehen weiter, das Bild steht.",
                                            u"Paused: readings go on, the chart stands still."};

inline constexpr LocalText kTrafficTitle{u"Busverkehr", u"Bus traffic"};
inline constexpr LocalText kTrafficPause{u"&Anhalten", u"&Pause"};
inline constexpr LocalText kTrafficClear{u"&Leeren", u"&Clear"};
inline constexpr LocalText kTrafficCopy{u"&Kopieren", u"C&opy"};
inline constexpr LocalText kTrafficSave{u"&Speichern...", u"&Save..."};
inline constexpr LocalText kTrafficSaveFilter{u"Textdatei (*.txt)|*.txt", u"Text file (*.txt)|*.txt"};
inline constexpr LocalText kTrafficSaveFailed{u"Die Datei %1 kann nicht geschrieben werden.",
                                              u"Cannot write the file %1."};
inline constexpr LocalText kTrafficPausedNote{
    u"Angehalten: neue Telegramme werden gezählt, aber nicht aufgelistet.",
    u"Paused: new frames are counted but not listed."};
// Counters above the list.
inline constexpr LocalText kTrafficRequests{u"Anfragen: %1", u"Requests: %1"};
inline constexpr LocalText kTrafficAnswers{u"Antworten: %1", u"Answers: %1"};
inline constexpr LocalText kTrafficRepeats{u"Wiederholungen: %1", u"Repeats: %1"};
inline constexpr LocalText kTrafficTimeouts{u"Zeitüberschreitungen: %1", u"Time-outs: %1"};
inline constexpr LocalText kTrafficChecksumErrors{u"Prüfsummenfehler: %1", u"Checksum errors: %1"};
inline constexpr LocalText kTrafficOtherAddresses{u"Andere Adressen: %1", u"Other addresses: %1"};
// Column titles.
inline constexpr LocalText kTrafficColumnTime{u"Zeit [ms]", u"Time [ms]"};
inline constexpr LocalText kTrafficColumnDirection{u"Richtung", u"Direction"};
inline constexpr LocalText kTrafficColumnBytes{u"Bytes", nullptr};
inline constexpr LocalText kTrafficColumnSummary{u"Inhalt", u"Content"};
inline constexpr LocalText kTrafficColumnCheck{u"Prüfung", u"Check"};
// Cells.
inline constexpr LocalText kTrafficSent{u"→ gesendet", u"→ sent"};
inline constexpr LocalText kTrafficReceived{u"← empfangen", u"← received"};
inline constexpr LocalText kTrafficCheckGood{u"%1 gut", u"%1 good"};
inline constexpr LocalText kTrafficCheckBad{u"%1 falsch", u"%1 bad"};
inline constexpr LocalText kTrafficCheckOtherAddress{u"andere Adresse", u"other address"};
// The decoded content of a frame.
inline constexpr LocalText kTrafficAddress{u"Adr. %1", u"Addr. %1"};
inline constexpr LocalText kTrafficReadCoils{u"Spulen lesen", u"Read coils"};
inline constexpr LocalText kTrafficReadInputs{u"Eingänge lesen", u"Read discrete inputs"};
inline constexpr LocalText kTrafficReadHolding{u"Halteregister lesen", u"Read holding registers"};
inline constexpr LocalText kTrafficReadInputRegisters{u"Eingaberegister lesen", u"Read input registers"};
inline constexpr LocalText kTrafficWriteCoil{u"Spule schreiben", u"Write single coil"};
inline constexpr LocalText kTrafficWriteRegister{u"Register schreiben", u"Write single register"};
inline constexpr LocalText kTrafficWriteCoils{u"Spulen schreiben", u"Write multiple coils"};
inline constexpr LocalText kTrafficWriteRegisters{u"Register schreiben (mehrere)",
                                                  u"Write multiple registers"};
inline constexpr LocalText kTrafficUnknownFunction{u"unbekannte Funktion", u"unknown function"};
inline constexpr LocalText kTrafficRegisterRange{u"ab 0x%1, %2 Register", u"from 0x%1, %2 registers"};
inline constexpr LocalText kTrafficBitRange{u"ab 0x%1, %2 Bits", u"from 0x%1, %2 bits"};
inline constexpr LocalText kTrafficExtraByte{u"Zusatzbyte 0x%1", u"extra byte 0x%1"};
inline constexpr LocalText kTrafficByteCount{u"%1 Bytes", u"%1 bytes"};
inline constexpr LocalText kTrafficSingleRegister{u"Register 0x%1 = 0x%2", u"register 0x%1 = 0x%2"};
inline constexpr LocalText kTrafficSingleCoil{u"Spule 0x%1 = %2", u"coil 0x%1 = %2"};
inline constexpr LocalText kTrafficOn{u"EIN", u"ON"};
inline constexpr LocalText kTrafficOff{u"AUS", u"OFF"};
inline constexpr LocalText kTrafficException{u"Ausnahme %1: %2", u"exception %1: %2"};
inline constexpr LocalText kTrafficIllegalFunction{u"unzulässige Funktion", u"illegal function"};
inline constexpr LocalText kTrafficIllegalAddress{u"unzulässige Datenadresse", u"illegal data address"};
inline constexpr LocalText kTrafficIllegalValue{u"unzulässiger Datenwert", u"illegal data value"};
inline constexpr LocalText kTrafficDeviceFailure{u"Gerätefehler", u"device failure"};
inline constexpr LocalText kTrafficUnknownException{u"unbekannt", u"unknown"};
inline constexpr LocalText kTrafficLengthMismatch{u"Länge passt nicht", u"length does not fit"};
inline constexpr LocalText kTrafficUnreadable{u"nicht lesbar", u"not readable"};

}  // namespace rbx14::texts
