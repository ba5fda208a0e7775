#include "shell/settings.h"

#include "shell/registry.h"
#include "shell/settings_files.h"

#include <QRegularExpression>
#include <QSettings>

namespace rbx14 {
namespace {

void ReadPortsSection(const QString& file, QMap<int, QString>& into) {
  static const QRegularExpression kComKey(QStringLiteral("^COM([0-9]{1,3})$"),
                                          QRegularExpression::CaseInsensitiveOption);
  QSettings store(file, QSettings::IniFormat);
  store.beginGroup(QStringLiteral("Ports"));
  const QStringList keys = store.childKeys();
  for (const QString& key : keys) {
    const auto match = kComKey.match(key);
    if (!match.hasMatch()) continue;
    const QString path = store.value(key).toString().trimmed();
    if (!path.isEmpty()) into[match.captured(1).toInt()] = path;
  }
  store.endGroup();
}

}  // namespace

Settings ReadSettings() {
  const CRegistry store;
  Settings settings;
  settings.installPath = store.MachineSetting(kProductSection, QStringLiteral("Pfad"));
  settings.language = store.MachineSetting(kProductSection, QStringLiteral("Language"));
  settings.version = store.MachineSetting(kProductSection, QStringLiteral("Version"));
  settings.decimalSep = store.Werte(kInternationalSection, QStringLiteral("sDecimal"));
  ReadPortsSection(SystemSettingsFile(), settings.ports);
  ReadPortsSection(UserSettingsFile(), settings.ports);
  return settings;
}

}  // namespace rbx14
