#include "link/frame_summary.h"

#include "base/texts.h"
#include "link/modbus_frame.h"

#include <QStringList>

namespace rbx14 {
namespace {

constexpr int kExceptionFlag = 0x80;
constexpr int kRtuCrcBytes = 2;
constexpr int kWordsShown = 6;  // register values shown before "…"
constexpr int kBytesShown = 8;  // coil bytes shown before "…"

int Byte(const QByteArray& bytes, qsizetype i) { return static_cast<std::uint8_t>(bytes[i]); }

int Word(const QByteArray& bytes, qsizetype i) { return Byte(bytes, i) << 8 | Byte(bytes, i + 1); }

QString Hex(int value, int digits) {
  return QStringLiteral("%1").arg(value, digits, 16, QChar(u'0')).toUpper();
}

void ReadRequest(FrameSummary& s, const QByteArray& payload) {
  const int function = s.function;
  if (payload.size() < 4) {
    s.lengthMismatch = true;
    return;
  }
  s.start = Word(payload, 0);
  if (function == 0x05 || function == 0x06) {
    s.value = Word(payload, 2);
    s.lengthMismatch = payload.size() != 4;
    return;
  }
  s.quantity = Word(payload, 2);
  if (function <= 0x04) {
    if (payload.size() == 5) s.extraByte = Byte(payload, 4);
    s.lengthMismatch = payload.size() > 5;
    return;
  }
  // 0x0F and 0x10: the byte count, then the data.
  if (payload.size() < 5) {
    s.lengthMismatch = true;
    return;
  }
  s.byteCount = Byte(payload, 4);
  s.data = payload.mid(5);
  s.lengthMismatch = s.data.size() != *s.byteCount;
}

void ReadAnswer(FrameSummary& s, const QByteArray& payload) {
  switch (s.function) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
      if (payload.isEmpty()) {
        s.lengthMismatch = true;
        return;
      }
      s.byteCount = Byte(payload, 0);
      s.data = payload.mid(1);
      s.lengthMismatch = s.data.size() != *s.byteCount;
      return;
    default:
      // 0x05 and 0x06 echo the address and value, 0x0F and 0x10 answer with
      // the range written.
      if (payload.size() < 4) {
        s.lengthMismatch = true;
        return;
      }
      s.start = Word(payload, 0);
      if (s.function == 0x05 || s.function == 0x06) {
        s.value = Word(payload, 2);
      } else {
        s.quantity = Word(payload, 2);
      }
      s.lengthMismatch = payload.size() != 4;
  }
}

bool Known(int function) {
  return (function >= 0x01 && function <= 0x06) || function == 0x0F || function == 0x10;
}

bool IsBitFunction(int function) {
  return function == 0x01 || function == 0x02 || function == 0x05 || function == 0x0F;
}

QString FunctionName(int function, bool english) {
  switch (function) {
    case 0x01: return texts::kTrafficReadCoils.in(english);
    case 0x02: return texts::kTrafficReadInputs.in(english);
    case 0x03: return texts::kTrafficReadHolding.in(english);
    case 0x04: return texts::kTrafficReadInputRegisters.in(english);
    case 0x05: return texts::kTrafficWriteCoil.in(english);
    case 0x06: return texts::kTrafficWriteRegister.in(english);
    case 0x0F: return texts::kTrafficWriteCoils.in(english);
    case 0x10: return texts::kTrafficWriteRegisters.in(english);
    default: return texts::kTrafficUnknownFunction.in(english);
  }
}

QString ExceptionName(int code, bool english) {
  switch (code) {
    case 0x01: return texts::kTrafficIllegalFunction.in(english);
    case 0x02: return texts::kTrafficIllegalAddress.in(english);
    case 0x03: return texts::kTrafficIllegalValue.in(english);
    case 0x04: return texts::kTrafficDeviceFailure.in(english);
    default: return texts::kTrafficUnknownException.in(english);
  }
}

// The data of a frame: register values as words, coils as bytes.
QString DataText(const FrameSummary& s) {
  QStringList parts;
  if (IsBitFunction(s.function & ~kExceptionFlag)) {
    for (qsizetype i = 0; i < s.data.size() && i < kBytesShown; ++i) parts << Hex(Byte(s.data, i), 2);
    if (s.data.size() > kBytesShown) parts << QStringLiteral("…");
  } else {
    for (qsizetype i = 0; i + 1 < s.data.size() && i < 2 * kWordsShown; i += 2) {
      parts << Hex(Word(s.data, i), 4);
    }
    if (s.data.size() > 2 * kWordsShown || s.data.size() % 2 != 0) parts << QStringLiteral("…");
  }
  return parts.join(u' ');
}

}  // namespace

