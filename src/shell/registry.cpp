#include "shell/registry.h"

#include "shell/settings_files.h"

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace rbx14 {
namespace {

enum class Root { Machine, User };

#ifndef Q_OS_WIN
// A section as a registry key path compares without its trailing
// backslashes and without regard to case, as the registry's keys do:
// "[A\B\]" and "[a\b]" are the same section.
QString KeyPath(QString section) {
  while (section.endsWith(u'\\') || section.endsWith(u'/')) section.chop(1);
  return section.replace(u'/', u'\\').toCaseFolded();
}

// The value as the INI file holds it, character for character: no list
// splitting at commas, no ";" comments after a value, no escapes, no
// trimming. A whole line beginning with ";" or "#" is a comment. A value
// written in QSettings' typed form ("@Variant(...)") is no string.
std::optional<QString> IniValue(const QString& path, const QString& section, const QString& key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QString wanted = KeyPath(section);
  bool inSection = false;
  for (QByteArray raw : file.readAll().split('\n')) {
    if (raw.endsWith('\r')) raw.chop(1);
    const QString line = QString::fromUtf8(raw);
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#')) continue;
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
      inSection = KeyPath(trimmed.mid(1, trimmed.size() - 2)) == wanted;
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (!inSection || equals < 0) continue;
    if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0) continue;
    const QString value = line.mid(equals + 1);
    if (value.startsWith(QStringLiteral("@Variant(")) || value.startsWith(QStringLiteral("@ByteArray("))) {
      return std::nullopt;
    }
    return value;
  }
  return std::nullopt;
}
#endif

QString QueryStringValue(Root root, const QString& section, const QString& key) {
#ifdef Q_OS_WIN
  const QString rootName = root == Root::Machine ? QStringLiteral("HKEY_LOCAL_MACHINE\\")
                                                 : QStringLiteral("HKEY_CURRENT_USER\\");
  QSettings store(rootName + section, QSettings::NativeFormat);
  const QVariant value = store.value(key);
  if (value.typeId() != QMetaType::QString) return {};  // missing, or of another type
  return CRegistry::StripAtNull(value.toString());
#else
  const auto value =
      IniValue(root == Root::Machine ? SystemSettingsFile() : UserSettingsFile(), section, key);
  return value ? CRegistry::StripAtNull(*value) : QString();
#endif
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
