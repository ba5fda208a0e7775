#pragma once
// The simulated devices behind a network gateway, on a TCP port: as a serial
// device server (the mode's frames through the connection unchanged) or as a
// Modbus TCP gateway (each MBAP request goes to the line as an RTU frame, the
// answer comes back under the request's transaction identifier). The line
// behind keeps its timing; one client at a time, a newer one takes over.

#include "base/timer.h"
#include "sim/paced_line.h"
#include "sim/simulated_device.h"

#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdint>
#include <deque>

namespace rbx14::sim {

class TcpServer {
 public:
  enum class Kind { RawTcp, ModbusTcp };

  TcpServer(Scheduler& scheduler, LineDevice& device, Kind kind);
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Listens on host:port (port 0: a free one); on failure returns false
  // with a reason.
  bool listen(const QHostAddress& host, quint16 port, QString* error);
  // The name a client gives as its port, e.g. mbtcp://127.0.0.1:5502.
  QString portName() const;

 private:
  void accept();
  void readFromClient();
  void toLine(const QByteArray& bytes);
  void fromLine(const QByteArray& bytes);

  LineDevice& device_;
  Kind kind_;
  QTcpServer server_;
  QTcpSocket* client_ = nullptr;
  std::int64_t requestLineFreeUs_ = 0;
  PacedLine toClient_;
  QByteArray requests_;          // Modbus TCP: bytes of requests not yet whole
  QByteArray answer_;            // Modbus TCP: bytes of the answer so far
  std::deque<QByteArray> awaiting_;  // transaction identifiers sent to the line
};

}  // namespace rbx14::sim
