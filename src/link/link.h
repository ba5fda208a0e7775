#pragma once
// The serial link as the main window drives it: the start-up of the port,
// the settings lists, the transmit routine with its retransmission and
// answer time-out, and the receive poll.

#include "base/globals.h"
#include "link/link_timing.h"
#include "link/serial_port.h"
#include "base/timer.h"
#include "model/controls.h"
#include "model/form_indices.h"
#include "base/message_box.h"

#include <functional>
#include <memory>
#include <optional>

namespace rbx14 {

class Link {
 public:
  // What the link calls in the other subsystems.
  struct Calls {
    std::function<void()> receiveAnswer;       // bytes are waiting
    std::function<void()> checkChangedFields;  // port state changed
    std::function<void()> buildProbe;          // fills sModbusFrame with the probe
    std::function<void()> abandonTransaction;  // the state window goes, nothing follows
    std::function<void()> requestGoesOut;      // a request is about to go on the line
    std::function<void(int ms)> answerDelayed; // time spent waiting out a missing answer
    std::function<void()> gaveUp;              // the time-out: no answer after the repeats
    std::function<void()> lost;                // the port failed under a transaction
  };

  // The main window's controls and timers the link works with.
  struct Controls {
    ControlArray<ComboBox>& Combo_Port;  // settings lists and the open/close list
    TextBox& txt_Modbus_adress;
    ControlArray<Label>& lbl_desc;        // the warning about a silent device
    CheckBox& chk_read_out;               // output polling
    CommandButton& read_out_parameter;
    CommandButton& set_parameter;
    TickTimer* Timer1;  // configuration write job
    TickTimer* Timer2;  // input-register write job
    TickTimer* Timer3;  // answer time-out
    TickTimer* Timer4;  // receive poll
    TickTimer* Timer5;  // retransmission
    TickTimer* Timer6;  // read-out job
    TickTimer* Timer7;  // output-register monitor
  };

  Link(Globals& globals, Controls form, SerialPort& port, MessageBoxes& messages, Calls calls,
       LinkTiming& timing, Scheduler& scheduler);

  // Start values of the link globals (the first step of the program).
  void SetStartValues();
  // The load steps of the window that concern the link: fill the settings
  // lists and select their start entries (each selection applies them).
  void FillSettingsLists();
  // The last start-up step: input mode, settings and port number to the port.
  void ConfigurePort();

  void Combo_Port_Click(int index);
  void send();
  void Timer3_Timer();
  void Timer4_Timer();
  void Timer5_Timer();
  // A good answer to the request on the line was taken: the repeats and the
  // time-out stop. When the request went out more than once, the device may
  // still answer a repeat; the line is then held for one answer window:
  // nothing goes out and whatever arrives is dropped, so that no late answer
  // is taken for the next request.
  void AnswerTaken();
  // Bytes arrived that are not (yet) a good answer: the repeat waits a whole
  // repeat interval from the last thing heard, so it never goes out over an
  // answer still on the line.
  void SomethingHeard();
  // The line is held after a repeated request was answered.
  bool holding() const;
  // The open port failed underneath (the adapter was pulled): the jobs stop,
  // the port is closed and the user is told once.
  void PortFailed(int errorNumber);
  // Failures underneath handled so far, and the error number of the last
  // (for callers without a message box, who report it themselves).
  int portFailures() const { return portFailures_; }
  int lastPortError() const { return lastPortError_; }
  // The message of a port lost underneath, with what the port knows of it
  // (a network line's host, port and why).
  QString lostText(bool english) const;
  // The chosen port is a line behind a network gateway, whose baud rate and
  // parity are the gateway's: the lists for them are disabled.
  bool onNetwork() const { return port_.onNetwork(); }

  // Key filter of the address field: Backspace and digits pass.
  static void txt_Modbus_adress_KeyPress(int& keyAscii);

  // Probes the device at the address field as opening the port does; its
  // answer starts the full read-out.
  void ProbeDevice();

  // The bus scan borrows the line: while it is lent, arriving bytes go to the
  // borrower instead of the response handler, and a port that fails
  // underneath tells the borrower first, so it can hand the line back.
  struct Borrower {
    std::function<void()> bytesArrived;
    std::function<void()> lost;
  };
  void lendLine(Borrower borrower);
  void returnLine();
  bool lineLent() const { return borrower_.has_value(); }
  // A request waits for the line's silence before it goes out.
  bool requestPending() const { return !pendingFrame_.isEmpty(); }

 private:
  void sendProbe();
  void applyMode(int position);
  void fail(int errorNumber);
  void transmit(const QByteArray& frame);
  void bytesArrived();
  std::int64_t waitBeforeSendUs() const;
  void armPending(std::int64_t waitUs);
  void holdUntil(std::int64_t us);
  bool dropWhileHolding();

  Globals& g_;
  Controls form_;
  SerialPort& port_;
  MessageBoxes& messages_;
  Calls calls_;
  LinkTiming& timing_;
  Scheduler& scheduler_;
  // On the fast link an RTU frame waits here until the line has been quiet
  // for 3.5 characters.
  std::unique_ptr<TickTimer> lineQuiet_;
  QByteArray pendingFrame_;
  // The request on the line: how often it went out, and when.
  bool repeating_ = false;
  int sendsOfRequest_ = 0;
  std::int64_t firstSendUs_ = 0;
  std::int64_t lastSendUs_ = 0;
  std::int64_t holdUntilUs_ = -1;
  std::int64_t holdLimitUs_ = -1;  // a line that never falls quiet is held no longer
  bool repeatPostponed_ = false;   // once per transmission
  bool failing_ = false;
  bool lost_ = false;  // handling a port that failed underneath
  std::optional<Borrower> borrower_;
  int portFailures_ = 0;
  int lastPortError_ = 0;
};

}  // namespace rbx14
