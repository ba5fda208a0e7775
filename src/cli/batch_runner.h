#pragma once
// The batch: for each address what a technician does in the window, through
// the window's own handlers. Open the port with the address (probe, full
// read-out), load a file, press the write button, wait for the chain and
// its read-back, save or compare. Waiting is a service from outside (the
// event loop in the program, the virtual clock in tests), so the same batch
// runs in both.

#include "cli/file_comparison.h"
#include "record/commissioning_record.h"
#include "session/config_core.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace rbx14 {

// Runs the program until done() holds or timeoutMs have passed; returns
// whether done() held.
class Waiter {
 public:
  virtual ~Waiter() = default;
  virtual bool waitUntil(const std::function<bool()>& done, int timeoutMs) = 0;
};

// Where the batch tells what it does: progress (stderr, may be quiet),
// results the user asked for (stdout: differences, a dry run's changes) and
// errors (stderr, always).
struct BatchSink {
  std::function<void(const QString&)> progress;
  std::function<void(const QString&)> result;
  std::function<void(const QString&)> error;
  // True once the user wants the batch to end (a signal): a write ends
  // after the frame on the line and says which registers the device holds.
  std::function<bool()> stopRequested;
};

// Refused: the file does not fit the device (another device type), nothing
// was written to it.
enum class DeviceResult { Ok, Differences, NoAnswer, Error, Refused };

struct DeviceReport {
  int address = 0;
  QString deviceType;  // register 0 as read
  QString firmware;    // register 1 as read
  DeviceResult result = DeviceResult::Error;
  int differences = 0;
  std::int64_t readOutMs = 0;
  std::int64_t writeMs = 0;
  QString reason = {};  // why the device failed or was refused, as told
};

// A commissioning record per unit: where, by whom, and what the head names.
struct RecordRequest {
  QString folder;
  QString technician;
  QString program;  // "rbx14-cli"
  QString port;     // as given on the command line
  QString file;     // the parameter file
};

// Captions, labels and the message table in the given language, whatever
// the settings say.
void UseLanguage(ConfigCore& core, bool english);

// 0 when every device is ok, 2 when a device refused the file, else 1.
int ExitStatus(const std::vector<DeviceReport>& reports);

class BatchRunner {
 public:
  BatchRunner(ConfigCore& core, Waiter& waiter, const Scheduler& clock, BatchSink sink);
  BatchRunner(const BatchRunner&) = delete;
  BatchRunner& operator=(const BatchRunner&) = delete;

  // Saves each device's read-out; {address} in the pattern becomes the
  // address. english chooses the labels of the saved file.
  std::vector<DeviceReport> read(const std::vector<int>& addresses, const QString& pattern,
                                 bool english);
  // Per device: read-out, load, write what differs, read back, compare.
  // A file of another device type than the unit's is written only when
  // forceType is given.
  std::vector<DeviceReport> write(const std::vector<int>& addresses, const QStringList& lines,
                                  bool dryRun, bool forceType = false);
  // Per device: read-out and compare.
  std::vector<DeviceReport> verify(const std::vector<int>& addresses, const QStringList& lines);

  bool english() const { return english_; }
  void setEnglish(bool english) { english_ = english; }
  // write and verify: a record of each unit, whatever became of it.
  void setRecord(RecordRequest request) { record_ = std::move(request); }
  // Whether a record could not be written.
  bool recordFailed() const { return recordFailed_; }

 private:
  // PortFailed: the port did not open; PortLost: it failed underneath
  // (the adapter pulled, the line gone) while the batch used it.
  // Stopped: a signal ended the batch.
  enum class Outcome { Done, NoAnswer, Stalled, PortFailed, PortLost, Stopped };

  // Reads each device out and then runs `step` on it; a failure is
  // reported on the device, and a port that failed or was lost ends the
  // batch at once.
  std::vector<DeviceReport> forEachDevice(const std::vector<int>& addresses,
                                          const std::function<Outcome(DeviceReport&)>& step);
  Outcome readOut(DeviceReport& report);
  Outcome writeBack(DeviceReport& report);
  // Until what the session started has ended (or the port is lost, or a
  // signal stops the batch).
  Outcome waitForEnd();
  bool portLost() const;
  bool stopping() const { return sink_.stopRequested && sink_.stopRequested(); }
  // A signal during a write: the block on the line finishes, and the
  // blocks the device acknowledged are reported.
  Outcome stopWrite(DeviceReport& report);
  void warnAboutUntransferred(const QStringList& lines);
  void compare(DeviceReport& report, const QStringList& lines);
  void failed(DeviceReport& report, Outcome outcome);
  void progress(const QString& text) const;
  void saveRecord(const DeviceReport& report);

  ConfigCore& core_;
  Waiter& waiter_;
  const Scheduler& clock_;
  BatchSink sink_;
  bool english_ = false;
  int portFailuresBefore_ = 0;  // the link's count when the batch began
  bool writeStopReported_ = false;

  std::optional<RecordRequest> record_;
  bool recordFailed_ = false;
  // The device in hand, for its record: what it is and its values as
  // read before anything was written, whether a write ran, and the
  // differences of the last comparison.
  std::optional<record::UnitIdentity> unit_;
  std::map<int, QString> readValues_;
  bool wrote_ = false;
  std::vector<FieldDifference> differences_;
};

}  // namespace rbx14
