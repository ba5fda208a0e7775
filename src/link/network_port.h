#pragma once
// A line behind an Ethernet gateway, named in the port map like a device:
// - "tcp://HOST:PORT": a serial device server; the mode's frames go through
//   the connection byte for byte, both ways.
// - "mbtcp://HOST:PORT": a Modbus TCP gateway; each RTU frame the link sends
//   goes out as an MBAP request (transaction identifier counting up,
//   protocol 0, unit identifier = the slave address, the PDU without CRC),
//   and each answer comes back as an RTU frame with its CRC, so the link
//   checks it as it checks any answer. An answer to another transaction (a
//   late answer to a repeated request) is dropped.
// Opening starts the connection and returns at once; frames sent before it
// stands wait for it (a repeat replaces the waiting frame). A connection
// that does not stand within kConnectLimitMs, is refused or is closed later
// fails like a pulled adapter. Baud rate and parity belong to the gateway.

#include "link/serial_port.h"

#include <QTcpSocket>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace rbx14 {

struct NetworkTarget {
  enum class Kind { RawTcp, ModbusTcp };
  Kind kind = Kind::RawTcp;
  QString host;
  quint16 port = 0;

  // "tcp://10.0.0.7:4001" or "mbtcp://[::1]:502"; anything else gives nothing.
  static std::optional<NetworkTarget> parse(const QString& name);
  QString name() const;
};

// True if the port map's name is a network line rather than a device path.
inline bool IsNetworkPortName(const QString& name) { return NetworkTarget::parse(name).has_value(); }

class NetworkPort final : public SerialPort {
 public:
  static constexpr int kConnectLimitMs = 3000;

  NetworkPort();

  void setTarget(const NetworkTarget& target) { target_ = target; }
  const NetworkTarget& target() const { return target_; }

  int commPort() const override { return commPort_; }
  int setCommPort(int port) override;
  QString settings() const override { return settings_; }
  int setSettings(const QString& settings) override;
  bool portOpen() const override { return open_; }
  int setPortOpen(bool open) override;
  void setInputMode(InputMode mode) override { inputMode_ = mode; }
  int output(const QByteArray& frame) override;
  int inBufferCount() override;
  QByteArray input() override;
  QString failureDetail(bool english) const override;
  bool onNetwork() const override { return true; }

 private:
  enum class Why { None, AsciiOnModbusTcp, NoConnection, Refused, Closed, NotFound, Other };

  void onConnected();
  void onReadyRead();
  void onSocketError(QAbstractSocket::SocketError error);
  void fail(Why why);
  QByteArray toMbap(const QByteArray& rtuFrame);
  void takeMbapAnswers();

  NetworkTarget target_;
  QTcpSocket socket_;
  QTimer connectLimit_;
  int commPort_ = 1;
  QString settings_ = QStringLiteral("9600,N,8,1");
  InputMode inputMode_ = InputMode::Binary;
  bool open_ = false;
  bool failed_ = false;
  bool connected_ = false;  // the connection stood (a close is then a drop)
  Why why_ = Why::None;
  QString otherError_;
  QByteArray waiting_;   // the frame sent before the connection stood
  QByteArray received_;  // Modbus TCP: bytes of answers not yet whole
  QByteArray answers_;   // Modbus TCP: answers as RTU frames for the link
  std::uint16_t transaction_ = 0;
  std::optional<std::uint16_t> expected_;  // the transaction awaiting its answer
};

}  // namespace rbx14
