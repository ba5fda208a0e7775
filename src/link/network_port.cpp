#include "link/network_port.h"

#include "link/codec.h"

#include <QLoggingCategory>
#include <QRegularExpression>

namespace rbx14 {

Q_LOGGING_CATEGORY(lcNetwork, "rbx14.network", QtWarningMsg)

std::optional<NetworkTarget> NetworkTarget::parse(const QString& name) {
  static const QRegularExpression form(
      QStringLiteral(R"(^(tcp|mbtcp)://(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9._-]+):([0-9]{1,5})$)"),
      QRegularExpression::CaseInsensitiveOption);
  const auto match = form.match(name.trimmed());
  if (!match.hasMatch()) return std::nullopt;
  const int port = match.captured(3).toInt();
  if (port < 1 || port > 65535) return std::nullopt;
  NetworkTarget out;
  out.kind = match.captured(1).compare(QStringLiteral("mbtcp"), Qt::CaseInsensitive) == 0
                 ? Kind::ModbusTcp
                 : Kind::RawTcp;
  out.host = match.captured(2);
  if (out.host.startsWith(u'[')) out.host = out.host.mid(1, out.host.size() - 2);
  out.port = static_cast<quint16>(port);
  return out;
}

QString NetworkTarget::name() const {
  const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
  return (kind == Kind::ModbusTcp ? QStringLiteral("mbtcp://") : QStringLiteral("tcp://")) + shownHost +
         u':' + QString::number(port);
}

NetworkPort::NetworkPort() {
  connectLimit_.setSingleShot(true);
  connectLimit_.setInterval(kConnectLimitMs);
  QObject::connect(&connectLimit_, &QTimer::timeout, [this] {
    if (open_ && socket_.state() != QAbstractSocket::ConnectedState) fail(Why::NoConnection);
  });
  QObject::connect(&socket_, &QTcpSocket::connected, [this] { onConnected(); });
  QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { onReadyRead(); });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                   [this](QAbstractSocket::SocketError error) { onSocketError(error); });
  QObject::connect(&socket_, &QTcpSocket::disconnected, [this] {
    if (open_ && connected_) fail(Why::Closed);
  });
}

int NetworkPort::setCommPort(int port) {
  if (open_) return port_error::kNotWhileOpen;
  if (port < 1) return port_error::kInvalidPortNumber;
  commPort_ = port;
  return port_error::kNone;
}

int NetworkPort::setSettings(const QString& settings) {
  // The gateway's own settings drive its line; the string is only checked.
  if (!ParsePortSettings(settings)) return port_error::kInvalidPropertyValue;
  settings_ = settings;
  return port_error::kNone;
}

int NetworkPort::setPortOpen(bool open) {
  if (open == open_) return port_error::kNone;
  failed_ = false;
  waiting_.clear();
  received_.clear();
  answers_.clear();
  expected_.reset();
  connectLimit_.stop();
  if (!open) {
    open_ = false;
    socket_.abort();
    return port_error::kNone;
  }
  why_ = Why::None;
  if (target_.kind == NetworkTarget::Kind::ModbusTcp && inputMode_ == InputMode::Text) {
    // A Modbus TCP gateway speaks RTU on its line: an ASCII frame has no
    // MBAP form.
    why_ = Why::AsciiOnModbusTcp;
    return port_error::kCannotSetCommState;
  }
  open_ = true;
  socket_.abort();
  connected_ = false;
  socket_.connectToHost(target_.host, target_.port);
  connectLimit_.start();
  return port_error::kNone;
}

void NetworkPort::onConnected() {
  connectLimit_.stop();
  connected_ = true;
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  qCInfo(lcNetwork) << "connected:" << target_.name();
  if (!waiting_.isEmpty()) socket_.write(std::exchange(waiting_, {}));
}

int NetworkPort::output(const QByteArray& frame) {
  if (!open_) return port_error::kPortNotOpen;
  if (failed_) return port_error::kHardwareNotAvailable;
  QByteArray bytes = frame;
  if (target_.kind == NetworkTarget::Kind::ModbusTcp) {
    bytes = toMbap(frame);
    if (bytes.isEmpty()) return port_error::kNone;  // no Modbus frame: nothing to send
  }
  if (socket_.state() != QAbstractSocket::ConnectedState) {
    // Nothing has reached the line yet; a repeat stands in for its original.
    waiting_ = bytes;
    return port_error::kNone;
  }
  return socket_.write(bytes) == bytes.size() ? port_error::kNone : port_error::kHardwareNotAvailable;
}

QByteArray NetworkPort::toMbap(const QByteArray& rtuFrame) {
  // The frame ends with its CRC; a device on a line ignores what follows it
  // (some requests go out with a byte beyond), a gateway would take that for
  // part of the PDU. So the frame is the longest start whose CRC holds.
  qsizetype end = rtuFrame.size();
  const auto crcHolds = [&rtuFrame](qsizetype size) {
    const std::uint16_t crc =
        Crc16(std::string_view(rtuFrame.constData(), static_cast<std::size_t>(size - 2)));
    return static_cast<std::uint8_t>(rtuFrame.at(size - 2)) == (crc & 0xFF) &&
           static_cast<std::uint8_t>(rtuFrame.at(size - 1)) == (crc >> 8);
  };
  while (end >= 4 && !crcHolds(end)) --end;
  if (end < 4) end = rtuFrame.size();
  // Address, function code and the two CRC bytes at least.
  if (end < 4) return {};
  const QByteArray pdu = rtuFrame.mid(1, end - 3);
  const std::uint16_t id = ++transaction_;
  expected_ = id;
  const int length = static_cast<int>(pdu.size()) + 1;
  QByteArray out;
  out.reserve(7 + pdu.size());
  out.append(static_cast<char>(id >> 8)).append(static_cast<char>(id & 0xFF));
  out.append('\0').append('\0');
  out.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
  out.append(rtuFrame.at(0));
  out.append(pdu);
  return out;
}

