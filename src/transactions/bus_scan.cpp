#include "transactions/bus_scan.h"

#include "base/device_registers.h"
#include "link/codec.h"
#include "link/frame_summary.h"
#include "link/frame_tap.h"
#include "link/link_timing.h"
#include "model/enumerations.h"
#include "base/texts.h"
#include "transactions/request_builders.h"

#include <QLoggingCategory>

#include <cmath>

namespace rbx14 {

Q_LOGGING_CATEGORY(lcScan, "rbx14.scan", QtWarningMsg)

namespace {

constexpr int kProbeRegister = device::kBusDelayRegister;
// Coding, firmware and device type (registers 0 to 2) up to the minimum
// response time (register 15), in one read.
constexpr int kIdentityRegister = 0x0000;
constexpr int kIdentityCount = 16;
constexpr int kResponseTimeRegister = device::kMinResponseTimeRegister;
// The identity read is a second request to a device that has just answered:
// one repeat when it is lost, so a single disturbed frame does not hide
// what the device is.
constexpr int kIdentityTries = 2;

constexpr int kReadFunction = 0x03;
constexpr int kExceptionBit = 0x80;

// Characters of a read request and of its answer on the line.
int RequestChars(bool ascii) { return ascii ? 1 + 2 * 7 + 2 : 8; }
int AnswerChars(bool ascii, int quantity) {
  const int body = 3 + 2 * quantity;  // address, function, count, data
  return ascii ? 1 + 2 * (body + 1) + 2 : body + 2;
}

// The last whole frame of what came in: in ASCII the last line a line feed
// has ended, from its ":"; in RTU the bytes as they are.
QByteArray LastFrame(const QByteArray& bytes, bool ascii) {
  if (!ascii) return bytes;
  const qsizetype end = bytes.lastIndexOf('\n');
  if (end < 0) return {};
  const qsizetype colon = bytes.lastIndexOf(':', end);
  return colon < 0 ? QByteArray() : bytes.mid(colon, end - colon + 1);
}

}  // namespace

QString DeviceTypeName(std::optional<int> deviceType, bool english) {
  if (deviceType) {
    const int position = PositionOfCode(ListId::kDeviceType, *deviceType);
    if (position >= 0) {
      return ItemsOf(ListId::kDeviceType)[static_cast<std::size_t>(position)].text.in(english);
    }
  }
  return texts::kScanUnknown.in(english);
}

int ScanAnswerWindowMs(const PortSettings& line, bool ascii, int requestChars, int answerChars,
                       int allowanceMs) {
  const double charUs = CharacterTimeUs(line);
  const double silenceUs = ascii ? 0.0 : static_cast<double>(LinkTiming::SilenceUs(line));
  const double framesUs = charUs * (requestChars + answerChars) + silenceUs;
  return static_cast<int>(std::ceil(framesUs / 1000.0)) + allowanceMs;
}

std::optional<std::vector<std::uint16_t>> ReadAnswerRegisters(const QByteArray& bytes, bool ascii,
                                                              int address, int quantity) {
  // The tap's own check (CRC or LRC, and the address) and its unframing.
  const QByteArray frame = LastFrame(bytes, ascii);
  if (CheckFrame(frame, ascii, address) != TappedFrame::Check::Good) return std::nullopt;
  const QByteArray pdu =
      FramePdu(TappedFrame{TappedFrame::Direction::Received, 0, frame, ascii, TappedFrame::Check::Good});
  if (pdu.size() != 3 + 2 * quantity) return std::nullopt;
  const auto byteAt = [&](qsizetype i) { return static_cast<std::uint8_t>(pdu[i]); };
  if (byteAt(1) != kReadFunction || byteAt(2) != 2 * quantity) return std::nullopt;
  std::vector<std::uint16_t> registers;
  for (int i = 0; i < quantity; ++i) {
    registers.push_back(static_cast<std::uint16_t>(byteAt(3 + 2 * i) << 8 | byteAt(4 + 2 * i)));
  }
  return registers;
}

bool ReadAnswerComplete(const QByteArray& bytes, bool ascii, int quantity) {
  if (ascii) return bytes.contains('\n');
  if (bytes.size() < 3) return false;
  const int function = static_cast<std::uint8_t>(bytes[1]);
  if (function & kExceptionBit) return bytes.size() >= 5;
  // A count other than the one asked for still tells the frame's length.
  const int count = function == kReadFunction ? static_cast<std::uint8_t>(bytes[2]) : 2 * quantity;
  return bytes.size() >= 5 + count;
}

BusScan::BusScan(Globals& globals, FrmConfig& form, const FrmState& stateWindow, Link& link,
                 SerialPort& port, Scheduler& scheduler)
    : g_(globals),
      form_(form),
      stateWindow_(stateWindow),
      link_(link),
      port_(port),
      window_(scheduler.createTimer("ScanWindow", 100)),
      gap_(scheduler.createTimer("ScanGap", 1)) {
  window_->setOnTick([this] { windowEnded(); });
  gap_->setOnTick([this] { afterGap(); });
}

BusScan::~BusScan() {
  if (running()) link_.returnLine();
}

bool BusScan::canStart() const {
  if (running() || !port_.portOpen() || stateWindow_.loaded() || link_.requestPending()) {
    return false;
  }
  // Timer3 keeps ticking after the communication warning; it waits for no
  // answer then. Timer4 is the receive poll.
  for (const TickTimer* job : {form_.Timer1.get(), form_.Timer2.get(), form_.Timer5.get(),
                               form_.Timer6.get(), form_.Timer7.get()}) {
    if (job->enabled()) return false;
  }
  return g_.sModbusMode == kModeRtu || g_.sModbusMode == kModeAscii;
}

bool BusScan::start(std::vector<int> addresses, Events events) {
  const auto line = ParsePortSettings(port_.settings());
  if (!canStart() || addresses.empty() || !line) return false;
  events_ = std::move(events);
  addresses_ = std::move(addresses);
  devices_.clear();
  next_ = 0;
  cancelled_ = false;
  ascii_ = g_.sModbusMode == kModeAscii;
  line_ = *line;
  saved_.takeAndStop(g_, form_);
  link_.lendLine({.bytesArrived = [this] { bytesArrived(); },
                  .lost = [this] { finish(ScanEnd::PortLost); }});
  port_.input();  // whatever was waiting belongs to no request of ours
  qCInfo(lcScan) << "scan of" << addresses_.size() << "addresses";
  stage_ = Stage::Gap;
  nextAddress();
  return true;
}

void BusScan::cancel() {
  if (!running()) return;
  cancelled_ = true;
  // Between requests nothing is under way: end now. Otherwise the answer
  // window in progress runs out first, so that no late answer of the scan
  // reaches the link.
  if (stage_ == Stage::Gap) finish(ScanEnd::Cancelled);
}

void BusScan::nextAddress() {
  if (cancelled_ || next_ >= addresses_.size()) {
    finish(cancelled_ ? ScanEnd::Cancelled : ScanEnd::Completed);
    return;
  }
  address_ = addresses_[next_++];
  device_ = FoundDevice{};
  device_.address = address_;
  identityTries_ = 0;
  afterGap_ = Stage::Probe;
  // The line keeps its silence between the last frame and the next request.
  const auto silenceMs = static_cast<int>((LinkTiming::SilenceUs(line_) + 999) / 1000);
  gap_->setInterval(std::max(1, silenceMs));
  gap_->setEnabled(true);
  stage_ = Stage::Gap;
}

void BusScan::afterGap() {
  gap_->setEnabled(false);
  if (cancelled_) return finish(ScanEnd::Cancelled);
  if (afterGap_ == Stage::Probe) {
    sendRequest(Stage::Probe, kProbeRegister, 1);
  } else {
    sendRequest(Stage::Identity, kIdentityRegister, kIdentityCount);
  }
}

void BusScan::sendRequest(Stage stage, int start, int quantity) {
  if (!port_.portOpen()) return finish(ScanEnd::PortLost);
  const std::string request = ReadRequest(QString::number(address_), kReadFunction, start, quantity);
  const std::string frame = ascii_ ? BuildAsciiFrame(request) : BuildRtuFrame(request);
  answer_.clear();
  port_.input();  // a stray byte must not open the answer
  stage_ = stage;
  window_->setInterval(ScanAnswerWindowMs(line_, ascii_, RequestChars(ascii_),
                                          AnswerChars(ascii_, quantity), allowanceMs_));
  window_->setEnabled(true);
  port_.output(QByteArray(frame.data(), static_cast<qsizetype>(frame.size())));
}

void BusScan::bytesArrived() {
  const QByteArray bytes = port_.input();
  if (stage_ != Stage::Probe && stage_ != Stage::Identity) return;
  answer_.append(bytes);
  const int quantity = stage_ == Stage::Probe ? 1 : kIdentityCount;
  if (ReadAnswerComplete(answer_, ascii_, quantity)) {
    window_->setEnabled(false);
    answerReceived();
  }
}

void BusScan::windowEnded() {
  window_->setEnabled(false);
  answer_.append(port_.input());
  answerReceived();
}

void BusScan::answerReceived() {
  const bool probe = stage_ == Stage::Probe;
  const auto registers =
      ReadAnswerRegisters(answer_, ascii_, address_, probe ? 1 : kIdentityCount);
  answer_.clear();
  if (probe && registers) {
    device_.busDelay = static_cast<std::int16_t>((*registers)[0]);
    if (!cancelled_) {
      afterGap_ = Stage::Identity;
      stage_ = Stage::Gap;
      gap_->setEnabled(true);
      return;
    }
    listDevice();  // cancelled: listed without its identity
  } else if (!probe) {
    if (registers) {
      device_.coding = (*registers)[0];
      device_.firmware = (*registers)[1];
      device_.deviceType = (*registers)[2];
      device_.responseTimeMs = (*registers)[kResponseTimeRegister];
    } else if (++identityTries_ < kIdentityTries && !cancelled_) {
      stage_ = Stage::Gap;
      gap_->setEnabled(true);
      return;
    }
    listDevice();
  }
  if (events_.progress) events_.progress(static_cast<int>(next_), static_cast<int>(addresses_.size()));
  nextAddress();
}

void BusScan::listDevice() {
  devices_.push_back(device_);
  qCInfo(lcScan) << "device at" << device_.address;
  if (events_.found) events_.found(device_);
}

void BusScan::finish(ScanEnd end) {
  window_->setEnabled(false);
  gap_->setEnabled(false);
  stage_ = Stage::Idle;
  // No answer of the scan may reach the link after it.
  if (end != ScanEnd::PortLost) port_.input();
  link_.returnLine();
  saved_.restore(g_, form_);
  qCInfo(lcScan) << "scan ended," << devices_.size() << "devices";
  // The handler may start the next scan, which replaces the handlers.
  const auto finished = events_.finished;
  if (finished) finished(end);
}

}  // namespace rbx14
