#pragma once
// Which device a port number means. COMn is /dev/ttyS(n-1) unless the
// settings map it elsewhere ("Ports" section, e.g. COM1=/dev/ttyUSB0): a
// USB-RS485 adapter usually appears as /dev/ttyUSB0 or /dev/ttyACM0.

#include "shell/settings.h"

#include <QMap>
#include <QString>

namespace rbx14 {

class PortMap {
 public:
  static inline const QString kBuiltInDevice = QStringLiteral("simulator");

  PortMap() = default;
  explicit PortMap(QMap<int, QString> overrides) : overrides_(std::move(overrides)) {}

  // The "Ports" section of the settings.
  static PortMap fromSettings(const Settings& settings) { return PortMap(settings.ports); }

  QString devicePath(int commPort) const;
  // Whether the settings map the port to the built-in simulated device.
  bool isBuiltInDevice(int commPort) const;
  void setOverride(int commPort, const QString& path) { overrides_[commPort] = path; }

 private:
  QMap<int, QString> overrides_;
};

}  // namespace rbx14
