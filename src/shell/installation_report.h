#pragma once
// What the installation left for the window, taken from the settings the
// way the window takes it: the installation folder, the language, the version and the help
// document that Help opens. `rbx14-config --version` prints it, so an
// administrator sees at once whether the machine's settings are in place.

#include "shell/settings.h"

#include <QString>

namespace rbx14 {

struct InstallationReport {
  QString installPath;   // "Pfad"; empty when the installation left none
  QString language;      // "1031" or "1033", after the window's own defaulting
  QString version;       // "Version"; empty when missing
  QString helpDocument;  // the file Help opens
  bool helpDocumentFound = false;
};

InstallationReport ReadInstallation(const Settings& settings);

// The lines `--version` prints below the program's own version.
QString FormatInstallationReport(const InstallationReport& report);

}  // namespace rbx14
