#pragma once
// The real port: QSerialPort on the device the port map names, or the
// network line when the map names one (tcp://, mbtcp://).

#include "link/network_port.h"
#include "link/port_map.h"
#include "link/serial_port.h"

#include <QSerialPort>

namespace rbx14 {

// The settings string in QSerialPort's terms.
struct QtSerialPortSettings {
  qint32 baudRate = 9600;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};
QtSerialPortSettings ToQtSerialPortSettings(const PortSettings& settings);

class QtSerialPort final : public SerialPort {
 public:
  explicit QtSerialPort(PortMap map);

  int commPort() const override { return commPort_; }
  int setCommPort(int port) override;
  QString settings() const override { return settings_; }
  int setSettings(const QString& settings) override;
  bool portOpen() const override { return port_.isOpen() || network_.portOpen(); }
  int setPortOpen(bool open) override;
  void setInputMode(InputMode mode) override {
    inputMode_ = mode;
    network_.setInputMode(mode);
  }
  int output(const QByteArray& frame) override;
  int inBufferCount() override;
  QByteArray input() override;
  QString failureDetail(bool english) const override {
    return onNetwork() ? network_.failureDetail(english) : QString();
  }
  bool onNetwork() const override { return IsNetworkPortName(devicePath()); }

  // The device path of the current port number.
  QString devicePath() const { return map_.devicePath(commPort_); }

 private:
  int applySettings();
  void onError(QSerialPort::SerialPortError error);
  static bool IsPseudoTerminal(const QString& path);
  static int ErrorNumber(QSerialPort::SerialPortError error);

  // The network line serves while it is open (or refused the last open).
  bool networkActive() const { return network_.portOpen(); }

  PortMap map_;
  QSerialPort port_;
  NetworkPort network_;
  int commPort_ = 1;
  QString settings_ = QStringLiteral("9600,N,8,1");
  PortSettings parsed_;
  InputMode inputMode_ = InputMode::Text;
  // The open port failed underneath; cleared when it is closed or opened.
  bool failed_ = false;
};

}  // namespace rbx14
