#pragma once
// rbx14-cli run as its own process, as a technician's script runs it: exit
// status, stdout and stderr.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace rbx14::test {

struct CliRun {
  int exitCode;  // -1: it crashed or did not end in time
  QString out;
  QString err;
};

inline CliRun RunCliProgram(const QStringList& args, int timeoutMs = 120000) {
  QProcess cli;
  cli.start(QStringLiteral(RBX14_CLI_PROGRAM), args);
  if (!cli.waitForFinished(timeoutMs)) {
    cli.kill();
    cli.waitForFinished();
    return {-1, {}, QStringLiteral("timed out")};
  }
  return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
          QString::fromLocal8Bit(cli.readAllStandardOutput()),
          QString::fromLocal8Bit(cli.readAllStandardError())};
}

}  // namespace rbx14::test
