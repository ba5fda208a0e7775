#pragma once
// What the settings store holds for the program. ReadSettings is the one
// place that reads the store: the front end reads it at the start and hands
// the value to the session and the port routing; the window program reads
// it again where it always has (each state window, the about box, a save).

#include <QMap>
#include <QString>

namespace rbx14 {

struct Settings {
  // The machine's values under the product section, each exactly as it
  // stands (empty when missing).
  QString installPath;  // "Pfad"
  QString language;     // "Language"
  QString version;      // "Version"
  // The user's decimal separator, "sDecimal" under the international section.
  QString decimalSep;
  // The "Ports" section of either file: COMn -> device path, the user's
  // entry over the machine's.
  QMap<int, QString> ports;
};

Settings ReadSettings();

}  // namespace rbx14
