#include "link/frame_tap.h"

#include "link/codec.h"
#include "link/modbus_frame.h"

#include <string>

namespace rbx14 {
namespace {

std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The address a request went to; -1 when the frame holds none.
int AddressOf(const QByteArray& frame, bool ascii) {
  if (ascii) {
    if (frame.size() < 3 || !IsHexDigit(frame[1]) || !IsHexDigit(frame[2])) return -1;
    return HexStrToByte(View(frame.mid(1, 2)));
  }
  return frame.isEmpty() ? -1 : static_cast<std::uint8_t>(frame[0]);
}

}  // namespace

TappedFrame::Check CheckFrame(const QByteArray& frame, bool ascii, int expectedAddress) {
  bool good = false;
  if (ascii) {
    // ":" body LRC CR LF, the body and the LRC as upper-case hex pairs.
    QByteArray text = frame;
    while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
    if (text.startsWith(':') && text.size() >= 5) {
      const auto bytes = AsciiPairs(View(text).substr(1), false);
      good = bytes && LrcGood(*bytes);
    }
  } else {
    good = frame.size() >= 4 && RtuCrcGood(View(frame));
  }
  if (!good) return TappedFrame::Check::Bad;
  if (expectedAddress >= 0 && AddressOf(frame, ascii) != expectedAddress) {
    return TappedFrame::Check::OtherAddress;
  }
  return TappedFrame::Check::Good;
}

FrameTap::FrameTap(SerialPort& inner, const Scheduler& clock) : inner_(inner), clock_(clock) {
  // The fast link handles bytes when they arrive: pass the notice on.
  inner_.setOnBytesArrived([this] { notifyBytesArrived(); });
  // A port that fails underneath must reach the link through the tap, or
  // the link would wait for answers from a line that is gone.
  inner_.setOnFailure([this](int errorNumber) { notifyFailure(errorNumber); });
}

int FrameTap::addObserver(Observer observer) {
  observers_.emplace(nextId_, std::move(observer));
  return nextId_++;
}

void FrameTap::removeObserver(int id) { observers_.erase(id); }

void FrameTap::publish(TappedFrame::Direction direction, const QByteArray& bytes,
                       TappedFrame::Check check) {
  if (observers_.empty()) return;
  const TappedFrame frame{direction, clock_.nowUs(), bytes, ascii_, check};
  for (const auto& [id, observer] : observers_) observer(frame);
}

int FrameTap::setPortOpen(bool open) {
  flushPartial();
  return inner_.setPortOpen(open);
}

int FrameTap::output(const QByteArray& frame) {
  // What was still being collected will not be completed any more.
  flushPartial();
  const int result = inner_.output(frame);
  ascii_ = frame.startsWith(':') && frame.endsWith("\r\n");
  askedAddress_ = AddressOf(frame, ascii_);
  publish(TappedFrame::Direction::Sent, frame, CheckFrame(frame, ascii_, askedAddress_));
  return result;
}

QByteArray FrameTap::input() {
  const QByteArray bytes = inner_.input();
  for (char byte : bytes) received(byte);
  return bytes;
}

void FrameTap::received(char byte) {
  if (ascii_) {
    // Anything before the ":" is noise and shown on its own.
    if (byte == ':' && !partial_.isEmpty()) flushPartial();
    partial_ += byte;
    if (byte == '\n') {
      publish(TappedFrame::Direction::Received, partial_,
              CheckFrame(partial_, true, askedAddress_));
      partial_.clear();
    }
    return;
  }
  partial_ += byte;
  const int length = RtuAnswerLength(View(partial_));
  if (length < 0) {
    flushPartial();
  } else if (length > 0 && partial_.size() >= length) {
    publish(TappedFrame::Direction::Received, partial_, CheckFrame(partial_, false, askedAddress_));
    partial_.clear();
  }
}

void FrameTap::flushPartial() {
  if (partial_.isEmpty()) return;
  publish(TappedFrame::Direction::Received, partial_, TappedFrame::Check::Bad);
  partial_.clear();
}

}  // namespace rbx14
