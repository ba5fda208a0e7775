#pragma once
// Which port numbers the program offers and what serves each: COM1..COM40
// as the port map says, then the system's own serial ports that none of
// those already names, then the built-in simulated device. A port the map
// sets to "simulator" is the built-in device too.

#include "link/port_map.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace rbx14 {

struct SystemPort {
  QString path;  // e.g. /dev/ttyUSB0
};

// The serial ports the system reports (QSerialPortInfo).
std::vector<SystemPort> AvailableSystemPorts();

class PortRouting {
 public:
  static constexpr int kComPortCount = 40;

  PortRouting(PortMap map, const std::vector<SystemPort>& systemPorts, QString builtInName);

  // The port map with the system ports added as numbers 41, 42, ...
  const PortMap& map() const { return map_; }
  // The port list's entries after COM40.
  QStringList namesBeyondCom40() const;
  bool isBuiltIn(int commPort) const;
  int builtInNumber() const { return builtInNumber_; }

 private:
  PortMap map_;
  QStringList systemPaths_;
  QString builtInName_;
  int builtInNumber_;
};

}  // namespace rbx14
