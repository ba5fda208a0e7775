#include "cli/cli_options.h"

#include "base/address_list.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace rbx14 {
namespace {

constexpr int kComPortCount = 40;

const QString kOverview = QStringLiteral(
    "Usage: rbx14-cli COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  read    --port P --address LIST -o FILE   full read-out saved as a parameter file\n"
    "  write   --port P --address LIST FILE      per device: read-out, load, write, read back, "
    "verify\n"
    "  verify  --port P --address LIST FILE      read-out and compare with FILE\n"
    "  scan    --port P [--address LIST]          the devices that answer (default 1-247)\n"
    "  monitor --port P --address A [--interval MS] [--count N] [-o FILE.csv]\n"
    "                                            the output registers as CSV, one line per poll\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help; after a command, the command's options.\n"
    "  -v, --version  Show the version.\n"
    "  --port P       Serial device path, COMn (as the window maps it) or sim.\n"
    "  --address LIST Slave addresses: 1, 1,4,7 or 3-12.\n"
    "  Several lines at once (read, write, verify, scan): repeat --port, each with\n"
    "                 its own --address, or --lines FILE: one line a line, the port\n"
    "                 and its own options (--mode rtu --baud 19200 --address 1-12).\n"
    "  --record DIR   write, verify: a commissioning record (PDF) per unit into DIR,\n"
    "                 named unit-017_loc-1203_2026-12-06.pdf, in the --language.\n"
    "  --technician NAME  write, verify: the name the records give.\n"
    "  --mode, --baud, --parity, --language, --trace, -q, --report, --slow-link,\n"
    "  --dry-run, --force-type, --record, --technician, --interval, --count:\n"
    "                 see rbx14-cli COMMAND --help.\n"
    "\n"
    "rbx14-cli COMMAND --help shows the options of a command.\n"
    "Exit status: 0 every device ok, 1 a device differed or failed, 2 usage error or refused "
    "file.");

ParsedCliOptions Fail(const QString& message) {
  return {std::nullopt, QStringLiteral("rbx14-cli: ") + message + QStringLiteral("\nTry --help."),
          kExitUsage};
}

}  // namespace

std::optional<int> CliOptions::comNumber() const {
  static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,2})$"),
                                      QRegularExpression::CaseInsensitiveOption);
  const auto match = com.match(port);
  if (!match.hasMatch()) return std::nullopt;
  const int n = match.captured(1).toInt();
  if (n < 1 || n > kComPortCount) return std::nullopt;
  return n;
}

