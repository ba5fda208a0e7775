#include "cli/many_lines.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
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
  qsizetype ports = 0;
  for (const QString& argument : arguments) ports += IsOption(argument, port) ? 1 : 0;
  if (ports < 2 || arguments.size() < 2) return {};
  const QString command = arguments[1];
  if (command != u"read" && command != u"write" && command != u"verify" && command != u"scan") {
    return {{}, QStringLiteral("only read, write, verify and scan take several --port.")};
  }
  QStringList common;
  std::vector<std::pair<QString, QString>> pairs;  // port, its addresses
  for (qsizetype at = 2; at < arguments.size();) {
    if (IsOption(arguments[at], port)) {
      const auto [value, taken] = ValueAt(arguments, at);
      pairs.emplace_back(value, QString());
      at += taken;
    } else if (IsOption(arguments[at], address)) {
      const auto [value, taken] = ValueAt(arguments, at);
      if (pairs.empty() || !pairs.back().second.isEmpty()) {
        return {{}, QStringLiteral("with several --port, each --address follows its --port.")};
      }
      pairs.back().second = value;
      at += taken;
    } else if (IsOption(arguments[at], QStringLiteral("--report"))) {
      return {{}, QStringLiteral("--report takes one line; with several --port each line reports on its own output.")};
    } else {
      common << arguments[at];
      ++at;
    }
  }
  ManyLines out;
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    const auto& [portName, addresses] = pairs[k];
    if (addresses.isEmpty() && command != u"scan") {
      return {{}, QStringLiteral("--port %1 has no --address of its own.").arg(portName)};
    }
    QStringList own = common;
    // read: the files of each line apart; {line} in the name is the line's number.
    for (QString& argument : own) argument.replace(QStringLiteral("{line}"), QString::number(k + 1));
    QStringList line{command, QStringLiteral("--port"), portName};
    if (!addresses.isEmpty()) line << QStringLiteral("--address") << addresses;
    out.lines.push_back({portName, line + own});
  }
  if (command == u"read" && !common.join(u' ').contains(QStringLiteral("{line}"))) {
    return {{}, QStringLiteral("with several --port, read wants {line} in the file name (and {address}).")};
  }
  return out;
}

int RunManyLines(const QString& program, const std::vector<LineBatch>& lines,
                 const volatile std::sig_atomic_t& stop) {
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
    process->start(program, lines[k].arguments);
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
  return worst;
}

}  // namespace rbx14
