#include "cli/trace_line.h"

#include <QStringList>

namespace rbx14 {
namespace {

QString CheckWord(const TappedFrame& frame) {
  const QString check = frame.ascii ? QStringLiteral("LRC") : QStringLiteral("CRC");
  switch (frame.check) {
    case TappedFrame::Check::Good:
      return check + QStringLiteral(" good");
    case TappedFrame::Check::Bad:
      return check + QStringLiteral(" bad");
    case TappedFrame::Check::OtherAddress:
      return QStringLiteral("other address");
  }
  return {};
}

QString Bytes(const TappedFrame& frame) {
  if (frame.ascii) {
    QString text;
    for (char c : frame.bytes) {
      const auto b = static_cast<unsigned char>(c);
      if (b == '\r') {
        text += QStringLiteral("\\r");
      } else if (b == '\n') {
        text += QStringLiteral("\\n");
      } else if (b < 0x20 || b > 0x7E) {
        text += QStringLiteral("\\x%1").arg(b, 2, 16, QChar(u'0'));
      } else {
        text += QChar(b);
      }
    }
    return text;
  }
  QStringList pairs;
  for (char c : frame.bytes) {
    pairs << QStringLiteral("%1").arg(static_cast<unsigned char>(c), 2, 16, QChar(u'0')).toUpper();
  }
  return pairs.join(u' ');
}

}  // namespace

QString TraceLine(const TappedFrame& frame, std::int64_t startUs) {
  const double ms = static_cast<double>(frame.timeUs - startUs) / 1000.0;
  const QString direction =
      frame.direction == TappedFrame::Direction::Sent ? QStringLiteral("->") : QStringLiteral("<-");
  return QStringLiteral("%1 %2 %3  [%4]")
      .arg(ms, 10, 'f', 3)
      .arg(direction, Bytes(frame), CheckWord(frame));
}

}  // namespace rbx14
