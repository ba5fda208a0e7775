#include "ui/desktop_opener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace rbx14 {

namespace {

// Whether the desktop names a program for the file's type. The desktop
// starts its opener detached and reports success even when that opener
// then finds nothing to show the file with; asking first tells the user.
bool DesktopHasViewerFor(const QString& path) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  const QString type = QMimeDatabase().mimeTypeForFile(path).name();
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!query.waitForStarted(2000)) return false;  // no desktop opener at all
  if (!query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished(1000);
    return true;  // no answer in time: let the desktop try
  }
  return !query.readAllStandardOutput().trimmed().isEmpty();
#else
  Q_UNUSED(path);
  return true;
#endif
}

}  // namespace

bool DesktopOpener::open(const QString& target) {
  const bool isUrl = target.startsWith(u"mailto:") || target.contains(u"://");
  if (isUrl) return QDesktopServices::openUrl(QUrl(target));
  if (!QFileInfo::exists(target) || !DesktopHasViewerFor(target)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

}  // namespace rbx14
