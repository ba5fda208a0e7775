#include "cli/many_lines.h"

#include "cli/batch_report.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace rbx14 {
namespace {

bool IsOption(const QString& argument, const QString& name) {
  return argument == name || argument.startsWith(name + u'=');
}

// The option's value and how many arguments it took (1 for --x=v, 2 for --x v).
std::pair<QString, int> ValueAt(const QStringList& arguments, qsizetype at) {
  const QString& argument = arguments[at];
  const qsizetype equals = argument.indexOf(u'=');
  if (equals >= 0) return {argument.mid(equals + 1), 1};
  if (at + 1 < arguments.size()) return {arguments[at + 1], 2};
  return {QString(), 1};
}

void PrintLine(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace

ManyLines SplitLines(const QStringList& arguments) {
  const QString port = QStringLiteral("--port");
  const QString address = QStringLiteral("--address");
  const QString linesFile = QStringLiteral("--lines");
  qsizetype ports = 0;
  bool fromFile = false;
  for (const QString& argument : arguments) {
    ports += IsOption(argument, port) ? 1 : 0;
    fromFile = fromFile || IsOption(argument, linesFile);
  }
  if ((ports < 2 && !fromFile) || arguments.size() < 2) return {};
  const QString command = arguments[1];
  if (command != u"read" && command != u"write" && command != u"verify" && command != u"scan") {
    return {{}, QStringLiteral("only read, write, verify and scan take several --port."), {}};
  }
  QStringList common;
  QString report;
  struct Line {
    QString port;
    QString addresses;
    QStringList own;  // the line's own options, from a lines file
  };
  std::vector<Line> pairs;
  for (qsizetype at = 2; at < arguments.size();) {
    if (IsOption(arguments[at], port)) {
      const auto [value, taken] = ValueAt(arguments, at);
      pairs.push_back({value, QString(), {}});
      at += taken;
    } else if (IsOption(arguments[at], linesFile)) {
      // One line a line: the port, then its options as on the command line
      // ("tcp://10.0.0.7:4001 --mode rtu --baud 19200 --address 1-12");
      // blank lines and lines starting with # are passed over.
      const auto [value, taken] = ValueAt(arguments, at);
      QFile file(value);
      if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {{}, QStringLiteral("the lines file %1 cannot be read.").arg(value), {}};
      }
      while (!file.atEnd()) {
        const QString text = QString::fromUtf8(file.readLine()).trimmed();
        if (text.isEmpty() || text.startsWith(u'#')) continue;
        QStringList words = text.split(u' ', Qt::SkipEmptyParts);
        Line line{words.takeFirst(), QString(), {}};
        for (qsizetype w = 0; w < words.size(); ++w) {
          if (IsOption(words[w], address)) {
            const auto [addresses, used] = ValueAt(words, w);
            line.addresses = addresses;
            w += used - 1;
          } else {
            line.own << words[w];
          }
        }
        pairs.push_back(line);
      }
      at += taken;
    } else if (IsOption(arguments[at], address)) {
      const auto [value, taken] = ValueAt(arguments, at);
      if (pairs.empty() || !pairs.back().addresses.isEmpty()) {
        return {{}, QStringLiteral("with several --port, each --address follows its --port."), {}};
      }
      pairs.back().addresses = value;
      at += taken;
    } else if (IsOption(arguments[at], QStringLiteral("--report"))) {
      const auto [value, taken] = ValueAt(arguments, at);
      report = value;
      at += taken;
    } else {
      common << arguments[at];
      ++at;
    }
  }
  ManyLines out;
  out.report = report;
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    const auto& [portName, addresses, lineOptions] = pairs[k];
    if (addresses.isEmpty() && command != u"scan") {
      return {{}, QStringLiteral("--port %1 has no --address of its own.").arg(portName), {}};
    }
    QStringList own = common;
    // read: the files of each line apart; {line} in the name is the line's number.
    for (QString& argument : own) argument.replace(QStringLiteral("{line}"), QString::number(k + 1));
    QStringList line{command, QStringLiteral("--port"), portName};
    if (!addresses.isEmpty()) line << QStringLiteral("--address") << addresses;
    // The line's own options come last: they count over the common ones.
    out.lines.push_back({portName, line + own + lineOptions});
  }
  if (command == u"read" && !common.join(u' ').contains(QStringLiteral("{line}"))) {
    return {{}, QStringLiteral("with several --port, read wants {line} in the file name (and {address})."), {}};
  }
  return out;
}

