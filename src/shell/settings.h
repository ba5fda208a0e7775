#pragma once
// What the settings store holds for the program, read once at the start by
// the front end and handed to the session and the port routing. A changed
// settings file takes effect at the next start.

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
