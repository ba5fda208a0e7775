#pragma once
// A tap on the link: every frame the program sends and every frame that
// comes back, with its time, direction, bytes and check result, for the
// command line's trace and the window's traffic view. The tap sits between
// the link and the real port and passes everything through unchanged;
// observers are told after the bytes have gone to or come from the port, so
// the link never waits for them.

#include "link/serial_port.h"
#include "base/timer.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <map>

namespace rbx14 {

struct TappedFrame {
  enum class Direction { Sent, Received };
  enum class Check {
    Good,          // CRC or LRC right, meant for the address last asked
    Bad,           // CRC or LRC wrong, or the frame is cut short
    OtherAddress,  // check right, but from another address than asked
  };
  Direction direction;
  std::int64_t timeUs;  // on the scheduler's clock
  QByteArray bytes;     // as on the line
  bool ascii;           // ":...\r\n" frames
  Check check;
};

// The check of one complete frame against the address that was asked.
TappedFrame::Check CheckFrame(const QByteArray& frame, bool ascii, int expectedAddress);

class FrameTap final : public SerialPort {
 public:
  using Observer = std::function<void(const TappedFrame&)>;

  FrameTap(SerialPort& inner, const Scheduler& clock);

  // Returns an id for removeObserver.
  int addObserver(Observer observer);
  void removeObserver(int id);

  int commPort() const override { return inner_.commPort(); }
  int setCommPort(int port) override { return inner_.setCommPort(port); }
  QString settings() const override { return inner_.settings(); }
  int setSettings(const QString& settings) override { return inner_.setSettings(settings); }
  bool portOpen() const override { return inner_.portOpen(); }
  int setPortOpen(bool open) override;
  void setInputMode(InputMode mode) override { inner_.setInputMode(mode); }
  int output(const QByteArray& frame) override;
  int inBufferCount() override { return inner_.inBufferCount(); }
  QByteArray input() override;
  QStringList portsBeyondCom40() const override { return inner_.portsBeyondCom40(); }
  QString failureDetail(bool english) const override { return inner_.failureDetail(english); }
  bool onNetwork() const override { return inner_.onNetwork(); }

 private:
  void received(char byte);
  void flushPartial();
  void publish(TappedFrame::Direction direction, const QByteArray& bytes, TappedFrame::Check check);

  SerialPort& inner_;
  const Scheduler& clock_;
  std::map<int, Observer> observers_;
  int nextId_ = 1;
  bool ascii_ = false;     // the mode of the last request
  int askedAddress_ = -1;  // the address of the last request
  QByteArray partial_;     // an answer being collected
};

}  // namespace rbx14
