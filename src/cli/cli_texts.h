#pragma once
// Texts of the command line in both languages (progress, results, refused
// files). Option help stays English, as in most command-line tools.

#include "base/texts.h"

namespace rbx14::cli_texts {

using texts::LocalText;

inline constexpr LocalText kReading{u"Adresse %1: lesen …", u"address %1: reading …"};
inline constexpr LocalText kReadDone{u"Adresse %1: gelesen in %2 ms", u"address %1: read in %2 ms"};
inline constexpr LocalText kWriting{u"Adresse %1: schreiben …", u"address %1: writing …"};
inline constexpr LocalText kWriteDone{u"Adresse %1: geschrieben und zurückgelesen in %2 ms",
                                      u"address %1: written and read back in %2 ms"};
inline constexpr LocalText kNothingToWrite{
    u"Adresse %1: nichts zu schreiben, Gerät gleicht der Datei",
    u"address %1: nothing to write, the device matches the file"};
inline constexpr LocalText kNoAnswer{u"Adresse %1: keine Antwort", u"address %1: no answer"};
inline constexpr LocalText kStalled{u"Adresse %1: Übertragung abgebrochen",
                                    u"address %1: transfer broken off"};
inline constexpr LocalText kPortFailed{u"Schnittstelle lässt sich nicht öffnen",
                                       u"the port cannot be opened"};
// The port failed underneath during a device: address, error number, the
// window's lost-connection text.
inline constexpr LocalText kPortLost{u"Adresse %1: Schnittstellenfehler %2: %3",
                                     u"address %1: port error %2: %3"};
inline constexpr LocalText kSaved{u"Adresse %1: gespeichert in %2", u"address %1: saved to %2"};
inline constexpr LocalText kNotSaved{u"Adresse %1: Datei %2 nicht geschrieben",
                                     u"address %1: file %2 not written"};
inline constexpr LocalText kVerifyOk{u"Adresse %1: gleicht der Datei",
                                     u"address %1: matches the file"};
inline constexpr LocalText kDifferences{u"Adresse %1: %2 Abweichungen",
                                        u"address %1: %2 differences"};
inline constexpr LocalText kWouldWrite{u"Adresse %1: würde %2 Felder schreiben",
                                       u"address %1: would write %2 fields"};

// The commissioning record of a unit: address, path (and the reason).
inline constexpr LocalText kRecordSaved{u"Adresse %1: Protokoll %2", u"address %1: record %2"};
inline constexpr LocalText kRecordNotSaved{u"Adresse %1: Protokoll nicht geschrieben in %2: %3",
                                           u"address %1: record not written into %2: %3"};
inline constexpr LocalText kRecordFolder{
    u"Protokollordner %1 lässt sich nicht anlegen oder beschreiben",
    u"the record folder %1 cannot be made or written to"};

// A difference: address, file line, caption, file value, device value.
inline constexpr LocalText kDifferenceLine{u"%1: Zeile %2 %3: Datei %4, Gerät %5",
                                           u"%1: line %2 %3: file %4, device %5"};
// A field a write would change: address, file line, caption, device value, file value.
inline constexpr LocalText kChangeLine{u"%1: Zeile %2 %3: Gerät %4 -> Datei %5",
                                       u"%1: line %2 %3: device %4 -> file %5"};

// The bus scan. A found device: address, type code, type name, firmware,
// minimum response time and register 0x0021 (the cooling reset time, which
// the link takes as its delay); the address comes first so that scripts can
// cut it out.
inline constexpr LocalText kScanDevice{u"%1 %2 %3 Firmware %4 Min-Response-Time %5 ms Reg. 0x0021 %6",
                                       u"%1 %2 %3 firmware %4 response time %5 ms reg 0x0021 %6"};
inline constexpr LocalText kScanProgress{u"Bus durchsuchen: %1 von %2 Adressen",
                                         u"scanning: %1 of %2 addresses"};
inline constexpr LocalText kScanSummary{u"%1 Geräte gefunden in %2 s", u"%1 devices found in %2 s"};
// The second stage: a device line with the settings it answered under, and
// the setting being tried.
inline constexpr LocalText kScanDeviceAt{u"%1 bei %2", u"%1 at %2"};
inline constexpr LocalText kScanSetting{u"Einstellung %1 von %2: %3", u"setting %1 of %2: %3"};
// The port failed underneath during the scan: the error number and the
// lost-connection text.
inline constexpr LocalText kScanPortLost{u"Schnittstellenfehler %1: %2", u"port error %1: %2"};
inline constexpr LocalText kScanNothing{u"kein Gerät hat geantwortet", u"no device answered"};

inline constexpr LocalText kReportNotWritten{u"Bericht %1 nicht geschrieben",
                                             u"report %1 not written"};

// Refused files and outputs.
inline constexpr LocalText kFileUnreadable{u"%1: Datei lässt sich nicht lesen (oder ist keine gewöhnliche Datei)",
                                           u"%1: the file cannot be read (or is no regular file)"};
inline constexpr LocalText kRefusedLine{u"%1: %2", u"%1: %2"};
inline constexpr LocalText kOutputIsInput{u"%1: die Ausgabe wäre die Parameterdatei selbst",
                                          u"%1: the output would overwrite the parameter file"};
inline constexpr LocalText kOutputNotRegular{
    u"%1: ist keine gewöhnliche Datei und wird nicht ersetzt",
    u"%1: is no regular file and is not replaced"};
// The file's device type against the unit's: address, line, caption, file, device.
inline constexpr LocalText kOtherDeviceType{
    u"Adresse %1: Zeile %2 %3: Datei %4, Gerät %5; nichts geschrieben (--force-type schreibt trotzdem)",
    u"address %1: line %2 %3: file %4, device %5; nothing written (--force-type writes it anyway)"};
// Register 60 is neither written nor read by the device's blocks.
inline constexpr LocalText kNotTransferred{
    u"Zeile %1 %2: wird weder geschrieben noch zurückgelesen, nicht verglichen",
    u"line %1 %2: is neither written nor read back, not compared"};
// A device text that the file could not give back as read: address, line, caption.
inline constexpr LocalText kUnsavable{
    u"Adresse %1: Zeile %2 %3: Text mit Zeilenumbruch oder Zeichen außerhalb der Codepage, "
    u"nicht gespeichert",
    u"address %1: line %2 %3: text with a line break or a character outside the code page, "
    u"not saved"};
// A dry run: what the write sends besides the changed fields.
inline constexpr LocalText kWouldWriteAll{
    u"Adresse %1: würde %2 Felder ändern; gesendet werden dabei alle Register 0-59, Texte, "
    u"Einheiten und Bits, mit den Werten des Geräts wo die Datei nichts ändert",
    u"address %1: would change %2 fields; the write sends all of registers 0-59, the texts, "
    u"units and bits, with the device's values where the file changes nothing"};
// A signal arrived: what the device holds now.
inline constexpr LocalText kStopped{u"Adresse %1: abgebrochen durch Signal; geschrieben: %2; "
                                    u"nicht geschrieben: %3",
                                    u"address %1: stopped by a signal; written: %2; "
                                    u"not written: %3"};
inline constexpr LocalText kStoppedReading{u"Adresse %1: abgebrochen durch Signal, nichts geschrieben",
                                           u"address %1: stopped by a signal, nothing written"};
inline constexpr LocalText kStoppedBefore{u"abgebrochen durch Signal, bevor Adresse %1 begann",
                                          u"stopped by a signal before address %1 began"};
inline constexpr LocalText kNothing{u"nichts", u"nothing"};
inline constexpr LocalText kMonitoring{u"Adresse %1: Ausgaberegister lesen, Ende mit Strg+C",
                                       u"address %1: polling the output registers, Ctrl+C ends"};
inline constexpr LocalText kMonitorEnd{u"Adresse %1: %2 Messungen", u"address %1: %2 readings"};

}  // namespace rbx14::cli_texts
