#include "link/port_map.h"

namespace rbx14 {

QString PortMap::devicePath(int commPort) const {
  const auto it = overrides_.constFind(commPort);
  if (it != overrides_.constEnd()) return *it;
  return QStringLiteral("/dev/ttyS%1").arg(commPort - 1);
}

bool PortMap::isBuiltInDevice(int commPort) const {
  return devicePath(commPort).compare(kBuiltInDevice, Qt::CaseInsensitive) == 0;
}

}  // namespace rbx14
