#include "shell/settings_files.h"

#include <QDir>
#include <QStringList>

namespace rbx14 {
namespace {

const QString kRelativePath = QStringLiteral("rbx14-config/rbx14-config.ini");

}  // namespace

QString SystemSettingsFile() {
  const QStringList dirs =
      qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
  const QString base = dirs.isEmpty() ? QStringLiteral("/etc/xdg") : dirs.first();
  return base + u'/' + kRelativePath;
}

QString UserSettingsFile() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return base + u'/' + kRelativePath;
}

}  // namespace rbx14
