#include "cli/cli_run.h"

#include "cli/batch_report.h"
#include "cli/cli_texts.h"
#include "cli/monitor_run.h"
#include "cli/scan_run.h"
#include "files/parameter_check.h"
#include "files/parameter_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace rbx14 {
namespace {

// The file of write and verify, refused before anything is sent when it is
// no whole parameter file or holds anything a device cannot take as it is.
std::optional<QStringList> CheckedFile(const QString& path, const ConfigCore& core, bool english,
                                       const BatchSink& sink) {
  const auto file = ReadParameterFileText(path);
  if (!file) {
    if (sink.error) sink.error(cli_texts::kFileUnreadable.in(english).arg(path));
    return std::nullopt;
  }
  const QChar sep = core.globals.decimalSep();
  if (const auto problem = CheckParameterFile(*file, core.form, sep)) {
    if (sink.error) {
      sink.error(cli_texts::kRefusedLine.in(english).arg(
          path, DescribeFileProblem(*problem, core.form, file->lines, sep, english)));
    }
    return std::nullopt;
  }
  return file->lines;
}

bool SameFile(const QFileInfo& a, const QFileInfo& b) {
  struct stat sa {};
  struct stat sb {};
  if (::stat(QFile::encodeName(a.absoluteFilePath()).constData(), &sa) != 0) return false;
  if (::stat(QFile::encodeName(b.absoluteFilePath()).constData(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// An output may replace a regular file, never a device, a FIFO or a folder
// (written as a new file beside it, the node would be gone), and never the
// parameter file the batch reads.
std::optional<QString> RefusedOutput(const QString& output, const CliOptions& options, bool english) {
  const QFileInfo info(output);
  if (options.command != CliCommand::Read && options.command != CliCommand::Monitor &&
      !options.file.isEmpty() &&
      SameFile(info, QFileInfo(options.file))) {
    return cli_texts::kOutputIsInput.in(english).arg(output);
  }
  if (info.exists() && !info.isFile()) return cli_texts::kOutputNotRegular.in(english).arg(output);
  return std::nullopt;
}

std::optional<QString> RefusedOutputs(const CliOptions& options, bool english) {
  // The records' folder is made before anything is sent, or the batch is refused.
  if (!options.recordFolder.isEmpty()) {
    const QFileInfo folder(options.recordFolder);
    if ((folder.exists() && !folder.isDir()) || !QDir().mkpath(options.recordFolder) ||
        !QFileInfo(options.recordFolder).isWritable()) {
      return cli_texts::kRecordFolder.in(english).arg(options.recordFolder);
    }
  }
  QStringList outputs;
  if (!options.report.isEmpty()) outputs << options.report;
  if (options.command == CliCommand::Monitor && !options.file.isEmpty()) outputs << options.file;
  if (options.command == CliCommand::Read) {
    for (int address : options.addresses) {
      outputs << QString(options.file).replace(QStringLiteral("{address}"), QString::number(address));
    }
  }
  for (const QString& output : outputs) {
    if (auto refused = RefusedOutput(output, options, english)) return refused;
  }
  // The report must not be one of the saved files either.
  if (!options.report.isEmpty()) {
    for (qsizetype i = 1; i < outputs.size(); ++i) {
      if (QFileInfo(outputs[i]).absoluteFilePath() == QFileInfo(options.report).absoluteFilePath()) {
        return cli_texts::kOutputIsInput.in(english).arg(options.report);
      }
    }
  }
  return std::nullopt;
}

}  // namespace

int RunCli(const CliOptions& options, int portNumber, ConfigCore& core, Waiter& waiter,
           const Scheduler& clock, const BatchSink& sink) {
  const bool english = options.english.value_or(core.globals.english());
  if (options.english) UseLanguage(core, english);
  if (const auto refused = RefusedOutputs(options, english)) {
    if (sink.error) sink.error(*refused);
    return kExitUsage;
  }
  std::optional<QStringList> lines;
  if (options.command == CliCommand::Write || options.command == CliCommand::Verify) {
    lines = CheckedFile(options.file, core, english, sink);
    if (!lines) return kExitUsage;
  }

  // The technician's choices in the window's lists, with the port closed.
  FrmConfig& form = core.form;
  form.Combo_Port[port_list::kPort].setListIndex(portNumber - 1);
  form.Combo_Port[port_list::kBaud].setListIndex(options.baudListPosition);
  form.Combo_Port[port_list::kParity].setListIndex(options.parityListPosition);
  form.Combo_Port[port_list::kMode].setListIndex(options.modeListPosition);

  if (options.command == CliCommand::Scan) return RunScan(options, core, waiter, clock, sink, english);
  if (options.command == CliCommand::Monitor) return RunMonitor(options, core, waiter, sink, english);

  BatchRunner runner(core, waiter, clock, sink);
  runner.setEnglish(english);
  if (!options.recordFolder.isEmpty()) {
    runner.setRecord({options.recordFolder, options.technician, QStringLiteral("rbx14-cli"),
                      options.port, options.file});
  }
  std::vector<DeviceReport> reports;
  switch (options.command) {
    case CliCommand::Read:
      reports = runner.read(options.addresses, options.file, english);
      break;
    case CliCommand::Write:
      reports = runner.write(options.addresses, *lines, options.dryRun, options.forceType);
      break;
    case CliCommand::Verify:
      reports = runner.verify(options.addresses, *lines);
      break;
    case CliCommand::Scan:
    case CliCommand::Monitor:
      break;
  }
  core.closePort();

  int status = ExitStatus(reports);
  if (reports.size() < options.addresses.size()) status = 1;  // the batch could not go on
  if (runner.recordFailed()) status = std::max(status, 1);
  if (!options.report.isEmpty() && !WriteReport(options.report, reports)) {
    if (sink.error) sink.error(cli_texts::kReportNotWritten.in(english).arg(options.report));
    status = 1;
  }
  return status;
}

}  // namespace rbx14
