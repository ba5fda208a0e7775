#include "link/link.h"

#include "base/numbers.h"
#include "link/codec.h"
#include "link/port_routing.h"
#include "base/texts.h"

#include <QLoggingCategory>

#include <algorithm>
#include <utility>

namespace rbx14 {

Q_LOGGING_CATEGORY(lcLink, "rbx14.link", QtWarningMsg)

namespace {

constexpr int kPollIntervalAsciiMs = 100;
constexpr int kPollIntervalRtuMs = 50;
// The repeat interval is the answer window: an answer not there within it
// counts as missing.
constexpr int kRepeatMs = 1000;
// Bytes dropped while the line is held keep it held this much longer, so an
// answer that is still coming in is dropped whole.
constexpr std::int64_t kQuietAfterDropUs = 100000;
// However much keeps arriving, the line is held at most this much beyond
// its answer window.
constexpr std::int64_t kLongestHoldBeyondUs = 2000000;

}  // namespace

Link::Link(Globals& globals, Controls form, SerialPort& port, MessageBoxes& messages,
           Calls calls, LinkTiming& timing, Scheduler& scheduler)
    : g_(globals),
      form_(form),
      port_(port),
      messages_(messages),
      calls_(std::move(calls)),
      timing_(timing),
      scheduler_(scheduler),
      lineQuiet_(scheduler.createTimer("LineQuiet", 1)) {
  lineQuiet_->setOnTick([this] {
    lineQuiet_->setEnabled(false);
    if (pendingFrame_.isEmpty()) return;
    // The hold may have grown while the frame waited.
    if (const std::int64_t waitUs = waitBeforeSendUs(); waitUs > 0) return armPending(waitUs);
    const QByteArray frame = std::exchange(pendingFrame_, QByteArray());
    if (port_.portOpen()) transmit(frame);
  });
  port_.setOnBytesArrived([this] { bytesArrived(); });
  for (int index : form_.Combo_Port.indices()) {
    form_.Combo_Port[index].onClick = [this, index] { Combo_Port_Click(index); };
  }
  form_.txt_Modbus_adress.onKeyPress = &Link::txt_Modbus_adress_KeyPress;
  form_.Timer3->setOnTick([this] { Timer3_Timer(); });
  form_.Timer4->setOnTick([this] { Timer4_Timer(); });
  form_.Timer5->setOnTick([this] { Timer5_Timer(); });
  port_.setOnFailure([this](int errorNumber) { PortFailed(errorNumber); });
}

void Link::SetStartValues() {
  g_.iComPort = 2;
  g_.sBaudRate = QStringLiteral("9600");
  g_.sParity = QStringLiteral("E");
  g_.sDataBits = QStringLiteral("8");
  g_.sStopBits = QStringLiteral("1");
  g_.iInputMode = 0;
  g_.bPortOpen = false;
  g_.sModbusMode = kModeNone;
  g_.sModbusFrame.clear();
  g_.iRegPointer = 0;
  g_.bSendFree = false;
  g_.lJobState = job_state::kNone;
  g_.iBusDelay = 0;
  g_.inputRefCount = 24;
}

void Link::FillSettingsLists() {
  ComboBox& ports = form_.Combo_Port[port_list::kPort];
  QStringList names;
  for (int n = 1; n <= PortRouting::kComPortCount; ++n) names << QStringLiteral("COM%1").arg(n);
  // Then whatever else the port can reach (the system's own serial ports,
  // a built-in device): list position n - 1 is still port number n.
  names << port_.portsBeyondCom40();
  ports.setItems(names);
  form_.Combo_Port[port_list::kBaud].setItems(
      {QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("57600")});
  form_.Combo_Port[port_list::kParity].setItems(
      {QStringLiteral("None"), QStringLiteral("Even"), QStringLiteral("Odd")});
  form_.Combo_Port[port_list::kMode].setItems({QStringLiteral("ASCII"), QStringLiteral("RTU")});
  form_.Combo_Port[port_list::kOpenClose].setItems({QStringLiteral("close"), QStringLiteral("open")});

  // Start entries, in this order; every selection applies all lists.
  ports.setListIndex(0);
  ComboBox& baud = form_.Combo_Port[port_list::kBaud];
  baud.setListIndex(std::max(0, static_cast<int>(baud.items().indexOf(g_.sBaudRate))));
  form_.Combo_Port[port_list::kParity].setListIndex(1);  // Even
  form_.Combo_Port[port_list::kMode].setListIndex(1);    // RTU
  ComboBox& openClose = form_.Combo_Port[port_list::kOpenClose];
  openClose.setListIndex(0);
  if (g_.bPortOpen) openClose.setListIndex(1);
}

void Link::ConfigurePort() {
  port_.setInputMode(static_cast<InputMode>(g_.iInputMode));
  port_.setSettings(g_.settingsString());
  port_.setCommPort(g_.iComPort);
}

void Link::applyMode(int position) {
  const bool ascii = position == 0;
  g_.sModbusMode = ascii ? kModeAscii : kModeRtu;
  g_.sDataBits = ascii ? QStringLiteral("7") : QStringLiteral("8");
  // iInputMode keeps its start value: it is what start-up writes to the
  // port. The mode itself goes to the port at once. Our ports hand over the
  // same bytes in either mode.
  port_.setInputMode(ascii ? InputMode::Text : InputMode::Binary);
  form_.Timer4->setInterval(ascii ? kPollIntervalAsciiMs : kPollIntervalRtuMs);
}

void Link::Combo_Port_Click(int /*index*/) {
  const int portPos = form_.Combo_Port[port_list::kPort].listIndex();
  g_.iComPort = portPos + 1;

  switch (form_.Combo_Port[port_list::kBaud].listIndex()) {
    case 0: g_.sBaudRate = QStringLiteral("9600"); break;
    case 1: g_.sBaudRate = QStringLiteral("19200"); break;
    case 2: g_.sBaudRate = QStringLiteral("57600"); break;
    default: break;
  }
  switch (form_.Combo_Port[port_list::kParity].listIndex()) {
    case 0: g_.sParity = QStringLiteral("N"); break;
    case 1: g_.sParity = QStringLiteral("E"); break;
    case 2: g_.sParity = QStringLiteral("O"); break;
    default: break;
  }
  g_.sStopBits = QStringLiteral("1");

  const int modePos = form_.Combo_Port[port_list::kMode].listIndex();
  if (modePos == 0 || modePos == 1) applyMode(modePos);

  const int openPos = form_.Combo_Port[port_list::kOpenClose].listIndex();
  if (openPos >= 0) g_.bPortOpen = openPos != 0;

  for (int list : {port_list::kPort, port_list::kBaud, port_list::kMode}) {
    form_.Combo_Port[list].setEnabled(!g_.bPortOpen);
  }

  // From here on a port error ends in the failure path.
  if (port_.commPort() != g_.iComPort) {
    if (port_.portOpen()) {
      if (const int err = port_.setPortOpen(false); err != port_error::kNone) return fail(err);
    }
    if (const int err = port_.setCommPort(g_.iComPort); err != port_error::kNone) return fail(err);
  }
  if (const int err = port_.setSettings(g_.settingsString()); err != port_error::kNone) {
    return fail(err);
  }
  if (port_.portOpen() != g_.bPortOpen) {
    if (const int err = port_.setPortOpen(g_.bPortOpen); err != port_error::kNone) return fail(err);
  }

  const bool network = port_.onNetwork();
  form_.Combo_Port[port_list::kBaud].setEnabled(!g_.bPortOpen && !network);
  form_.Combo_Port[port_list::kParity].setEnabled(!network);

  if (port_.portOpen()) {
    form_.Timer4->setEnabled(true);
    g_.lJobState = job_state::kProbe;
    form_.chk_read_out.setEnabled(true);
    if (calls_.checkChangedFields) calls_.checkChangedFields();
    form_.read_out_parameter.setEnabled(true);
    form_.lbl_desc[desc::kPollCaption].setEnabled(true);
    sendProbe();
  } else {
    // Nothing held back goes out on a closed port.
    pendingFrame_.clear();
    holdUntilUs_ = -1;
    form_.read_out_parameter.setEnabled(false);
    form_.set_parameter.setEnabled(false);
    form_.chk_read_out.setEnabled(false);
    form_.Timer4->setEnabled(false);
    form_.chk_read_out.setValue(0);
    form_.lbl_desc[desc::kPollCaption].setEnabled(false);
  }
}

void Link::sendProbe() {
  if (form_.txt_Modbus_adress.text().isEmpty()) return;
  if (calls_.buildProbe) calls_.buildProbe();
  send();
  g_.bSendFree = false;
}

void Link::ProbeDevice() {
  if (!port_.portOpen()) return;
  // A fresh start: the time-out of an earlier silent device must not fall
  // into this read-out.
  form_.Timer3->setEnabled(false);
  form_.lbl_desc[desc::kCommWarning].setVisible(false);
  form_.Timer4->setEnabled(true);
  g_.lJobState = job_state::kProbe;
  sendProbe();
}

void Link::lendLine(Borrower borrower) { borrower_ = std::move(borrower); }

void Link::returnLine() { borrower_.reset(); }

void Link::fail(int errorNumber) {
  qCInfo(lcLink) << "port error" << errorNumber;
  const QString detail = port_.failureDetail(g_.english());
  messages_.information(texts::kPortNotAvailable + NumberWithSignSpace(errorNumber) +
                        (detail.isEmpty() ? QString() : QStringLiteral(" (") + detail + u')'));
  // Back to "close"; that runs the settings once more with the port closed.
  // A second failure on the way must not loop.
  if (failing_) {
    g_.bPortOpen = false;
    return;
  }
  failing_ = true;
  form_.Combo_Port[port_list::kOpenClose].setListIndex(0);
  failing_ = false;
  g_.bPortOpen = false;
}

void Link::PortFailed(int errorNumber) {
  // One failure, one message: a second notice while this one is handled (or
  // after the port is closed) changes nothing.
  if (lost_ || !port_.portOpen()) return;
  lost_ = true;
  ++portFailures_;
  lastPortError_ = errorNumber;
  // A scan on the line ends first and hands it back.
  if (borrower_) {
    const auto lost = borrower_->lost;
    if (lost) lost();
    borrower_.reset();
  }
  qCWarning(lcLink) << "port failed underneath, error" << errorNumber;
  // Nothing sent from now on can arrive: the jobs, the repeats and the
  // time-out stop, and the window that shows the transaction goes without
  // starting the next step.
  for (TickTimer* timer : {form_.Timer1, form_.Timer2, form_.Timer3,
                           form_.Timer5, form_.Timer6, form_.Timer7}) {
    timer->setEnabled(false);
  }
  if (calls_.lost) calls_.lost();
  g_.lJobState = job_state::kNone;
  g_.bSendFree = false;
  pendingFrame_.clear();
  holdUntilUs_ = -1;
  if (calls_.abandonTransaction) calls_.abandonTransaction();
  form_.lbl_desc[desc::kCommWarning].setVisible(false);
  // "close" in the list closes the port and disables what needs it, as if the
  // user had chosen it; "open" later starts afresh with the probe.
  form_.Combo_Port[port_list::kOpenClose].setListIndex(0);
  messages_.information(lostText(g_.english()));
  lost_ = false;
}

QString Link::lostText(bool english) const {
  const QString detail = port_.failureDetail(english);
  return detail.isEmpty() ? texts::kPortLost.in(english) : texts::kPortLost.in(english) + u' ' + detail;
}

void Link::send() {
  const bool repeat = std::exchange(repeating_, false);
  form_.Timer5->setEnabled(false);
  form_.lbl_desc[desc::kCommWarning].setVisible(false);
  form_.chk_read_out.setEnabled(true);

  if (!port_.portOpen()) {
    messages_.information(texts::kPortNotOpen);
    return;
  }
  const bool rtu = g_.sModbusMode == kModeRtu;
  if (!rtu && g_.sModbusMode != kModeAscii) return;  // no mode chosen yet: nothing goes out
  if (!repeat) sendsOfRequest_ = 0;
  const std::string frame = rtu ? BuildRtuFrame(g_.sModbusFrame) : BuildAsciiFrame(g_.sModbusFrame);
  const QByteArray bytes(frame.data(), static_cast<qsizetype>(frame.size()));
  if (const std::int64_t waitUs = waitBeforeSendUs(); waitUs > 0) {
    pendingFrame_ = bytes;
    return armPending(waitUs);
  }
  pendingFrame_.clear();
  transmit(bytes);
}

std::int64_t Link::waitBeforeSendUs() const {
  const std::int64_t now = scheduler_.nowUs();
  const auto line = ParsePortSettings(g_.settingsString());
  std::int64_t waitUs =
      line ? timing_.waitBeforeSendUs(now, g_.sModbusMode == kModeRtu, *line) : std::int64_t{0};
  if (holdUntilUs_ > now) waitUs = std::max(waitUs, holdUntilUs_ - now);
  return waitUs;
}

void Link::armPending(std::int64_t waitUs) {
  lineQuiet_->setInterval(static_cast<int>((waitUs + 999) / 1000));
  lineQuiet_->setEnabled(true);
}

void Link::transmit(const QByteArray& frame) {
  // Whatever came in before the request goes out cannot be its answer.
  if (port_.inBufferCount() > 0) port_.input();
  if (calls_.requestGoesOut) calls_.requestGoesOut();
  const std::int64_t now = scheduler_.nowUs();
  if (sendsOfRequest_ == 0) firstSendUs_ = now;
  ++sendsOfRequest_;
  lastSendUs_ = now;
  repeatPostponed_ = false;
  port_.output(frame);
  // A port that closed itself while writing gets no repeat: the repeat would
  // only bring up "not open" every second.
  form_.Timer5->setEnabled(port_.portOpen());
}

bool Link::holding() const { return holdUntilUs_ > scheduler_.nowUs(); }

void Link::holdUntil(std::int64_t us) {
  const std::int64_t now = scheduler_.nowUs();
  const std::int64_t from = std::max(now, holdUntilUs_);
  if (us <= from) return;
  holdUntilUs_ = us;
  // The state window's budget is for a line that answers; time spent
  // waiting out a missing answer is added to it.
  if (calls_.answerDelayed) calls_.answerDelayed(static_cast<int>((us - from + 999) / 1000));
}

void Link::AnswerTaken() {
  form_.Timer5->setEnabled(false);
  form_.Timer3->setEnabled(false);
  form_.lbl_desc[desc::kCommWarning].setVisible(false);
  if (sendsOfRequest_ <= 1) return;
  // The device heard the request more than once and may answer each copy,
  // late ones included. Its answer to the last copy comes no later after
  // that copy than this answer came after the first, and within the answer
  // window: until then the line is held.
  const std::int64_t now = scheduler_.nowUs();
  const std::int64_t windowUs = std::max<std::int64_t>(kRepeatMs * 1000LL, now - firstSendUs_);
  sendsOfRequest_ = 1;
  const std::int64_t until = lastSendUs_ + windowUs + kQuietAfterDropUs;
  holdLimitUs_ = until + kLongestHoldBeyondUs;
  holdUntil(until);
}

void Link::SomethingHeard() {
  // Setting the interval restarts the countdown; once per request, so that
  // a line that never falls quiet still gets its repeats and its time-out.
  if (!form_.Timer5->enabled() || repeatPostponed_) return;
  repeatPostponed_ = true;
  form_.Timer5->setInterval(kRepeatMs);
}

bool Link::dropWhileHolding() {
  if (!holding() || port_.inBufferCount() <= 0) return false;
  port_.input();
  const std::int64_t now = scheduler_.nowUs();
  timing_.noteArrival(now);
  holdUntil(std::min(now + kQuietAfterDropUs, holdLimitUs_));
  return true;
}

void Link::bytesArrived() {
  if (borrower_) {
    if (borrower_->bytesArrived) borrower_->bytesArrived();
    return;
  }
  if (dropWhileHolding()) return;
  // On the fast link the answer is handled the moment it arrives; the
  // receive poll stays as the fallback.
  if (timing_.fast() && port_.portOpen()) Timer4_Timer();
}

void Link::Timer3_Timer() {
  form_.Timer1->setEnabled(false);
  form_.Timer2->setEnabled(false);
  form_.Timer5->setEnabled(false);
  form_.Timer6->setEnabled(false);
  form_.Timer7->setEnabled(false);
  form_.lbl_desc[desc::kCommWarning].setVisible(true);
  if (calls_.gaveUp) calls_.gaveUp();
}

void Link::Timer4_Timer() {
  if (borrower_) return;  // the scan reads the line itself
  if (dropWhileHolding()) return;
  if (port_.inBufferCount() >= 1 && calls_.receiveAnswer) calls_.receiveAnswer();
}

void Link::Timer5_Timer() {
  repeating_ = true;
  send();
  form_.Timer3->setEnabled(true);
  if (calls_.answerDelayed) calls_.answerDelayed(kRepeatMs);
}

void Link::txt_Modbus_adress_KeyPress(int& keyAscii) {
  const bool digit = keyAscii >= '0' && keyAscii <= '9';
  if (keyAscii != 8 && !digit) keyAscii = 0;
}

}  // namespace rbx14