void NetworkPort::onReadyRead() {
  if (!open_) {
    socket_.readAll();
    return;
  }
  if (target_.kind == NetworkTarget::Kind::ModbusTcp) {
    received_.append(socket_.readAll());
    takeMbapAnswers();
    if (!answers_.isEmpty()) notifyBytesArrived();
    return;
  }
  notifyBytesArrived();
}

void NetworkPort::takeMbapAnswers() {
  const auto u16 = [this](int at) {
    return static_cast<std::uint16_t>((static_cast<std::uint8_t>(received_.at(at)) << 8) |
                                      static_cast<std::uint8_t>(received_.at(at + 1)));
  };
  while (received_.size() >= 7) {
    const std::uint16_t id = u16(0);
    const std::uint16_t protocol = u16(2);
    const int length = u16(4);
    if (protocol != 0 || length < 2 || length > 254) {
      // No MBAP header: where the next one starts cannot be known, so
      // everything held is dropped and the link's repeat asks again.
      qCInfo(lcNetwork) << "not an MBAP answer, dropped" << received_.size() << "bytes";
      received_.clear();
      return;
    }
    if (received_.size() < 6 + length) return;
    const QByteArray unitAndPdu = received_.mid(6, length);
    received_.remove(0, 6 + length);
    if (!expected_ || id != *expected_) {
      qCInfo(lcNetwork) << "answer to transaction" << id << "dropped, awaiting"
                        << (expected_ ? int(*expected_) : -1);
      continue;
    }
    expected_.reset();
    const std::uint16_t crc =
        Crc16(std::string_view(unitAndPdu.constData(), static_cast<std::size_t>(unitAndPdu.size())));
    answers_.append(unitAndPdu);
    answers_.append(static_cast<char>(crc & 0xFF)).append(static_cast<char>(crc >> 8));
  }
}

int NetworkPort::inBufferCount() {
  if (!open_) return 0;
  if (target_.kind == NetworkTarget::Kind::ModbusTcp) return static_cast<int>(answers_.size());
  return static_cast<int>(socket_.bytesAvailable());
}

QByteArray NetworkPort::input() {
  if (!open_) return {};
  if (target_.kind == NetworkTarget::Kind::ModbusTcp) return std::exchange(answers_, {});
  return socket_.readAll();
}

void NetworkPort::onSocketError(QAbstractSocket::SocketError error) {
  if (!open_) return;
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError: fail(Why::Refused); break;
    case QAbstractSocket::RemoteHostClosedError: fail(connected_ ? Why::Closed : Why::Refused); break;
    case QAbstractSocket::HostNotFoundError: fail(Why::NotFound); break;
    case QAbstractSocket::SocketTimeoutError: fail(Why::NoConnection); break;
    default:
      otherError_ = socket_.errorString();
      fail(Why::Other);
      break;
  }
}

void NetworkPort::fail(Why why) {
  if (failed_) return;
  failed_ = true;
  why_ = why;
  connectLimit_.stop();
  qCWarning(lcNetwork) << "network line failed:" << failureDetail(true);
  // The link closes the port in answer; never inside one of our operations.
  QMetaObject::invokeMethod(
      &socket_,
      [this] {
        if (failed_ && open_) notifyFailure(port_error::kHardwareNotAvailable);
      },
      Qt::QueuedConnection);
}

QString NetworkPort::failureDetail(bool english) const {
  QString why;
  switch (why_) {
    case Why::None: return {};
    case Why::AsciiOnModbusTcp:
      why = english ? QStringLiteral("Modbus TCP carries RTU only; choose the mode RTU")
                    : QStringLiteral("Modbus TCP überträgt nur RTU; bitte den Modus RTU wählen");
      break;
    case Why::NoConnection:
      why = english ? QStringLiteral("no connection within %1 s").arg(kConnectLimitMs / 1000)
                    : QStringLiteral("keine Verbindung innerhalb von %1 s").arg(kConnectLimitMs / 1000);
      break;
    case Why::Refused:
      why = english ? QStringLiteral("connection refused (nothing listening)")
                    : QStringLiteral("Verbindung abgelehnt (niemand empfängt)");
      break;
    case Why::Closed:
      why = english ? QStringLiteral("the gateway closed the connection")
                    : QStringLiteral("der Gateway hat die Verbindung geschlossen");
      break;
    case Why::NotFound:
      why = english ? QStringLiteral("host not found") : QStringLiteral("Host nicht gefunden");
      break;
    case Why::Other: why = otherError_; break;
  }
  return target_.name() + QStringLiteral(": ") + why;
}

}  // namespace rbx14
