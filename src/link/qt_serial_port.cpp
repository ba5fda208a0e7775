#include "link/qt_serial_port.h"

#include <QFile>
#include <QLoggingCategory>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace rbx14 {

Q_LOGGING_CATEGORY(lcPort, "rbx14.port", QtWarningMsg)

QtSerialPort::QtSerialPort(PortMap map) : map_(std::move(map)) {
  parsed_ = *ParsePortSettings(settings_);
  QObject::connect(&port_, &QSerialPort::readyRead, [this] { notifyBytesArrived(); });
  network_.setOnBytesArrived([this] { notifyBytesArrived(); });
  network_.setOnFailure([this](int error) { notifyFailure(error); });
  QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
    onError(error);
  });
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  // A resource error on an open port means the device is gone (EIO, ENXIO,
  // a hang-up): nothing read or written will reach the line again. Other
  // errors belong to the operation that caused them and are reported there.
  if (error != QSerialPort::ResourceError || !port_.isOpen() || failed_) return;
  failed_ = true;
  qCWarning(lcPort) << "port failed underneath:" << devicePath() << port_.errorString();
  // The link closes the port in answer; it must not do that inside a read or
  // write of ours, so the notice comes from the event loop.
  QMetaObject::invokeMethod(
      &port_,
      [this] {
        if (failed_ && port_.isOpen()) notifyFailure(port_error::kHardwareNotAvailable);
      },
      Qt::QueuedConnection);
}

int QtSerialPort::setCommPort(int port) {
  if (portOpen()) return port_error::kNotWhileOpen;
  if (port < 1) return port_error::kInvalidPortNumber;
  commPort_ = port;
  return port_error::kNone;
}

int QtSerialPort::setSettings(const QString& settings) {
  const auto parsed = ParsePortSettings(settings);
  if (!parsed) return port_error::kInvalidPropertyValue;
  settings_ = settings;
  parsed_ = *parsed;
  if (networkActive()) return network_.setSettings(settings);
  // A port that failed underneath takes no settings; they apply at the next
  // open, after the link has closed it.
  return port_.isOpen() && !failed_ ? applySettings() : port_error::kNone;
}

QtSerialPortSettings ToQtSerialPortSettings(const PortSettings& settings) {
  QtSerialPortSettings out;
  out.baudRate = settings.baudRate;
  out.dataBits = static_cast<QSerialPort::DataBits>(settings.dataBits);
  switch (settings.parity) {
    case 'E': out.parity = QSerialPort::EvenParity; break;
    case 'O': out.parity = QSerialPort::OddParity; break;
    case 'M': out.parity = QSerialPort::MarkParity; break;
    case 'S': out.parity = QSerialPort::SpaceParity; break;
    default: out.parity = QSerialPort::NoParity; break;
  }
  out.stopBits = settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop;
  return out;
}

int QtSerialPort::applySettings() {
  const QtSerialPortSettings wanted = ToQtSerialPortSettings(parsed_);
  bool ok = port_.setBaudRate(wanted.baudRate) && port_.setStopBits(wanted.stopBits) &&
            port_.setFlowControl(QSerialPort::NoFlowControl);
  const bool framing = port_.setDataBits(wanted.dataBits) && port_.setParity(wanted.parity);
  if (ok && !framing) {
    // A pseudo-terminal (a virtual line, a line simulator) carries whole
    // bytes without a parity bit: Linux keeps it at eight data bits and no
    // parity, and QSerialPort reports the difference. The bytes are the
    // same, so that refusal is no reason to fail the open.
    ok = IsPseudoTerminal(devicePath());
    if (ok) qCInfo(lcPort) << "pseudo-terminal keeps 8N framing:" << devicePath();
  }
  if (!ok) {
    qCWarning(lcPort) << "settings refused:" << settings_ << port_.errorString();
    port_.clearError();
    return port_error::kCannotSetCommState;
  }
  port_.clearError();
  return port_error::kNone;
}

bool QtSerialPort::IsPseudoTerminal(const QString& path) {
  // Unix98 pseudo-terminal slaves have the major numbers 136 to 143.
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
  if (!S_ISCHR(info.st_mode)) return false;
  const unsigned major = ::major(info.st_rdev);
  return major >= 136 && major <= 143;
}

int QtSerialPort::setPortOpen(bool open) {
  if (open == portOpen()) return port_error::kNone;
  if (networkActive()) return network_.setPortOpen(open);
  if (open) {
    if (const auto target = NetworkTarget::parse(devicePath())) {
      network_.setTarget(*target);
      network_.setInputMode(inputMode_);
      network_.setSettings(settings_);
      return network_.setPortOpen(true);
    }
  }
  failed_ = false;
  if (!open) {
    port_.close();
    port_.clearError();
    return port_error::kNone;
  }
  port_.setPortName(devicePath());
  if (!port_.open(QIODevice::ReadWrite)) {
    const int number = ErrorNumber(port_.error());
    qCInfo(lcPort) << "open failed:" << devicePath() << port_.errorString() << number;
    port_.clearError();
    return number;
  }
  const int applied = applySettings();
  if (applied != port_error::kNone) {
    port_.close();
    return applied;
  }
  // Whatever the line held before we opened is not an answer to us.
  port_.clear(QSerialPort::AllDirections);
  return port_error::kNone;
}

int QtSerialPort::output(const QByteArray& frame) {
  if (networkActive()) return network_.output(frame);
  if (!port_.isOpen()) return port_error::kPortNotOpen;
  if (failed_) return port_error::kHardwareNotAvailable;
  const qint64 written = port_.write(frame);
  return written == frame.size() ? port_error::kNone : port_error::kHardwareNotAvailable;
}

int QtSerialPort::inBufferCount() {
  if (networkActive()) return network_.inBufferCount();
  if (!port_.isOpen()) return 0;
  return static_cast<int>(port_.bytesAvailable());
}

QByteArray QtSerialPort::input() {
  if (networkActive()) return network_.input();
  if (!port_.isOpen()) return {};
  return port_.readAll();
}

int QtSerialPort::ErrorNumber(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError: return port_error::kInvalidPortNumber;
    case QSerialPort::PermissionError: return port_error::kPortAlreadyOpen;
    case QSerialPort::OpenError: return port_error::kPortAlreadyOpen;
    case QSerialPort::UnsupportedOperationError: return port_error::kCannotSetCommState;
    default: return port_error::kHardwareNotAvailable;
  }
}

}  // namespace rbx14
