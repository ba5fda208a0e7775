#pragma once
// The single receive path. The receive poll calls ReceiveAnswer while bytes
// are waiting; it assembles one answer across as many calls as it takes (RTU
// with its CRC check, ASCII up to the line feed), and hands a complete answer
// to the job that asked for it: values into the fields and the device's
// reference values, the block pointer moved, the next request of the chain
// started or the state window closed.

#include "base/globals.h"
#include "link/link_timing.h"
#include "link/modbus_frame.h"
#include "link/serial_port.h"
#include "base/timer.h"
#include "model/frm_config.h"
#include "transactions/transaction_progress.h"

#include <functional>
#include <string>

namespace rbx14 {

class Jobs;

class ResponseHandler {
 public:
  struct Calls {
    std::function<void()> checkChangedFields;
    std::function<void()> showMsgWindow;
    std::function<void()> closeStateWindow;
    std::function<void()> answerTaken;     // a good answer to the request on the line
    std::function<void()> somethingHeard;  // bytes that are no good answer (yet)
    std::function<void()> outputsRead;     // the monitor's fields show a new poll answer
    // Notes each acknowledged write step and the start of a read-out.
    TransactionProgress* progress = nullptr;
  };

  ResponseHandler(Globals& globals, FrmConfig& form, SerialPort& port, Jobs& jobs, Calls calls,
                  LinkTiming& timing, const Scheduler& clock);

  void ReceiveAnswer();
  // A new request goes out: whatever was half received belongs to no
  // answer of it.
  void RequestGoesOut();

  // The last answer as hex pairs (or, in ASCII, the text being collected).
  const std::string& sAnswerFrame() const { return sAnswerFrame_; }
  const RtuAnswerAssembler& rtu() const { return rtu_; }
  // How many read-outs have run to their end (the input bits, the last
  // answer of the chain, were taken in). A batch counts on this rather than
  // on timers to know that a device has been read completely.
  int completedReadOuts() const { return completedReadOuts_; }

 private:
  void arrivalHousekeeping();
  bool assembleRtu(const QByteArray& bytes);
  bool assembleAscii(const QByteArray& bytes);
  void dispatch();
  void takeNextStepNow();

  void readBlock();       // job 1
  void configBlock();
  void monitorBlock();
  void textBlock();
  void unitBlock();
  void writeAcknowledged();  // job 2
  void configBitsRead();     // job 3
  void configBitsWritten();  // job 4
  void inputRegisterWritten();  // job 5
  void probeAnswered();      // job 6
  void externalValuesRead(); // job 7
  void inputBitsWritten();   // job 8
  void inputBitsRead();      // job 9

  void retuneJobTimers(int readOutExtra);
  void advancePointer(int step);
  QString number(double value) const;
  double fieldNumber(const QString& text) const;
  int ownAddress() const;

  Globals& g_;
  FrmConfig& form_;
  SerialPort& port_;
  Jobs& jobs_;
  Calls calls_;
  LinkTiming& timing_;
  const Scheduler& clock_;
  RtuAnswerAssembler rtu_;
  std::string sAnswerFrame_;
  AsciiLineCollector asciiLine_;
  int completedReadOuts_ = 0;
};

}  // namespace rbx14