QByteArray FramePdu(const TappedFrame& frame) {
  const std::string_view bytes(frame.bytes.constData(), static_cast<std::size_t>(frame.bytes.size()));
  if (!frame.ascii) {
    // A frame cut short may lack its CRC; a whole one ends with it.
    return frame.bytes.size() >= 2 + kRtuCrcBytes ? QByteArray::fromStdString(ModbusFrame::fromRtu(bytes).pdu)
                                                  : frame.bytes;
  }
  QByteArray text = frame.bytes;
  const bool ended = text.endsWith('\n');
  while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
  if (!text.startsWith(':')) return {};
  const auto pairs = AsciiPairs(bytes.substr(1, static_cast<std::size_t>(text.size()) - 1), true);
  if (!pairs) return {};
  // The last pair of a whole frame is its LRC.
  if (ended) return QByteArray::fromStdString(ModbusFrame::fromAsciiBytes(*pairs).pdu);
  return QByteArray::fromStdString(*pairs);
}

FrameSummary SummarizeFrame(const TappedFrame& frame) {
  FrameSummary s;
  s.request = frame.direction == TappedFrame::Direction::Sent;
  const QByteArray pdu = FramePdu(frame);
  if (pdu.size() < 2) return s;
  s.readable = true;
  s.address = Byte(pdu, 0);
  s.function = Byte(pdu, 1);
  const QByteArray payload = pdu.mid(2);
  if ((s.function & kExceptionFlag) != 0) {
    if (!payload.isEmpty()) s.exceptionCode = Byte(payload, 0);
    s.lengthMismatch = payload.size() != 1;
  } else if (Known(s.function)) {
    if (s.request) {
      ReadRequest(s, payload);
    } else {
      ReadAnswer(s, payload);
    }
  } else {
    s.data = payload;
  }
  return s;
}

QString SummaryText(const FrameSummary& s, bool english) {
  if (!s.readable) return texts::kTrafficUnreadable.in(english);
  QStringList parts;
  parts << texts::kTrafficAddress.in(english).arg(s.address);
  parts << Hex(s.function, 2) + u' ' + FunctionName(s.function & ~kExceptionFlag, english);
  const bool bits = IsBitFunction(s.function);
  if (s.start && s.quantity) {
    parts << (bits ? texts::kTrafficBitRange : texts::kTrafficRegisterRange)
                 .in(english)
                 .arg(Hex(*s.start, 4))
                 .arg(*s.quantity);
  } else if (s.start && s.value) {
    if (s.function == 0x05) {
      const QString state = *s.value == 0xFF00 ? texts::kTrafficOn.in(english)
                            : *s.value == 0  ? texts::kTrafficOff.in(english)
                                             : QStringLiteral("0x") + Hex(*s.value, 4);
      parts << texts::kTrafficSingleCoil.in(english).arg(Hex(*s.start, 4), state);
    } else {
      parts << texts::kTrafficSingleRegister.in(english).arg(Hex(*s.start, 4), Hex(*s.value, 4));
    }
  }
  if (s.extraByte) parts << texts::kTrafficExtraByte.in(english).arg(Hex(*s.extraByte, 2));
  if (s.byteCount) {
    QString count = texts::kTrafficByteCount.in(english).arg(*s.byteCount);
    // Read answers show what they carry; written data is in the bytes column.
    if (!s.request && !s.data.isEmpty()) count += QStringLiteral(": ") + DataText(s);
    parts << count;
  }
  if (s.exception()) {
    const int code = s.exceptionCode.value_or(-1);
    parts << texts::kTrafficException.in(english).arg(code < 0 ? QStringLiteral("?") : Hex(code, 2),
                                                      ExceptionName(code, english));
  }
  if (s.lengthMismatch) parts << texts::kTrafficLengthMismatch.in(english);
  return parts.join(QStringLiteral(" · "));
}

}  // namespace rbx14
