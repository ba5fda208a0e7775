#include "transactions/transaction_progress.h"

#include "base/device_registers.h"
#include "base/globals.h"
#include "base/texts.h"

#include <algorithm>
#include <array>

namespace rbx14 {
namespace {

QString Hex(int v) {
  return QStringLiteral("0x%1").arg(v, 4, 16, QChar(u'0')).toUpper().replace(u'X', u'x');
}

// Input registers as runs: "input registers 0x0200-0x0205, 0x0210".
QString InputRegisters(QList<int> indices, bool english) {
  std::sort(indices.begin(), indices.end());
  QStringList runs;
  for (qsizetype k = 0; k < indices.size();) {
    qsizetype e = k;
    while (e + 1 < indices.size() && indices[e + 1] == indices[e] + 1) ++e;
    const int lo = device::kInputFirst + indices[k];
    const int hi = device::kInputFirst + indices[e];
    runs << (lo == hi ? Hex(lo) : Hex(lo) + u'-' + Hex(hi));
    k = e + 1;
  }
  return texts::kPartInputRegisters.in(english) + u' ' + runs.join(QStringLiteral(", "));
}

// "a, b and c".
QString Listed(const QStringList& parts, bool english) {
  if (parts.isEmpty()) return texts::kNothingPart.in(english);
  if (parts.size() == 1) return parts.front();
  return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + texts::kAnd.in(english) +
         parts.back();
}

QString How(TransactionEndKind how, bool english) {
  switch (how) {
    case TransactionEndKind::NoAnswer: return texts::kEndNoAnswer.in(english);
    case TransactionEndKind::PortLost: return texts::kEndPortLost.in(english);
    case TransactionEndKind::Cancelled: return texts::kEndCancelled.in(english);
    case TransactionEndKind::OutOfTime: return texts::kEndOutOfTime.in(english);
    case TransactionEndKind::Done: break;
  }
  return QString();
}

}  // namespace

void TransactionProgress::beginReadOut() {
  running_ = true;
  write_ = false;
}

void TransactionProgress::beginWrite(bool chain, QList<int> inputRegisters, bool inputBits) {
  running_ = true;
  write_ = true;
  chain_ = chain;
  chainSteps_ = 0;
  inputRegisters_ = std::move(inputRegisters);
  inputRegistersWritten_.clear();
  inputBits_ = inputBits;
  inputBitsWritten_ = false;
}

void TransactionProgress::blockWritten(int firstRegister) {
  int step = -1;
  if (firstRegister >= 0 && firstRegister < device::kConfigTransferred) {
    step = firstRegister / device::kBlockRegisters;
  } else if (firstRegister >= device::kTextFirst && firstRegister < device::kTextEnd) {
    step = kConfigSteps + (firstRegister - device::kTextFirst) / device::kBlockRegisters;
  } else if (firstRegister >= device::kUnitFirst && firstRegister < device::kUnitEnd) {
    step = kConfigSteps + kTextSteps + (firstRegister - device::kUnitFirst) / device::kBlockRegisters;
  }
  // The chain goes block by block: an acknowledged block means the ones
  // before it were acknowledged too.
  if (step >= 0) chainSteps_ = std::max(chainSteps_, step + 1);
}

void TransactionProgress::configBitsWritten() { chainSteps_ = kChainSteps; }

void TransactionProgress::inputRegisterWritten(int index) {
  if (!inputRegistersWritten_.contains(index)) inputRegistersWritten_ << index;
}

void TransactionProgress::inputBitsWritten() { inputBitsWritten_ = true; }

bool TransactionProgress::writeComplete() const {
  if (chain_ && chainSteps_ < kChainSteps) return false;
  for (int i : inputRegisters_) {
    if (!inputRegistersWritten_.contains(i)) return false;
  }
  return !inputBits_ || inputBitsWritten_;
}

void TransactionProgress::end(TransactionEndKind how, int job, int pointer) {
  if (!running_) return;
  running_ = false;
  // A job of neither chain (the probe, the output polling) ends nothing
  // that was begun here: the transaction was left when the port closed.
  using namespace job_state;
  const bool ofWrite = job == kConfigWrite || job == kWriteConfigBits ||
                       job == kWriteInputRegisters || job == kWriteInputBits;
  const bool ofReadOut = job == kReadOut || job == kReadConfigBits || job == kReadExternalValues ||
                         job == kReadInputBits;
  if (write_ ? !ofWrite : !ofReadOut) return;
  const TransactionEnd end{write_, how, job, pointer};
  // A listener may start the next transaction; it works on a copy.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(end);
}

void TransactionProgress::windowCloses(bool budgetRanOut, int job, int pointer) {
  if (!running_) return;
  const bool done = write_ ? writeComplete() : !budgetRanOut;
  end(done ? TransactionEndKind::Done : TransactionEndKind::OutOfTime, job, pointer);
}

int TransactionProgress::addListener(std::function<void(const TransactionEnd&)> listener) {
  listeners_[++nextListener_] = std::move(listener);
  return nextListener_;
}

void TransactionProgress::removeListener(int id) { listeners_.erase(id); }

QStringList TransactionProgress::DescribeChain(int from, int to, bool english) {
  QStringList parts;
  const auto range = [&](int base, int firstStep, int steps, const texts::LocalText& name, bool hex) {
    const int a = std::max(from, firstStep) - firstStep;
    const int b = std::min(to, firstStep + steps) - firstStep;
    if (a >= b) return;
    const int lo = base + 10 * a;
    const int hi = base + 10 * b - 1;
    const auto number = [hex](int v) { return hex ? Hex(v) : QString::number(v); };
    parts << name.in(english) + u' ' + number(lo) + u'-' + number(hi);
  };
  range(0, 0, kConfigSteps, texts::kPartRegisters, false);
  range(device::kTextFirst, kConfigSteps, kTextSteps, texts::kPartTextRegisters, true);
  range(device::kUnitFirst, kConfigSteps + kTextSteps, kUnitSteps, texts::kPartUnitRegisters, true);
  if (from <= kRegisterSteps && to > kRegisterSteps) parts << texts::kPartBits.in(english);
  return parts;
}

QStringList TransactionProgress::written(bool english) const {
  QStringList parts = chain_ ? DescribeChain(0, chainSteps_, english) : QStringList();
  if (!inputRegistersWritten_.isEmpty()) parts << InputRegisters(inputRegistersWritten_, english);
  if (inputBitsWritten_) parts << texts::kPartInputBits.in(english);
  return parts;
}

QStringList TransactionProgress::notWritten(bool english) const {
  QStringList parts = chain_ ? DescribeChain(chainSteps_, kChainSteps, english) : QStringList();
  QList<int> left;
  for (int i : inputRegisters_) {
    if (!inputRegistersWritten_.contains(i)) left << i;
  }
  if (!left.isEmpty()) parts << InputRegisters(left, english);
  if (inputBits_ && !inputBitsWritten_) parts << texts::kPartInputBits.in(english);
  return parts;
}

QStringList TransactionProgress::NotRead(int job, int pointer, bool english) {
  // The read-out goes configuration blocks, texts, units (job 1, the
  // pointer at the next block), then bits (3), input values (7) and input
  // bits (9).
  QStringList parts;
  if (job == job_state::kReadOut) {
    if (pointer < device::kConfigTransferred) parts << texts::kUnreadConfig.in(english).arg(pointer);
    if (pointer < device::kTextFirst) {
      parts << texts::kUnreadTexts.in(english);
    } else if (pointer < device::kTextEnd) {
      const int first = (pointer - device::kTextFirst) / device::kBlockRegisters;
      parts << (first == 0 ? texts::kUnreadTexts.in(english)
                           : texts::kUnreadSomeTexts.in(english).arg(first));
    }
    if (pointer < device::kUnitFirst) {
      parts << texts::kUnreadUnits.in(english);
    } else if (pointer < device::kUnitEnd) {
      const int first = (pointer - device::kUnitFirst) / device::kBlockRegisters * 3;
      parts << (first == 0 ? texts::kUnreadUnits.in(english)
                           : texts::kUnreadSomeUnits.in(english).arg(first));
    }
  }
  // The read-out's jobs in the order they run: what comes after the job it
  // stopped in was not read either.
  constexpr std::array kReadChain{job_state::kReadOut, job_state::kReadConfigBits,
                                  job_state::kReadExternalValues, job_state::kReadInputBits};
  const auto stage = std::find(kReadChain.begin(), kReadChain.end(), job) - kReadChain.begin();
  if (stage <= 1) parts << texts::kUnreadBits.in(english);
  if (stage <= 2) parts << texts::kUnreadInputValues.in(english);
  if (stage <= 3) parts << texts::kUnreadInputBits.in(english);
  return parts;
}

QString TransactionProgress::endMessage(const TransactionEnd& end, bool english) const {
  if (end.how == TransactionEndKind::Done) return QString();
  if (end.write) {
    return texts::kWriteBrokeOff.in(english).arg(How(end.how, english),
                                                  Listed(written(english), english),
                                                  Listed(notWritten(english), english));
  }
  return texts::kReadBrokeOff.in(english).arg(How(end.how, english),
                                               Listed(NotRead(end.job, end.pointer, english), english));
}

QString TransactionProgress::endStatus(const TransactionEnd& end, bool english) const {
  if (end.how == TransactionEndKind::Done) return QString();
  return end.write ? texts::kStatusWriteBrokeOff.in(english).arg(Listed(notWritten(english), english))
                   : texts::kStatusReadBrokeOff.in(english).arg(
                         Listed(NotRead(end.job, end.pointer, english), english));
}

}  // namespace rbx14
