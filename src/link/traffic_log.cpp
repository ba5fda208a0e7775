#include "link/traffic_log.h"

#include "link/frame_summary.h"
#include "base/texts.h"

#include <algorithm>

namespace rbx14 {
namespace {

QString BytesText(const TappedFrame& frame) {
  if (frame.ascii) {
    QByteArray text = frame.bytes;
    while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
    QString out;
    for (char c : text) {
      const auto b = static_cast<unsigned char>(c);
      // Noise on the line stays visible without breaking the row.
      if (b < 0x20 || b > 0x7E) {
        out += QStringLiteral("\\x%1").arg(b, 2, 16, QChar(u'0'));
      } else {
        out += QChar(b);
      }
    }
    return out;
  }
  QString out;
  out.reserve(frame.bytes.size() * 3);
  for (char c : frame.bytes) {
    if (!out.isEmpty()) out += u' ';
    out += QStringLiteral("%1").arg(static_cast<unsigned char>(c), 2, 16, QChar(u'0')).toUpper();
  }
  return out;
}

QString CheckText(const TappedFrame& frame, bool english) {
  const QString sum = frame.ascii ? QStringLiteral("LRC") : QStringLiteral("CRC");
  switch (frame.check) {
    case TappedFrame::Check::Good: return texts::kTrafficCheckGood.in(english).arg(sum);
    case TappedFrame::Check::Bad: return texts::kTrafficCheckBad.in(english).arg(sum);
    case TappedFrame::Check::OtherAddress: return texts::kTrafficCheckOtherAddress.in(english);
  }
  return {};
}

}  // namespace

QStringList CountTexts(const TrafficCounts& counts, bool english) {
  return {texts::kTrafficRequests.in(english).arg(counts.requests),
          texts::kTrafficAnswers.in(english).arg(counts.answers),
          texts::kTrafficRepeats.in(english).arg(counts.repeats),
          texts::kTrafficTimeouts.in(english).arg(counts.timeouts),
          texts::kTrafficChecksumErrors.in(english).arg(counts.checksumErrors),
          texts::kTrafficOtherAddresses.in(english).arg(counts.otherAddresses)};
}

QString TrafficColumnTitle(TrafficColumn column, bool english) {
  switch (column) {
    case TrafficColumn::Time: return texts::kTrafficColumnTime.in(english);
    case TrafficColumn::Direction: return texts::kTrafficColumnDirection.in(english);
    case TrafficColumn::Bytes: return texts::kTrafficColumnBytes.in(english);
    case TrafficColumn::Summary: return texts::kTrafficColumnSummary.in(english);
    case TrafficColumn::Check: return texts::kTrafficColumnCheck.in(english);
  }
  return {};
}

void TrafficLog::append(const TappedFrame& frame) {
  if (!haveOrigin_) {
    haveOrigin_ = true;
    originUs_ = frame.timeUs;
  }
  count(frame);
  if (paused_) return;
  if (ring_.size() < static_cast<std::size_t>(kCapacity)) {
    ring_.push_back(frame);
  } else {
    // Full: the newest takes the place of the oldest.
    ring_[static_cast<std::size_t>(oldest_)] = frame;
    oldest_ = (oldest_ + 1) % kCapacity;
    ++firstNumber_;
  }
  ++endNumber_;
}

void TrafficLog::count(const TappedFrame& frame) {
  if (frame.check == TappedFrame::Check::Bad) ++counts_.checksumErrors;
  if (frame.check == TappedFrame::Check::OtherAddress) ++counts_.otherAddresses;
  if (frame.direction == TappedFrame::Direction::Sent) {
    ++counts_.requests;
    if (requestOpen_) {
      if (!heardAddress_) ++counts_.timeouts;
      if (!goodAnswer_ && frame.bytes == lastRequest_) ++counts_.repeats;
    }
    requestOpen_ = true;
    heardAddress_ = false;
    goodAnswer_ = false;
    lastRequest_ = frame.bytes;
    return;
  }
  if (frame.check == TappedFrame::Check::Good) {
    ++counts_.answers;
    goodAnswer_ = true;
  }
  // A damaged frame may well be the asked device's answer: it was heard.
  if (frame.check != TappedFrame::Check::OtherAddress) heardAddress_ = true;
}

void TrafficLog::clear() {
  ring_.clear();
  oldest_ = 0;
  firstNumber_ = endNumber_;
  counts_ = {};
  haveOrigin_ = false;
  requestOpen_ = false;
  heardAddress_ = false;
  goodAnswer_ = false;
  lastRequest_.clear();
}

const TappedFrame& TrafficLog::row(int index) const {
  const auto n = static_cast<int>(ring_.size());
  return ring_[static_cast<std::size_t>((oldest_ + index) % n)];
}

const TappedFrame* TrafficLog::numbered(std::uint64_t number) const {
  if (number < firstNumber_ || number >= endNumber_) return nullptr;
  return &row(static_cast<int>(number - firstNumber_));
}

QString TrafficLog::cell(const TappedFrame& frame, TrafficColumn column, bool english) const {
  switch (column) {
    case TrafficColumn::Time:
      return QString::number(static_cast<double>(frame.timeUs - originUs_) / 1000.0, 'f', 3);
    case TrafficColumn::Direction:
      return frame.direction == TappedFrame::Direction::Sent ? texts::kTrafficSent.in(english)
                                                             : texts::kTrafficReceived.in(english);
    case TrafficColumn::Bytes: return BytesText(frame);
    case TrafficColumn::Summary: return SummaryText(SummarizeFrame(frame), english);
    case TrafficColumn::Check: return CheckText(frame, english);
  }
  return {};
}

QString TrafficLog::rowText(const TappedFrame& frame, bool english) const {
  QStringList cells;
  for (int c = 0; c < kTrafficColumns; ++c) cells << cell(frame, static_cast<TrafficColumn>(c), english);
  return cells.join(u'\t');
}

QString TrafficLog::rowsText(std::vector<int> indexes, bool english) const {
  std::sort(indexes.begin(), indexes.end());
  indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
  QString out;
  for (int index : indexes) {
    if (index < 0 || index >= size()) continue;
    out += rowText(row(index), english) + u'\n';
  }
  return out;
}

QString TrafficLog::allText(bool english) const {
  QString out = CountTexts(counts_, english).join(QStringLiteral(", ")) + u'\n';
  QStringList titles;
  for (int c = 0; c < kTrafficColumns; ++c) titles << TrafficColumnTitle(static_cast<TrafficColumn>(c), english);
  out += titles.join(u'\t') + u'\n';
  for (int i = 0; i < size(); ++i) out += rowText(row(i), english) + u'\n';
  return out;
}

}  // namespace rbx14
