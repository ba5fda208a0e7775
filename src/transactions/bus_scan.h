#pragma once
// The bus scan: which devices answer on this line? Each address gets the
// probe (holding register 0x0021, which the link takes as its delay) once,
// with a short answer window; an address that answers is then read for its
// coding, firmware and device type (registers 0 to 2) and its minimum
// response time (register 15). The scan has the line to
// itself: it stops the job timers and the receive poll, reads the port on its
// own, and when it ends the link is exactly as it was before.

#include "base/globals.h"
#include "link/link.h"
#include "link/serial_port.h"
#include "base/timer.h"
#include "model/frm_config.h"
#include "transactions/link_snapshot.h"
#include "transactions/state_window.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace rbx14 {

struct FoundDevice {
  int address = 0;
  // The probe's answer, holding register 0x0021: the link takes it as its
  // delay, while on this unit it holds the cooling reset time in minutes.
  int busDelay = 0;
  // Registers 0 to 2 and 15; empty when the device answered the probe but
  // not the read of its identity.
  std::optional<int> coding;
  std::optional<int> firmware;
  std::optional<int> deviceType;
  std::optional<int> responseTimeMs;  // the minimum response time
};

// The name of a device type code in the running language ("VX9"); unknown
// codes and a type not read say so.
QString DeviceTypeName(std::optional<int> deviceType, bool english);

// How a scan ended.
enum class ScanEnd { Completed, Cancelled, PortLost };

// The longest a device takes from the end of a request to the first byte of
// its answer. The unit answers after its minimum response time (10 ms from
// the factory, 5 at the least) and a USB adapter holds received bytes up to
// 16 ms before it hands them on; 50 ms covers both with room to spare and
// keeps a scan of all 247 addresses at 9600 baud near 20 s. A unit set to
// answer slower than that needs a longer allowance.
inline constexpr int kScanAnswerAllowanceMs = 50;

// The time from writing a request of `requestChars` characters until an
// answer of `answerChars` characters must be complete: both frames on the
// line, the silence after them (RTU), and the device's time to answer.
int ScanAnswerWindowMs(const PortSettings& line, bool ascii, int requestChars, int answerChars,
                       int allowanceMs = kScanAnswerAllowanceMs);

// The register values of a read answer (function 03) from `address` with
// `quantity` registers, checked (CRC in RTU, LRC in ASCII); nothing for any
// other frame.
std::optional<std::vector<std::uint16_t>> ReadAnswerRegisters(const QByteArray& frame, bool ascii,
                                                              int address, int quantity);

// True once `bytes` hold a whole answer to a read of `quantity` registers, or
// an exception answer; false while more may come (or the bytes are no answer
// whose length can be told).
bool ReadAnswerComplete(const QByteArray& bytes, bool ascii, int quantity);

class BusScan {
 public:
  struct Events {
    std::function<void(int done, int total)> progress;  // after each address
    std::function<void(const FoundDevice&)> found;
    std::function<void(ScanEnd)> finished;
  };

  BusScan(Globals& globals, FrmConfig& form, const FrmState& stateWindow, Link& link,
          SerialPort& port, Scheduler& scheduler);
  ~BusScan();
  BusScan(const BusScan&) = delete;
  BusScan& operator=(const BusScan&) = delete;

  // The line is free for a scan: the port is open, no state window shows a
  // transaction and no job waits for an answer.
  bool canStart() const;
  // Scans the addresses in order; false (and nothing happens) when the line
  // is not free or the list is empty.
  bool start(std::vector<int> addresses, Events events);
  // Sends nothing more; the answer window in progress runs out, then the
  // scan ends with ScanEnd::Cancelled.
  void cancel();
  bool running() const { return stage_ != Stage::Idle; }

  const std::vector<FoundDevice>& devices() const { return devices_; }

  // The longest a device may take to begin its answer, ms.
  void setAnswerAllowanceMs(int ms) { allowanceMs_ = ms; }
  int answerAllowanceMs() const { return allowanceMs_; }

 private:
  enum class Stage { Idle, Gap, Probe, Identity };

  void sendRequest(Stage stage, int start, int quantity);
  void bytesArrived();
  void windowEnded();
  void answerReceived();
  void nextAddress();
  void afterGap();
  void listDevice();
  void finish(ScanEnd end);

  Globals& g_;
  FrmConfig& form_;
  const FrmState& stateWindow_;
  Link& link_;
  SerialPort& port_;
  std::unique_ptr<TickTimer> window_;  // the answer window of a request
  std::unique_ptr<TickTimer> gap_;     // the line's silence before the next request
  Events events_;
  Stage stage_ = Stage::Idle;
  Stage afterGap_ = Stage::Probe;
  LinkSnapshot saved_;
  std::vector<int> addresses_;
  std::size_t next_ = 0;   // index of the next address to probe
  int address_ = 0;        // the address in hand
  int identityTries_ = 0;
  bool cancelled_ = false;
  bool ascii_ = false;
  PortSettings line_;
  QByteArray answer_;
  FoundDevice device_;
  std::vector<FoundDevice> devices_;
  int allowanceMs_ = kScanAnswerAllowanceMs;
};

}  // namespace rbx14