QByteArray MergedReport(const std::vector<LineBatch>& lines, const std::vector<QByteArray>& reports) {
  // A line that reported nothing keeps the batch report's columns.
  QByteArray header = ReportCsv({}).trimmed();
  QByteArray rows;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const QByteArray front = QByteArray::number(static_cast<qulonglong>(k + 1)) + ',' +
                             CsvField(lines[k].port).toUtf8() + ',';
    QList<QByteArray> own = k < reports.size() ? reports[k].split('\n') : QList<QByteArray>{};
    for (QByteArray& row : own) row = row.trimmed();
    own.removeAll(QByteArray());
    if (own.isEmpty()) {
      rows += front + ",,," + ResultWord(DeviceResult::Error).toUtf8() + ",,,\r\n";
      continue;
    }
    header = own.takeFirst();
    for (const QByteArray& row : own) rows += front + row + "\r\n";
  }
  return "line,port," + header + "\r\n" + rows;
}

int RunManyLines(const QString& program, const std::vector<LineBatch>& lines,
                 const volatile std::sig_atomic_t& stop, const QString& report) {
  // Each line writes its report into a folder of its own; they become one.
  QTemporaryDir reports;
  const auto reportOf = [&reports](std::size_t k) {
    return reports.filePath(QStringLiteral("line-%1.csv").arg(k + 1));
  };
  std::vector<std::unique_ptr<QProcess>> runs;
  QEventLoop loop;
  int running = static_cast<int>(lines.size());
  int worst = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    auto run = std::make_unique<QProcess>();
    QProcess* process = run.get();
    const QString prefix = QStringLiteral("line %1 %2: ").arg(k + 1).arg(lines[k].port);
    const auto pass = [process, prefix](QProcess::ProcessChannel channel, std::FILE* stream) {
      process->setReadChannel(channel);
      while (process->canReadLine()) {
        PrintLine(stream, prefix + QString::fromLocal8Bit(process->readLine()).trimmed());
      }
    };
    QObject::connect(process, &QProcess::readyReadStandardOutput,
                     [pass] { pass(QProcess::StandardOutput, stdout); });
    QObject::connect(process, &QProcess::readyReadStandardError,
                     [pass] { pass(QProcess::StandardError, stderr); });
    QObject::connect(process, &QProcess::finished, [&, process, prefix](int code, QProcess::ExitStatus status) {
      for (const auto& [channel, stream] : {std::pair{QProcess::StandardOutput, stdout},
                                            std::pair{QProcess::StandardError, stderr}}) {
        process->setReadChannel(channel);
        const QString rest = QString::fromLocal8Bit(process->readAll()).trimmed();
        if (!rest.isEmpty()) {
          for (const QString& text : rest.split(u'\n')) PrintLine(stream, prefix + text);
        }
      }
      const int result = status == QProcess::NormalExit ? code : 1;
      worst = std::max(worst, result);
      if (--running == 0) loop.quit();
    });
    QStringList arguments = lines[k].arguments;
    if (!report.isEmpty()) arguments << QStringLiteral("--report") << reportOf(k);
    process->start(program, arguments);
    runs.push_back(std::move(run));
  }
  // The children would not hear a signal sent to this process alone.
  QTimer watch;
  bool passedOn = false;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (stop == 0 || passedOn) return;
    passedOn = true;
    for (const auto& run : runs) run->terminate();
  });
  watch.start(100);
  for (const auto& run : runs) {
    if (!run->waitForStarted(10000)) {
      PrintLine(stderr, QStringLiteral("rbx14-cli: a line's run did not start: ") + run->errorString());
      return 1;
    }
  }
  if (running > 0) loop.exec();
  if (report.isEmpty()) return worst;
  std::vector<QByteArray> written;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    QFile file(reportOf(k));
    written.push_back(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
  }
  if (!WriteWholeFile(report, MergedReport(lines, written))) {
    PrintLine(stderr, QStringLiteral("rbx14-cli: the report could not be written: ") + report);
    return std::max(worst, 1);
  }
  return worst;
}

}  // namespace rbx14
