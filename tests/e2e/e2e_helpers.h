#pragma once
// What the end-to-end tests share: the event loop run until a condition
// holds, peers started as processes of their own, and rbx14-cli run as a
// technician's script runs it.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>

namespace rbx14::test {

// Runs the Qt event loop until `done` holds or the time is up, sleeping a
// millisecond between passes so that the other end of the line gets the
// processor.
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

// Arguments written as one line: "read --address 1".
inline QStringList Args(const char* text) { return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts); }

// The independent Modbus peer: Debian's python3-pymodbus, which loads only
// in the system's own Python.
inline const QString kPython = QStringLiteral("/usr/bin/python3");
inline const QString kPymodbusSlave = QStringLiteral(RBX14_PYMODBUS_SLAVE);

// A peer started as its own process (rbx14-sim, the pymodbus slave, the
// libmodbus server); its first line ends in the line or the port it serves:
// "/dev/pts/4", "ready 40123". Killed when it goes.
class Peer {
 public:
  Peer(const QString& program, const QStringList& args) {
    process.start(program, args);
    while (!process.canReadLine() && process.waitForReadyRead(20000)) {
    }
    where_ = QString::fromLocal8Bit(process.readLine()).trimmed().split(u' ').last();
  }
  ~Peer() {
    process.kill();
    process.waitForFinished(5000);
  }
  const QString& where() const { return where_; }

  QProcess process;

 private:
  QString where_;
};

struct CliRun {
  int exitCode;  // -1: it crashed or did not end in time
  QString err;
};

inline CliRun RunCliProgram(const QStringList& args) {
  QProcess cli;
  cli.start(QStringLiteral(RBX14_CLI_PROGRAM), args);
  const bool ended = cli.waitForFinished(120000);
  if (!ended) cli.kill();
  return {ended && cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
          QString::fromLocal8Bit(cli.readAllStandardError())};
}

}  // namespace rbx14::test
