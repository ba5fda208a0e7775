#include "cli/cli_run.h"

#include "cli/batch_report.h"
#include "cli/cli_texts.h"
#include "cli/file_check.h"
#include "cli/scan_run.h"
#include "files/parameter_file.h"

namespace rbx14 {
namespace {

// The file of write and verify, refused before anything is sent when it is
// no whole parameter file.
std::optional<QStringList> CheckedFile(const QString& path, bool english, const BatchSink& sink) {
  const auto lines = ReadParameterFile(path);
  if (!lines) {
    if (sink.error) sink.error(cli_texts::kFileUnreadable.in(english).arg(path));
    return std::nullopt;
  }
  if (const auto problem = CheckParameterLines(*lines)) {
    if (sink.error) sink.error(DescribeProblem(*problem, path, english));
    return std::nullopt;
  }
  return lines;
}

}  // namespace

int RunCli(const CliOptions& options, int portNumber, ConfigCore& core, Waiter& waiter,
           const Scheduler& clock, const BatchSink& sink) {
  const bool english = options.english.value_or(core.globals.english());
  if (options.english) UseLanguage(core, english);
  std::optional<QStringList> lines;
  if (options.command == CliCommand::Write || options.command == CliCommand::Verify) {
    lines = CheckedFile(options.file, english, sink);
    if (!lines) return kExitUsage;
  }

  // The technician's choices in the window's lists, with the port closed.
  FrmConfig& form = core.form;
  form.Combo_Port[port_list::kPort].setListIndex(portNumber - 1);
  form.Combo_Port[port_list::kBaud].setListIndex(options.baudListPosition);
  form.Combo_Port[port_list::kParity].setListIndex(options.parityListPosition);
  form.Combo_Port[port_list::kMode].setListIndex(options.modeListPosition);

  if (options.command == CliCommand::Scan) return RunScan(options, core, waiter, clock, sink, english);

  BatchRunner runner(core, waiter, clock, sink);
  runner.setEnglish(english);
  std::vector<DeviceReport> reports;
  switch (options.command) {
    case CliCommand::Read:
      reports = runner.read(options.addresses, options.file, english);
      break;
    case CliCommand::Write:
      reports = runner.write(options.addresses, *lines, options.dryRun);
      break;
    case CliCommand::Verify:
      reports = runner.verify(options.addresses, *lines);
      break;
    case CliCommand::Scan:
      break;
  }
  if (core.globals.bPortOpen) form.Combo_Port[port_list::kOpenClose].setListIndex(0);

  int status = ExitStatus(reports);
  if (reports.size() < options.addresses.size()) status = 1;  // the batch could not go on
  if (!options.report.isEmpty() && !WriteReport(options.report, reports)) {
    if (sink.error) sink.error(cli_texts::kReportNotWritten.in(english).arg(options.report));
    status = 1;
  }
  return status;
}

}  // namespace rbx14