ParsedCliOptions ParseCliOptions(const QStringList& arguments) {
  if (arguments.size() < 2 || arguments[1] == u"--help" || arguments[1] == u"-h") {
    const bool asked = arguments.size() >= 2;
    return {std::nullopt, kOverview, asked ? 0 : kExitUsage};
  }
  CliOptions out;
  const QString command = arguments[1];
  if (command == u"read") {
    out.command = CliCommand::Read;
  } else if (command == u"write") {
    out.command = CliCommand::Write;
  } else if (command == u"verify") {
    out.command = CliCommand::Verify;
  } else if (command == u"scan") {
    out.command = CliCommand::Scan;
  } else if (command == u"monitor") {
    out.command = CliCommand::Monitor;
  } else {
    return Fail(QStringLiteral("unknown command \"%1\"; commands are read, write, verify, scan and "
                               "monitor.")
                    .arg(command));
  }

  QCommandLineParser parser;
  // The command's line of the overview.
  const int overviewLine = 3 + static_cast<int>(out.command);
  parser.setApplicationDescription(kOverview.section(u'\n', overviewLine, overviewLine).trimmed());
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help."));
  const QCommandLineOption port(
      QStringLiteral("port"),
      QStringLiteral("Serial device path, COMn (as the window maps it) or "
                     "sim (the built-in simulated device)."),
      QStringLiteral("P"));
  const QCommandLineOption mode(QStringLiteral("mode"),
                                QStringLiteral("rtu or ascii (default rtu)."),
                                QStringLiteral("mode"), QStringLiteral("rtu"));
  const QCommandLineOption baud(QStringLiteral("baud"),
                                QStringLiteral("9600, 19200 or 57600 (default 9600)."),
                                QStringLiteral("N"), QStringLiteral("9600"));
  const QCommandLineOption parity(QStringLiteral("parity"),
                                  QStringLiteral("none, even or odd (default even)."),
                                  QStringLiteral("parity"), QStringLiteral("even"));
  const QCommandLineOption language(QStringLiteral("language"),
                                    QStringLiteral("de or en: labels of saved files and messages "
                                                   "(default: the settings store's language)."),
                                    QStringLiteral("lang"));
  const QCommandLineOption address(QStringLiteral("address"),
                                   QStringLiteral("Slave addresses: 1, 1,4,7 or 3-12."),
                                   QStringLiteral("LIST"));
  const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                  out.command == CliCommand::Monitor
                                      ? QStringLiteral("The CSV file (default: standard output).")
                                      : QStringLiteral("read: the file to save; with several "
                                                       "addresses a name holding {address}."),
                                  QStringLiteral("FILE"));
  const QCommandLineOption dryRun(
      QStringLiteral("dry-run"),
      QStringLiteral("write: show what would be written, write nothing."));
  const QCommandLineOption trace(QStringLiteral("trace"),
                                 QStringLiteral("Every frame sent and received on stderr."));
  const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                 QStringLiteral("No progress lines."));
  const QCommandLineOption report(QStringLiteral("report"),
                                  QStringLiteral("A CSV file with one row per device."),
                                  QStringLiteral("FILE.csv"));
  const QCommandLineOption slowLink(
      QStringLiteral("slow-link"),
      QStringLiteral("The window's standard timing (receive poll, 10 ms between blocks) "
                     "instead of the fast link."));
  parser.addOptions({help, port, mode, baud, parity, language, address, trace, quiet, report, slowLink});
  if (out.command == CliCommand::Read || out.command == CliCommand::Monitor) {
    parser.addOption(output);
  } else if (out.command != CliCommand::Scan) {
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The parameter file."));
  }
  const QCommandLineOption forceType(
      QStringLiteral("force-type"),
      QStringLiteral("write: write a file of another device type than the unit's (it changes "
                     "the unit's type)."));
  if (out.command == CliCommand::Write) parser.addOptions({dryRun, forceType});
  const QCommandLineOption record(
      QStringLiteral("record"),
      QStringLiteral("A commissioning record (PDF) per unit into the folder DIR (made when "
                     "missing): the unit, the line, every setting grouped as on the window's tabs, "
                     "the values the write changed with their value before, and the read-back's "
                     "result; a unit that failed gets one that says why. Named "
                     "unit-017_loc-1203_2026-12-06.pdf (address, location identifier, date); a "
                     "record already there is kept and the new one gets _2, _3, ..."),
      QStringLiteral("DIR"));
  const QCommandLineOption technician(
      QStringLiteral("technician"), QStringLiteral("The technician's name in each record."),
      QStringLiteral("NAME"));
  if (out.command == CliCommand::Write || out.command == CliCommand::Verify) {
    parser.addOptions({record, technician});
  }
  const QCommandLineOption allSettings(
      QStringLiteral("all-settings"),
      QStringLiteral("scan: when nothing answers, try every baud rate, parity and mode and "
                     "report the settings devices answered under."));
  const QCommandLineOption answerWait(
      QStringLiteral("wait"),
      QStringLiteral("scan: the longest a device may take to begin its answer, 1..3000 ms "
                     "(default 50)."),
      QStringLiteral("MS"), QStringLiteral("50"));
  if (out.command == CliCommand::Scan) parser.addOptions({allSettings, answerWait});
  const QCommandLineOption interval(
      QStringLiteral("interval"),
      QStringLiteral("monitor: the poll's interval, 100..3600000 ms (default: the device's bus "
                     "delay + 150 ms)."),
      QStringLiteral("MS"));
  const QCommandLineOption count(
      QStringLiteral("count"),
      QStringLiteral("monitor: end after N readings (default: until Ctrl+C)."), QStringLiteral("N"));
  if (out.command == CliCommand::Monitor) parser.addOptions({interval, count});

  QStringList rest = arguments;
  rest.removeAt(1);
  rest[0] = QStringLiteral("rbx14-cli ") + command;
  if (!parser.parse(rest)) return Fail(parser.errorText());
  if (parser.isSet(help)) return {std::nullopt, parser.helpText(), 0};
  // The last of two would silently win: a batch for the wrong port or file.
  const QStringList given = parser.optionNames();
  for (const QCommandLineOption& option :
       {port, mode, baud, parity, language, address, trace, quiet, report, slowLink, output, dryRun,
        forceType, allSettings, answerWait, interval, count, record, technician}) {
    qsizetype times = 0;
    for (const QString& name : option.names()) times += given.count(name);
    if (times > 1) {
      return Fail(QStringLiteral("%1 is given twice.")
                      .arg((option.names().last().size() > 1 ? QStringLiteral("--")
                                                             : QStringLiteral("-")) +
                           option.names().last()));
    }
  }

  out.fastLink = !parser.isSet(slowLink);
  if (!parser.isSet(port)) return Fail(QStringLiteral("--port is missing."));
  out.port = parser.value(port).trimmed();
  if (out.port.isEmpty()) return Fail(QStringLiteral("--port is empty."));
  if (out.port.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive) && !out.port.contains(u'/') &&
      !out.comNumber()) {
    return Fail(QStringLiteral("--port COMn takes n from 1 to 40."));
  }

  const QString modeText = parser.value(mode).toLower();
  if (modeText == u"rtu") {
    out.modeListPosition = 1;
  } else if (modeText == u"ascii") {
    out.modeListPosition = 0;
  } else {
    return Fail(QStringLiteral("--mode must be rtu or ascii."));
  }
  const QStringList rates{QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("57600")};
  out.baudListPosition = static_cast<int>(rates.indexOf(parser.value(baud).trimmed()));
  if (out.baudListPosition < 0) return Fail(QStringLiteral("--baud must be 9600, 19200 or 57600."));
  const QStringList parities{QStringLiteral("none"), QStringLiteral("even"), QStringLiteral("odd")};
  out.parityListPosition =
      static_cast<int>(parities.indexOf(parser.value(parity).trimmed().toLower()));
  if (out.parityListPosition < 0)
    return Fail(QStringLiteral("--parity must be none, even or odd."));
  if (parser.isSet(language)) {
    const QString lang = parser.value(language).trimmed().toLower();
    if (lang != u"de" && lang != u"en") return Fail(QStringLiteral("--language must be de or en."));
    out.english = lang == u"en";
  }

  // A scan goes over every address unless told otherwise.
  const bool scan = out.command == CliCommand::Scan;
  if (!parser.isSet(address) && !scan) return Fail(QStringLiteral("--address is missing."));
  const auto addresses = ParseAddressList(
      parser.isSet(address) ? parser.value(address) : QStringLiteral("1-247"));
  if (!addresses) {
    return Fail(QStringLiteral("--address takes 1..247 as 1, 1,4,7 or 3-12, each address once."));
  }
  out.addresses = *addresses;

  if (out.command == CliCommand::Read) {
    if (!parser.positionalArguments().isEmpty()) {
      return Fail(QStringLiteral("read saves to -o FILE; unexpected \"%1\".")
                      .arg(parser.positionalArguments().first()));
    }
    out.file = parser.value(output);
    if (out.file.isEmpty()) return Fail(QStringLiteral("read needs -o FILE."));
    if (out.addresses.size() > 1 && !out.file.contains(QStringLiteral("{address}"))) {
      return Fail(QStringLiteral("with several addresses -o needs a name holding {address}."));
    }
  } else if (out.command == CliCommand::Monitor) {
    if (!parser.positionalArguments().isEmpty()) {
      return Fail(QStringLiteral("monitor writes to -o FILE; unexpected \"%1\".")
                      .arg(parser.positionalArguments().first()));
    }
    if (out.addresses.size() != 1) return Fail(QStringLiteral("monitor takes one address."));
    if (parser.isSet(report)) return Fail(QStringLiteral("monitor writes no report; -o FILE.csv takes the readings."));
    out.file = parser.value(output);
    bool number = true;
    if (parser.isSet(interval)) out.intervalMs = parser.value(interval).trimmed().toInt(&number);
    if (!number || (out.intervalMs && (*out.intervalMs < 100 || *out.intervalMs > 3'600'000))) {
      return Fail(QStringLiteral("--interval takes 100..3600000 ms."));
    }
    if (parser.isSet(count)) out.count = parser.value(count).trimmed().toInt(&number);
    if (!number || out.count < 0 || (parser.isSet(count) && out.count == 0)) {
      return Fail(QStringLiteral("--count takes a number of readings from 1."));
    }
  } else if (scan) {
    if (!parser.positionalArguments().isEmpty()) {
      return Fail(QStringLiteral("scan takes no file; unexpected \"%1\".")
                      .arg(parser.positionalArguments().first()));
    }
  } else {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) return Fail(QStringLiteral("give exactly one parameter file."));
    out.file = files.first();
    out.dryRun = out.command == CliCommand::Write && parser.isSet(dryRun);
    out.forceType = out.command == CliCommand::Write && parser.isSet(forceType);
    out.recordFolder = parser.value(record);
    out.technician = parser.value(technician).trimmed();
    if (parser.isSet(record) && out.recordFolder.isEmpty()) return Fail(QStringLiteral("--record needs a folder."));
    // A dry run writes nothing: a record of it would read like a commissioning.
    if (out.dryRun && parser.isSet(record)) return Fail(QStringLiteral("--record does not go with --dry-run."));
    if (parser.isSet(technician) && !parser.isSet(record)) {
      return Fail(QStringLiteral("--technician goes with --record."));
    }
  }
  out.trace = parser.isSet(trace);
  out.quiet = parser.isSet(quiet);
  out.report = parser.value(report);
  out.allSettings = out.command == CliCommand::Scan && parser.isSet(allSettings);
  if (out.command == CliCommand::Scan) {
    bool number = false;
    out.answerWaitMs = parser.value(answerWait).trimmed().toInt(&number);
    if (!number || out.answerWaitMs < 1 || out.answerWaitMs > 3000) {
      return Fail(QStringLiteral("--wait takes 1..3000 ms."));
    }
  }
  return {out, {}, 0};
}

}  // namespace rbx14
