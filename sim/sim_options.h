#pragma once
// The command line of rbx14-sim: line mode and settings, the device's
// address and response delay, faults with their seed, the link path and the
// hex log. Bad options give a message, never a crash.

#include "link/serial_port.h"
#include "sim/simulated_device.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace rbx14::sim {

struct SimOptions {
  DeviceSettings device;  // its address is the first of addresses
  std::vector<int> addresses{1};  // one device per address on the line
  PortSettings line{9600, 'E', 8, 1};
  QString linkPath;  // empty: no symbolic link
  QString imageFile;  // a parameter file every device starts with; empty: factory values
  bool log = false;
  // Serve on a TCP port instead of a pseudo-terminal: as a serial device
  // server (the mode's frames) or as a Modbus TCP gateway. Port 0 picks one.
  enum class Network { None, RawTcp, ModbusTcp };
  Network network = Network::None;
  QString host = QStringLiteral("127.0.0.1");
  int port = 0;
};

struct ParsedSimOptions {
  std::optional<SimOptions> options;  // empty: print message, exit with exitCode
  QString message;
  int exitCode = 0;
};

// arguments includes the program name first, as QCoreApplication gives it.
ParsedSimOptions ParseSimOptions(const QStringList& arguments);

}  // namespace rbx14::sim
