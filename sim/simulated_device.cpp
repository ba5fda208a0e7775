#include "sim/simulated_device.h"

#include "link/codec.h"
#include "sim/modbus_slave.h"

#include <QStringList>

#include <algorithm>
#include <string>

namespace rbx14::sim {
namespace {

constexpr int kMaxResponseDelayMs = 3000;
constexpr PortSettings kDefaultLine{9600, 'E', 8, 1};

std::string HexPairs(const QByteArray& bytes) {
  std::string out;
  for (char b : bytes) out += ByteToHexStr(static_cast<std::uint8_t>(b));
  return out;
}

QByteArray ToBytes(const std::string& s) {
  return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QString FrameText(const QByteArray& frame, LineMode mode) {
  if (mode == LineMode::Ascii) return QString::fromLatin1(frame).trimmed();
  QStringList pairs;
  for (char b : frame) pairs << QString::fromStdString(ByteToHexStr(static_cast<std::uint8_t>(b)));
  return pairs.join(u' ');
}

SimulatedDevice::SimulatedDevice(DeviceSettings settings)
    : settings_(settings),
      faults_(settings.faults),
      characterTimeUs_(CharacterTimeUs(kDefaultLine)),
      rtu_(characterTimeUs_) {}

void SimulatedDevice::setLine(const PortSettings& line) {
  characterTimeUs_ = CharacterTimeUs(line);
  resetLine();
}

void SimulatedDevice::setMode(LineMode mode) {
  settings_.mode = mode;
  resetLine();
}

void SimulatedDevice::resetLine() {
  rtu_ = RtuRequestReader(characterTimeUs_);
  ascii_ = AsciiRequestReader();
}

int SimulatedDevice::responseDelayMs() const {
  if (settings_.responseDelayMs) return std::clamp(*settings_.responseDelayMs, 0, kMaxResponseDelayMs);
  const auto configured = static_cast<std::int16_t>(image_.reg(kMinResponseTimeRegister));
  return std::clamp<int>(configured, 0, kMaxResponseDelayMs);
}

void SimulatedDevice::log(LineEvent::Kind kind, std::int64_t timeUs, const QByteArray& frame,
                          const QString& note) {
  if (log_) log_(LineEvent{kind, timeUs, frame, note});
}

TimedBytes SimulatedDevice::receive(std::uint8_t byte, std::int64_t endUs) {
  const bool rtu = settings_.mode == LineMode::Rtu;
  const auto got = rtu ? rtu_.push(byte, endUs) : ascii_.push(byte);
  if (!got) return {};
  if (!got->frame.checkGood) {
    log(LineEvent::Kind::BadCheck, endUs, got->received, rtu ? QStringLiteral("bad CRC") : QStringLiteral("bad LRC"));
    return {};
  }
  const QByteArray body = QByteArray::fromStdString(got->frame.pdu);
  if (body.size() < 2 || static_cast<unsigned char>(body[0]) != settings_.address) {
    log(LineEvent::Kind::OtherAddress, endUs, frame(body), QStringLiteral("other address"));
    return {};
  }
  log(LineEvent::Kind::Request, endUs, frame(body));
  return answer(body, endUs);
}

QByteArray SimulatedDevice::frame(const QByteArray& body) const {
  if (settings_.mode == LineMode::Ascii) return ToBytes(BuildAsciiFrame(HexPairs(body)));
  return ToBytes(BuildRtuFrame(HexPairs(body)));
}

void SimulatedDevice::corrupt(QByteArray& bytes, const FaultPlan& plan) const {
  if (settings_.mode == LineMode::Rtu) {
    bytes[plan.corruptIndex] = static_cast<char>(bytes[plan.corruptIndex] ^ plan.corruptMask);
    return;
  }
  // In ASCII a damaged character stays a hex digit, so the frame still ends
  // where it should and only its LRC tells.
  const qsizetype digits = bytes.size() - 3;  // without ":" and CR LF
  if (digits <= 0) return;
  const qsizetype at = 1 + plan.corruptIndex % digits;
  static constexpr char kHex[] = "0123456789ABCDEF";
  const qsizetype old = std::max<qsizetype>(QByteArrayView(kHex).indexOf(bytes[at]), 0);
  bytes[at] = kHex[(old + 1 + plan.corruptMask % 15) % 16];
}

void SimulatedDevice::collide(QByteArray& bytes, const QByteArray& body) const {
  // Another slave answers the same request at the same moment. On the bus a
  // driven 0 wins over a 1, so both answers' bytes arrive ANDed, as far as
  // the shorter one goes.
  QByteArray other = body;
  other[0] = static_cast<char>(settings_.address % 247 + 1);
  other = frame(other);
  for (qsizetype k = 0; k < std::min(bytes.size(), other.size()); ++k) bytes[k] = static_cast<char>(bytes[k] & other[k]);
}

TimedBytes SimulatedDevice::answer(const QByteArray& request, std::int64_t endUs) {
  QByteArray body = AnswerRequest(image_, request.mid(1), endUs / 1000);
  body.prepend(request[0]);

  QByteArray out = frame(body);
  const FaultPlan plan = faults_.next(static_cast<int>(out.size()));
  QStringList notes;
  if (plan.drop) {
    log(LineEvent::Kind::Dropped, endUs, out, QStringLiteral("fault: dropped"));
    return {};
  }
  if (plan.wrongAddress) {
    body[0] = static_cast<char>(settings_.address % 247 + 1);
    out = frame(body);
    notes << QStringLiteral("another address");
  }
  if (plan.collision) {
    collide(out, body);
    notes << QStringLiteral("second device");
  }
  if (plan.corruptIndex >= 0) {
    corrupt(out, plan);
    notes << QStringLiteral("corrupted");
  }
  if (plan.stray) {
    // A glitch as the line turns round reads as one byte of all ones but a
    // low bit, ahead of the answer.
    out.prepend('\xFE');
    notes << QStringLiteral("stray byte");
  }
  if (plan.extraDelayMs > 0) notes << QStringLiteral("late");
  if (!plan.chunkEnds.empty()) notes << QStringLiteral("split");

  // The answer starts after the response delay, and never while the device
  // is still sending an earlier one.
  const std::int64_t delayUs = std::int64_t{1000} * (responseDelayMs() + plan.extraDelayMs);
  const std::int64_t firstByteStartUs = std::max(endUs + delayUs, lineFreeUs_);
  std::int64_t startUs = firstByteStartUs;
  TimedBytes timed;
  std::size_t chunk = 0;
  for (qsizetype k = 0; k < out.size(); ++k) {
    if (chunk < plan.chunkEnds.size() && k == plan.chunkEnds[chunk]) {
      startUs += std::int64_t{1000} * faults_.settings().splitGapMs;
      ++chunk;
    }
    const auto due = startUs + static_cast<std::int64_t>(characterTimeUs_ * static_cast<double>(k + 1) + 0.5);
    timed.push_back({due, out[k]});
  }
  lineFreeUs_ = timed.back().dueUs;
  log(LineEvent::Kind::Answer, firstByteStartUs, out,
      notes.isEmpty() ? QString() : QStringLiteral("fault: ") + notes.join(QStringLiteral(", ")));
  return timed;
}

}  // namespace rbx14::sim
