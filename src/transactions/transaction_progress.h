#pragma once
// How far the running read-out or write got, and how it ended. The response
// handler notes each acknowledged write step as it takes the answer; the
// link, the state window and the cancel button report the end. Whoever
// tells the user (the window, the command line) listens here: the
// technician must know which registers the unit holds after a write broke
// off, and which fields show no device values after a read-out broke off.

#include "base/device_registers.h"

#include <QList>
#include <QString>

#include <functional>
#include <map>

namespace rbx14 {

enum class TransactionEndKind {
  Done,       // every step answered
  NoAnswer,   // the link gave up after its repeats
  PortLost,   // the port failed underneath
  Cancelled,  // the user (or a signal) stopped it
  OutOfTime,  // the state window's time budget closed it first
};

struct TransactionEnd {
  bool write = false;
  TransactionEndKind how = TransactionEndKind::Done;
  // What was left: for a write the steps not acknowledged, for a read-out
  // the job and block pointer that were still to be answered.
  int job = 0;
  int pointer = 0;
};

class TransactionProgress {
 public:
  // The write chain's steps: six blocks of configuration registers 0-59, 22
  // blocks of display texts from 0x0300, six blocks of units from 0x0400,
  // then the 32 bits in one frame.
  static constexpr int kConfigSteps = device::kConfigTransferred / device::kBlockRegisters;
  static constexpr int kTextSteps = device::kTextBlocks;
  static constexpr int kUnitSteps = device::kUnitBlocks;
  static constexpr int kRegisterSteps = kConfigSteps + kTextSteps + kUnitSteps;
  static constexpr int kChainSteps = kRegisterSteps + 1;

  void beginReadOut();
  // What the write will send: the chain of registers and bits, the input
  // registers (field indices) and the input bits.
  void beginWrite(bool chain, QList<int> inputRegisters, bool inputBits);

  // Acknowledged steps of a write.
  void blockWritten(int firstRegister);
  void configBitsWritten();
  void inputRegisterWritten(int index);
  void inputBitsWritten();

  // The end of the running transaction; only the first report counts.
  void end(TransactionEndKind how, int job, int pointer);
  // The state window closes: a write whose steps were all answered, or a
  // read-out whose chain closed it, is done; a budget that ran out is not.
  void windowCloses(bool budgetRanOut, int job, int pointer);

  bool running() const { return running_; }
  bool writing() const { return running_ && write_; }
  bool writeComplete() const;
  // Steps of the chain acknowledged in order (0..kChainSteps).
  int chainSteps() const { return chainSteps_; }

  int addListener(std::function<void(const TransactionEnd&)> listener);
  void removeListener(int id);

  // Steps [from, to) of the chain as register ranges (empty when none).
  static QStringList DescribeChain(int from, int to, bool english);
  // What the last write put on the device, and what of it it did not.
  QStringList written(bool english) const;
  QStringList notWritten(bool english) const;
  // What a read-out that ended at `job` / `pointer` left unread.
  static QStringList NotRead(int job, int pointer, bool english);
  // The message for a transaction that ended without success (empty when
  // it succeeded).
  QString endMessage(const TransactionEnd& end, bool english) const;
  // The short form for the status line.
  QString endStatus(const TransactionEnd& end, bool english) const;

 private:
  bool running_ = false;
  bool write_ = false;
  bool chain_ = false;
  int chainSteps_ = 0;
  QList<int> inputRegisters_;
  QList<int> inputRegistersWritten_;
  bool inputBits_ = false;
  bool inputBitsWritten_ = false;
  int nextListener_ = 0;
  std::map<int, std::function<void(const TransactionEnd&)>> listeners_;
};

}  // namespace rbx14
