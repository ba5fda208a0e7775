#include "cli/batch_runner.h"

#include "cli/cli_texts.h"
#include "base/numbers.h"
#include "files/parameter_check.h"
#include "files/parameter_file.h"
#include "model/change_tracking.h"
#include "model/register_fields.h"
#include "shell/localisation.h"

#include <QDateTime>

#include <algorithm>

namespace rbx14 {
namespace {

// Longer than any job's time budget (a 16-bit count of milliseconds) and
// the repeats before the link gives up on a silent device: the limit is
// only there so that nothing can hang.
constexpr int kWriteLimitMs = 240000;
// The longest the frame on the line may take when a signal stops a write:
// its repeats and the link's time-out.
constexpr int kSettleLimitMs = 20000;

// Steps [from, to) of the write chain as register ranges.
QString DescribeSteps(int from, int to, bool english) {
  const QStringList parts = TransactionProgress::DescribeChain(from, to, english);
  return parts.isEmpty() ? cli_texts::kNothing.in(english) : parts.join(QStringLiteral(", "));
}

// The register line that no block of the device carries.
constexpr int kUntransferredLine = file_layout::kUntransferredRegisterLine;

}  // namespace

void UseLanguage(ConfigCore& core, bool english) {
  UseLanguageTexts(core.globals, english);
  core.form.applyLanguage(english);
}

int ExitStatus(const std::vector<DeviceReport>& reports) {
  int status = 0;
  for (const DeviceReport& r : reports) {
    if (r.result == DeviceResult::Refused) return 2;
    if (r.result != DeviceResult::Ok) status = 1;
  }
  return status;
}

BatchRunner::BatchRunner(ConfigCore& core, Waiter& waiter, const Scheduler& clock, BatchSink sink)
    : core_(core),
      waiter_(waiter),
      clock_(clock),
      sink_(std::move(sink)),
      english_(core.globals.english()) {}

void BatchRunner::progress(const QString& text) const {
  if (sink_.progress) sink_.progress(text);
}

BatchRunner::Outcome BatchRunner::waitForEnd() {
  Outcome outcome = Outcome::Stalled;
  waiter_.waitUntil(
      [&] {
        if (portLost()) {
          outcome = Outcome::PortLost;
        } else if (stopping()) {
          outcome = Outcome::Stopped;
        } else if (const auto end = core_.lastEnd()) {
          switch (end->how) {
            case TransactionEndKind::Done: outcome = Outcome::Done; break;
            case TransactionEndKind::NoAnswer: outcome = Outcome::NoAnswer; break;
            case TransactionEndKind::PortLost: outcome = Outcome::PortLost; break;
            case TransactionEndKind::Cancelled: outcome = Outcome::Stopped; break;
            case TransactionEndKind::OutOfTime: outcome = Outcome::Stalled; break;
          }
        } else {
          return false;
        }
        return true;
      },
      kWriteLimitMs);
  return outcome;
}

bool BatchRunner::portLost() const {
  return core_.link.portFailures() > portFailuresBefore_;
}

BatchRunner::Outcome BatchRunner::readOut(DeviceReport& report) {
  // A port lost between two devices is lost for this one too.
  if (portLost()) return Outcome::PortLost;
  progress(cli_texts::kReading.in(english_).arg(report.address));
  const std::int64_t start = clock_.nowMs();
  if (!core_.openDevice(report.address)) return Outcome::PortFailed;
  const Outcome outcome = waitForEnd();
  report.readOutMs = clock_.nowMs() - start;
  if (outcome == Outcome::Done) {
    report.deviceType = core_.form.txt_data_cfg[0].text();
    report.firmware = core_.form.txt_data_cfg[1].text();
    progress(cli_texts::kReadDone.in(english_).arg(report.address).arg(report.readOutMs));
    if (record_) {
      unit_ = record::IdentityOf(core_.form, english_);
      readValues_ = record::ValuesByKey(record::ReadValues(core_.form, english_, core_.globals.decimalSep()));
    }
  }
  return outcome;
}

BatchRunner::Outcome BatchRunner::writeBack(DeviceReport& report) {
  progress(cli_texts::kWriting.in(english_).arg(report.address));
  const std::int64_t start = clock_.nowMs();
  if (!core_.writeChanges()) return Outcome::Stalled;  // nothing started
  wrote_ = true;
  const Outcome outcome = waitForEnd();
  report.writeMs = clock_.nowMs() - start;
  if (outcome == Outcome::Stopped) return stopWrite(report);
  if (outcome == Outcome::Done) {
    progress(cli_texts::kWriteDone.in(english_).arg(report.address).arg(report.writeMs));
  }
  return outcome;
}

BatchRunner::Outcome BatchRunner::stopWrite(DeviceReport& report) {
  core_.holdNewFrames();
  waiter_.waitUntil(
      [&] {
        core_.holdNewFrames();
        const auto end = core_.lastEnd();
        return core_.lineFree() || portLost() || (end && end->how == TransactionEndKind::NoAnswer);
      },
      kSettleLimitMs);
  // The response handler noted each block the device acknowledged.
  const int written = core_.progress.chainSteps();
  report.result = DeviceResult::Error;
  writeStopReported_ = true;
  report.reason = cli_texts::kStopped.in(english_).arg(report.address).arg(
      DescribeSteps(0, written, english_),
      DescribeSteps(written, TransactionProgress::kChainSteps, english_));
  if (sink_.error) sink_.error(report.reason);
  return Outcome::Stopped;
}

void BatchRunner::warnAboutUntransferred(const QStringList& lines) {
  if (lines.size() < kUntransferredLine) return;
  if (ValueField(lines[kUntransferredLine - 1]).value_or(QString()).trimmed().isEmpty()) return;
  if (sink_.error) {
    sink_.error(cli_texts::kNotTransferred.in(english_).arg(kUntransferredLine).arg(
        CaptionOfLine(core_.form, lines, kUntransferredLine)));
  }
}

void BatchRunner::failed(DeviceReport& report, Outcome outcome) {
  report.result = DeviceResult::Error;
  switch (outcome) {
    case Outcome::NoAnswer:
      report.result = DeviceResult::NoAnswer;
      report.reason = cli_texts::kNoAnswer.in(english_).arg(report.address);
      progress(report.reason);
      break;
    case Outcome::PortFailed:
      // Shown even when quiet: no device of the batch can be reached.
      report.reason = cli_texts::kPortFailed.in(english_);
      if (sink_.error) sink_.error(report.reason);
      break;
    case Outcome::Stopped:
      // A write said what it left; a read-out or the probe wrote nothing.
      if (!writeStopReported_) {
        report.reason = cli_texts::kStoppedReading.in(english_).arg(report.address);
        if (sink_.error) sink_.error(report.reason);
      }
      break;
    case Outcome::PortLost:
      // The device in hand fails with the port's error; the link has
      // already stopped its jobs and closed the port.
      report.reason = cli_texts::kPortLost.in(english_)
                          .arg(report.address)
                          .arg(core_.link.lastPortError())
                          .arg(core_.link.lostText(english_));
      if (sink_.error) sink_.error(report.reason);
      break;
    default:
      report.reason = cli_texts::kStalled.in(english_).arg(report.address);
      progress(report.reason);
      break;
  }
  // What a technician does when a device fails: cancel what runs and close the port.
  core_.cancel();
}

void BatchRunner::compare(DeviceReport& report, const QStringList& lines) {
  const auto differences = CompareWithFile(core_.form, lines, core_.globals.decimalSep());
  differences_ = differences;
  report.differences = static_cast<int>(differences.size());
  report.result = differences.empty() ? DeviceResult::Ok : DeviceResult::Differences;
  for (const FieldDifference& d : differences) {
    if (sink_.result) {
      sink_.result(cli_texts::kDifferenceLine.in(english_)
                       .arg(report.address)
                       .arg(d.line)
                       .arg(d.caption, Printable(d.fileValue), Printable(d.deviceValue)));
    }
  }
  progress(differences.empty()
               ? cli_texts::kVerifyOk.in(english_).arg(report.address)
               : cli_texts::kDifferences.in(english_).arg(report.address).arg(differences.size()));
}

void BatchRunner::saveRecord(const DeviceReport& report) {
  if (!record_) return;
  record::CommissioningRecord r;
  r.english = english_;
  r.program = record_->program;
  r.when = QDateTime::currentDateTime();
  r.port = record_->port;
  record::TakeLine(r, core_.form);
  r.address = report.address;
  r.unit = unit_;
  r.technician = record_->technician;
  r.file = record_->file;
  const bool compared = report.result == DeviceResult::Ok || report.result == DeviceResult::Differences;
  if (compared) {
    r.result = report.result == DeviceResult::Ok ? record::RecordResult::Verified
                                                 : record::RecordResult::Differences;
    // The values as read back; a write's changes beside their value before.
    // The unit is named as it stands now: a write may have given it its
    // location.
    r.unit = record::IdentityOf(core_.form, english_);
    r.values = record::ReadValues(core_.form, english_, core_.globals.decimalSep());
    if (wrote_) r.before = readValues_;
    for (const FieldDifference& d : differences_) {
      r.differences.push_back({d.line, d.caption, Printable(d.fileValue), Printable(d.deviceValue)});
    }
  } else {
    r.result = record::RecordResult::Failed;
    r.failure = report.reason.isEmpty() ? cli_texts::kStalled.in(english_).arg(report.address)
                                        : report.reason;
  }
  QString error;
  if (const auto path = record::SaveRecord(r, record_->folder, &error)) {
    progress(cli_texts::kRecordSaved.in(english_).arg(report.address).arg(*path));
  } else {
    recordFailed_ = true;
    if (sink_.error) {
      sink_.error(cli_texts::kRecordNotSaved.in(english_).arg(report.address).arg(record_->folder, error));
    }
  }
}

std::vector<DeviceReport> BatchRunner::forEachDevice(
    const std::vector<int>& addresses, const std::function<Outcome(DeviceReport&)>& step) {
  std::vector<DeviceReport> reports;
  portFailuresBefore_ = core_.link.portFailures();
  for (int address : addresses) {
    if (stopping()) {
      if (sink_.error) sink_.error(cli_texts::kStoppedBefore.in(english_).arg(address));
      break;
    }
    DeviceReport& report = reports.emplace_back();
    report.address = address;
    unit_.reset();
    readValues_.clear();
    wrote_ = false;
    differences_.clear();
    Outcome outcome = readOut(report);
    if (outcome == Outcome::Done) outcome = step(report);
    if (outcome != Outcome::Done) failed(report, outcome);
    saveRecord(report);
    if (outcome == Outcome::Done) continue;
    if (outcome == Outcome::PortFailed || outcome == Outcome::PortLost ||
        outcome == Outcome::Stopped) {
      break;
    }
  }
  return reports;
}

std::vector<DeviceReport> BatchRunner::read(const std::vector<int>& addresses,
                                            const QString& pattern, bool english) {
  return forEachDevice(addresses, [&](DeviceReport& report) {
    // The file's labels and header follow the chosen language.
    UseLanguage(core_, english);
    const QString path =
        QString(pattern).replace(QStringLiteral("{address}"), QString::number(report.address));
    const QStringList lines = BuildParameterLines(
        core_.form, core_.globals, QDateTime::currentDateTime(), StoredVersion(core_.globals));
    if (const auto line = UnsavableTextLine(core_.form)) {
      // A file that would not load back as read is no copy of the device.
      report.result = DeviceResult::Error;
      if (sink_.error) {
        sink_.error(cli_texts::kUnsavable.in(english_).arg(report.address).arg(*line).arg(
            CaptionOfLine(core_.form, lines, *line)));
      }
      return Outcome::Done;
    }
    if (WriteParameterFile(path, lines)) {
      report.result = DeviceResult::Ok;
      progress(cli_texts::kSaved.in(english_).arg(report.address).arg(path));
    } else {
      report.result = DeviceResult::Error;
      if (sink_.error) sink_.error(cli_texts::kNotSaved.in(english_).arg(report.address).arg(path));
    }
    return Outcome::Done;
  });
}

std::vector<DeviceReport> BatchRunner::write(const std::vector<int>& addresses,
                                             const QStringList& lines, bool dryRun,
                                             bool forceType) {
  warnAboutUntransferred(lines);
  const QChar sep = core_.globals.decimalSep();
  return forEachDevice(addresses, [&](DeviceReport& report) {
    // A file of another variant would change what the unit believes it is.
    const int typeLine = file_layout::kRegisters.line(cfg_field::kDeviceType);
    const auto fileType = ParseDecimal(ValueField(lines[typeLine - 1]).value_or(QString()), sep);
    const double deviceType = core_.form.dCfgRegValue[cfg_field::kDeviceType];
    if (!forceType && fileType && *fileType != deviceType) {
      report.result = DeviceResult::Refused;
      report.reason = cli_texts::kOtherDeviceType.in(english_)
                          .arg(report.address)
                          .arg(typeLine)
                          .arg(CaptionOfLine(core_.form, lines, typeLine),
                               FormatDecimal(*fileType, sep), FormatDecimal(deviceType, sep));
      if (sink_.error) sink_.error(report.reason);
      return Outcome::Done;
    }
    ApplyParameterLines(core_.form, lines, sep);
    MarkChangedBits(core_.form);
    CheckChangedFields(core_.form);
    if (dryRun) {
      const auto changes = MarkedFields(core_.form, lines, sep);
      for (const FieldDifference& c : changes) {
        if (sink_.result) {
          sink_.result(cli_texts::kChangeLine.in(english_).arg(report.address).arg(c.line).arg(
              c.caption, Printable(c.deviceValue), Printable(c.fileValue)));
        }
      }
      progress(changes.empty()
                   ? cli_texts::kNothingToWrite.in(english_).arg(report.address)
                   : cli_texts::kWouldWriteAll.in(english_).arg(report.address).arg(changes.size()));
      report.differences = static_cast<int>(changes.size());
      report.result = DeviceResult::Ok;
      return Outcome::Done;
    }
    // The last bit alone does not start a write (it goes along with the
    // others); the window's "write everything" tick sends it.
    if (AnyFieldMarked(core_.form) && !WriteStartsFromMarks(core_.form)) {
      core_.form.chk_sync.setValue(1);
    }
    if (!AnyFieldMarked(core_.form)) {
      progress(cli_texts::kNothingToWrite.in(english_).arg(report.address));
    } else if (const Outcome outcome = writeBack(report); outcome != Outcome::Done) {
      return outcome;
    }
    compare(report, lines);
    return Outcome::Done;
  });
}

std::vector<DeviceReport> BatchRunner::verify(const std::vector<int>& addresses,
                                              const QStringList& lines) {
  warnAboutUntransferred(lines);
  return forEachDevice(addresses, [&](DeviceReport& report) {
    compare(report, lines);
    return Outcome::Done;
  });
}

}  // namespace rbx14
