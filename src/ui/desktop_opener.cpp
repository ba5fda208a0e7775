#include "ui/desktop_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace rbx14 {

bool DesktopOpener::open(const QString& target) {
  const bool isUrl = target.startsWith(u"mailto:") || target.contains(u"://");
  return QDesktopServices::openUrl(isUrl ? QUrl(target) : QUrl::fromLocalFile(target));
}

}  // namespace rbx14
