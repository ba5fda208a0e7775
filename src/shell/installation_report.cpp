#include "shell/installation_report.h"

#include "base/globals.h"
#include "shell/document_opener.h"
#include "shell/localisation.h"

#include <QFileInfo>

namespace rbx14 {
namespace {

QString OrMissing(const QString& value) {
  return value.isEmpty() ? QStringLiteral("(missing)") : value;
}

}  // namespace

InstallationReport ReadInstallation(const Settings& settings) {
  Globals g;
  SetLanguage(g, settings);
  InstallationReport report;
  report.installPath = g.sInstallPath;
  report.language = g.sLanguage;
  report.version = g.sVersion;
  report.helpDocument = PlatformPath(g.sInstallPath + g.sHelpDoc);
  report.helpDocumentFound = QFileInfo(report.helpDocument).isFile();
  return report;
}

QString FormatInstallationReport(const InstallationReport& report) {
  return QStringLiteral("Installation folder (Pfad): %1\n"
                        "Installed version (Version): %2\n"
                        "Language: %3\n"
                        "Help document: %4 (%5)")
      .arg(OrMissing(report.installPath), OrMissing(report.version), report.language,
           report.helpDocument,
           report.helpDocumentFound ? QStringLiteral("found") : QStringLiteral("not found"));
}

}  // namespace rbx14
