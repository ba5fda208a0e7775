#include "link/port_routing.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSet>

namespace rbx14 {
namespace {

// The same device under two names (a /dev/serial/by-id link and its target)
// is one port.
QString Canonical(const QString& path) {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  return canonical.isEmpty() ? path : canonical;
}

}  // namespace

std::vector<SystemPort> AvailableSystemPorts() {
  std::vector<SystemPort> out;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    out.push_back({info.systemLocation()});
  }
  return out;
}

PortRouting::PortRouting(PortMap map, const std::vector<SystemPort>& systemPorts, QString builtInName)
    : map_(std::move(map)), builtInName_(std::move(builtInName)) {
  QSet<QString> named;
  for (int n = 1; n <= kComPortCount; ++n) {
    if (!map_.isBuiltInDevice(n)) named.insert(Canonical(map_.devicePath(n)));
  }
  for (const SystemPort& port : systemPorts) {
    const QString canonical = Canonical(port.path);
    if (named.contains(canonical)) continue;
    named.insert(canonical);
    systemPaths_ << port.path;
    map_.setOverride(kComPortCount + static_cast<int>(systemPaths_.size()), port.path);
  }
  builtInNumber_ = kComPortCount + static_cast<int>(systemPaths_.size()) + 1;
}

QStringList PortRouting::namesBeyondCom40() const { return systemPaths_ + QStringList{builtInName_}; }

bool PortRouting::isBuiltIn(int commPort) const {
  return commPort == builtInNumber_ || (commPort <= kComPortCount && map_.isBuiltInDevice(commPort));
}

}  // namespace rbx14
