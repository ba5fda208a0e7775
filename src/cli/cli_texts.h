#pragma once
// Texts of the command line in both languages (progress, results, refused
// files). Option help stays English, as in most command-line tools.

#include "shell/texts.h"

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

// Refused files: the line number comes first.
inline constexpr LocalText kFileUnreadable{u"%1: Datei lässt sich nicht lesen",
                                           u"%1: the file cannot be read"};
inline constexpr LocalText kFileShort{
    u"%1: Zeile %2: Datei endet hier, eine Parameterdatei hat %3 Zeilen",
    u"%1: line %2: the file ends here, a parameter file has %3 lines"};
inline constexpr LocalText kNoSeparators{u"%1: Zeile %2: zwei \";\" fehlen",
                                         u"%1: line %2: the two \";\" separators are missing"};
inline constexpr LocalText kBadBit{u"%1: Zeile %2: ein Bit ist 0 oder 1, nicht \"%3\"",
                                   u"%1: line %2: a bit is 0 or 1, not \"%3\""};

}  // namespace rbx14::cli_texts
