#include "shell/registry.h"

#include "shell/settings_files.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace rbx14 {
namespace {

enum class Root { Machine, User };

// "A\B\C\" -> "A/B/C", the form QSettings uses for nested groups.
QString GroupPath(const QString& section) {
  QString path = section;
  path.replace(u'\\', u'/');
  while (path.endsWith(u'/')) path.chop(1);
  return path;
}

QString QueryStringValue(Root root, const QString& section, const QString& key) {
#ifdef Q_OS_WIN
  const QString rootName = root == Root::Machine ? QStringLiteral("HKEY_LOCAL_MACHINE\\")
                                                 : QStringLiteral("HKEY_CURRENT_USER\\");
  QSettings store(rootName + section, QSettings::NativeFormat);
  const QVariant value = store.value(key);
#else
  QSettings store(root == Root::Machine ? SystemSettingsFile() : UserSettingsFile(),
                  QSettings::IniFormat);
  const QString group = GroupPath(section);
  const QVariant value = store.value(group.isEmpty() ? key : group + u'/' + key);
#endif
  switch (value.typeId()) {
    case QMetaType::QString:
      return CRegistry::StripAtNull(value.toString());
    case QMetaType::QStringList:
      // An INI value with commas is read as a list; it was one text.
      return CRegistry::StripAtNull(value.toStringList().join(u','));
    default:
      return {};  // missing, or a value of another type
  }
}

}  // namespace

QString CRegistry::StripAtNull(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(0));
  return nul < 0 ? text : text.left(nul);
}

QString CRegistry::MachineSetting(const QString& sSection, const QString& sKey) const {
  return QueryStringValue(Root::Machine, sSection, sKey);
}

QString CRegistry::Werte(const QString& sSection, const QString& sKey) const {
  return QueryStringValue(Root::User, sSection, sKey);
}

}  // namespace rbx14
