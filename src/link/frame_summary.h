#pragma once
// What one frame on the line says: the address, the function, the register
// or coil range, the byte count, the value of a single write, the exception
// code of a refused request. Requests and answers of the same function are
// laid out differently, so the frame's direction decides how it is read: a
// frame the program sent is a request, a frame that came in is an answer.
// ASCII frames are read from their hex text, RTU frames from their bytes
// without the CRC. The check (CRC, LRC, address) is the tap's; a damaged
// frame is still read as far as it goes.

#include "link/frame_tap.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace rbx14 {

struct FrameSummary {
  bool readable = false;  // address and function are there
  bool request = false;
  int address = -1;
  int function = -1;  // as on the line, the exception flag included
  std::optional<int> start;     // first register or coil
  std::optional<int> quantity;  // registers or coils
  std::optional<int> byteCount;
  std::optional<int> value;          // of a single write
  std::optional<int> exceptionCode;  // of an answer with the exception flag
  // The byte after a read request's quantity: the device's read of the
  // external values carries the byte count of its answer there.
  std::optional<int> extraByte;
  QByteArray data;              // the data bytes after the byte count
  bool lengthMismatch = false;  // more or fewer bytes than the function has

  bool exception() const { return readable && (function & 0x80) != 0; }
};

// The frame without its framing: address, function and data, without the
// CRC or the ":" and LRC and line end. Empty when an ASCII frame holds
// anything but hex pairs.
QByteArray FramePdu(const TappedFrame& frame);

FrameSummary SummarizeFrame(const TappedFrame& frame);

// One line for the traffic list, e.g.
// "Addr. 1 · 03 Read holding registers · from 0x0021, 1 registers".
QString SummaryText(const FrameSummary& summary, bool english);

}  // namespace rbx14
