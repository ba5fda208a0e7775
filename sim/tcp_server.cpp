#include "sim/tcp_server.h"

#include "link/codec.h"

#include <QLoggingCategory>

#include <algorithm>

namespace rbx14::sim {

Q_LOGGING_CATEGORY(lcTcp, "rbx14.sim.tcp", QtWarningMsg)

namespace {

std::uint16_t Crc(const QByteArray& bytes, qsizetype size) {
  return Crc16(std::string_view(bytes.constData(), static_cast<std::size_t>(size)));
}

}  // namespace

TcpServer::TcpServer(Scheduler& scheduler, LineDevice& device, Kind kind)
    : device_(device),
      kind_(kind),
      toClient_(scheduler, [this](const QByteArray& bytes) { fromLine(bytes); }) {
  QObject::connect(&server_, &QTcpServer::newConnection, [this] { accept(); });
}

bool TcpServer::listen(const QHostAddress& host, quint16 port, QString* error) {
  if (server_.listen(host, port)) return true;
  if (error != nullptr) *error = server_.errorString();
  return false;
}

QString TcpServer::portName() const {
  return (kind_ == Kind::ModbusTcp ? QStringLiteral("mbtcp://") : QStringLiteral("tcp://")) +
         server_.serverAddress().toString() + u':' + QString::number(server_.serverPort());
}

void TcpServer::accept() {
  while (QTcpSocket* next = server_.nextPendingConnection()) {
    if (client_ != nullptr) {
      client_->disconnect();
      client_->abort();
      client_->deleteLater();
    }
    client_ = next;
    client_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // A new client starts on a quiet line.
    toClient_.clear();
    device_.resetLine();
    requests_.clear();
    answer_.clear();
    awaiting_.clear();
    QObject::connect(client_, &QTcpSocket::readyRead, [this] { readFromClient(); });
    QObject::connect(client_, &QTcpSocket::disconnected, [this, next] {
      if (client_ == next) client_ = nullptr;
      next->deleteLater();
    });
  }
}

void TcpServer::readFromClient() {
  if (client_ == nullptr) return;
  const QByteArray bytes = client_->readAll();
  if (kind_ == Kind::RawTcp) {
    toLine(bytes);
    return;
  }
  requests_.append(bytes);
  while (requests_.size() >= 7) {
    const int length = (static_cast<std::uint8_t>(requests_.at(4)) << 8) | static_cast<std::uint8_t>(requests_.at(5));
    if (requests_.at(2) != 0 || requests_.at(3) != 0 || length < 2 || length > 254) {
      qCInfo(lcTcp) << "no MBAP request; dropped" << requests_.size() << "bytes";
      requests_.clear();
      return;
    }
    if (requests_.size() < 6 + length) return;
    QByteArray frame = requests_.mid(6, length);  // unit identifier and PDU
    // The line carries one request at a time: an earlier one still
    // unanswered is given up, as a gateway gives it up.
    awaiting_.clear();
    awaiting_.push_back(requests_.left(2));
    requests_.remove(0, 6 + length);
    const std::uint16_t crc = Crc(frame, frame.size());
    frame.append(static_cast<char>(crc & 0xFF)).append(static_cast<char>(crc >> 8));
    toLine(frame);
  }
}

void TcpServer::toLine(const QByteArray& bytes) {
  // As on a line: each byte reaches the devices one character time after
  // the one before.
  const std::int64_t nowUs = toClient_.nowUs();
  const double characterUs = device_.characterTimeUs();
  const std::int64_t startUs = std::max(nowUs, requestLineFreeUs_);
  for (qsizetype k = 0; k < bytes.size(); ++k) {
    const auto endUs = startUs + static_cast<std::int64_t>(characterUs * static_cast<double>(k + 1));
    toClient_.schedule(device_.receive(static_cast<std::uint8_t>(bytes[k]), endUs));
    requestLineFreeUs_ = endUs;
  }
}

void TcpServer::fromLine(const QByteArray& bytes) {
  if (client_ == nullptr) return;
  if (kind_ == Kind::RawTcp) {
    client_->write(bytes);
    return;
  }
  answer_.append(bytes);
  // An answer is whole once its CRC holds.
  for (qsizetype size = 4; size <= answer_.size(); ++size) {
    const std::uint16_t crc = Crc(answer_, size - 2);
    if (static_cast<std::uint8_t>(answer_.at(size - 2)) != (crc & 0xFF) ||
        static_cast<std::uint8_t>(answer_.at(size - 1)) != (crc >> 8)) {
      continue;
    }
    if (!awaiting_.empty()) {
      const QByteArray id = awaiting_.front();
      awaiting_.pop_front();
      const qsizetype length = size - 2;
      QByteArray out = id;
      out.append('\0').append('\0');
      out.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
      out.append(answer_.left(length));
      client_->write(out);
    }
    answer_.remove(0, size);
    size = 3;
  }
  if (answer_.size() > 300) answer_.clear();
}

}  // namespace rbx14::sim
