#pragma once
// The serial port as the link uses it: a port number, a settings string
// ("9600,E,8,1"), open and close, the input mode, write one frame, count the
// waiting bytes, take them all. Backends: QSerialPort for real adapters, the
// simulated device in-process, and test doubles. Nothing above this interface
// knows which one it has.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace rbx14 {

// Error numbers of port operations, as a technician sees them in the
// "COM-Port not available" message. 0 means success.
namespace port_error {
constexpr int kNone = 0;
constexpr int kInvalidPropertyValue = 380;  // settings string not understood
constexpr int kNotWhileOpen = 8000;         // port number changed while open
constexpr int kInvalidPortNumber = 8002;    // no such port
constexpr int kPortAlreadyOpen = 8005;      // busy: another program holds it
constexpr int kHardwareNotAvailable = 8010; // no access (permissions) or gone
constexpr int kCannotSetCommState = 8015;   // the adapter refused the settings
constexpr int kPortNotOpen = 8018;          // operation valid only when open
}  // namespace port_error

// Input modes: text (the ASCII link) or binary (the RTU link). The bytes are
// the same; the mode only says how a reader may treat them.
enum class InputMode { Text = 0, Binary = 1 };

// The parsed form of a settings string.
struct PortSettings {
  int baudRate = 9600;
  char parity = 'E';  // 'N', 'E', 'O', 'M' or 'S'
  int dataBits = 8;   // 5..8
  int stopBits = 1;   // 1 or 2

  bool operator==(const PortSettings&) const = default;
};

// "9600,E,8,1" -> settings; anything malformed gives nothing.
std::optional<PortSettings> ParsePortSettings(const QString& text);

// Time of one character on the line in microseconds (start bit, data bits,
// parity bit, stop bits).
double CharacterTimeUs(const PortSettings& settings);

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual int commPort() const = 0;
  virtual int setCommPort(int port) = 0;
  virtual QString settings() const = 0;
  virtual int setSettings(const QString& settings) = 0;
  virtual bool portOpen() const = 0;
  virtual int setPortOpen(bool open) = 0;
  virtual void setInputMode(InputMode mode) = 0;
  // Writes one frame; its bytes go out unchanged and in order.
  virtual int output(const QByteArray& frame) = 0;
  virtual int inBufferCount() = 0;
  // Takes every byte waiting.
  virtual QByteArray input() = 0;

  // Further ports this backend can open beyond COM1..COM40, by the name the
  // port list shows; the first is port number 41. Most backends have none.
  virtual QStringList portsBeyondCom40() const { return {}; }

  // What the last failure was, in words, for a port that knows more than its
  // number (a network line: host, port and why). Empty for most backends.
  virtual QString failureDetail(bool /*english*/) const { return {}; }
  // A line behind a network gateway: baud rate and parity are the gateway's.
  virtual bool onNetwork() const { return false; }

  // Optional notice that bytes have arrived (the fast link uses it; the
  // receive poll works without it).
  void setOnBytesArrived(std::function<void()> handler) { onBytesArrived_ = std::move(handler); }

  // Notice that the open port failed underneath: the USB adapter was pulled,
  // the other end of a virtual line went away. The port is of no use until it
  // is closed and opened again. Backends raise it from the event loop, never
  // from inside one of their own operations, and once per failure.
  void setOnFailure(std::function<void(int errorNumber)> handler) { onFailure_ = std::move(handler); }

 protected:
  void notifyBytesArrived() {
    if (onBytesArrived_) onBytesArrived_();
  }
  void notifyFailure(int errorNumber) {
    if (onFailure_) onFailure_(errorNumber);
  }

 private:
  std::function<void()> onBytesArrived_;
  std::function<void(int)> onFailure_;
};

}  // namespace rbx14
