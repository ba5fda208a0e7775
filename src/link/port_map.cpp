#include "link/port_map.h"

#include "shell/settings_files.h"

#include <QRegularExpression>
#include <QSettings>

namespace rbx14 {
namespace {

void ReadPortsSection(QSettings& store, QMap<int, QString>& into) {
  static const QRegularExpression kComKey(QStringLiteral("^COM([0-9]{1,3})$"),
                                          QRegularExpression::CaseInsensitiveOption);
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

PortMap PortMap::fromSettings() {
  QMap<int, QString> overrides;
  QSettings system(SystemSettingsFile(), QSettings::IniFormat);
  ReadPortsSection(system, overrides);
  QSettings user(UserSettingsFile(), QSettings::IniFormat);
  ReadPortsSection(user, overrides);
  return PortMap(std::move(overrides));
}

QString PortMap::devicePath(int commPort) const {
  const auto it = overrides_.constFind(commPort);
  if (it != overrides_.constEnd()) return *it;
  return QStringLiteral("/dev/ttyS%1").arg(commPort - 1);
}

bool PortMap::isBuiltInDevice(int commPort) const {
  return devicePath(commPort).compare(kBuiltInDevice, Qt::CaseInsensitive) == 0;
}

}  // namespace rbx14
