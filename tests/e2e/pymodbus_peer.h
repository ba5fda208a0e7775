#pragma once
// The independent Modbus peer the end-to-end tests run: Debian's
// python3-pymodbus, which loads only in the system's own Python.

#include <QProcess>
#include <QString>

namespace rbx14::test {

inline const QString kPython = QStringLiteral("/usr/bin/python3");

inline bool HavePymodbus() {
  QProcess probe;
  probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import pymodbus.server")});
  return probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
         probe.exitCode() == 0;
}

}  // namespace rbx14::test
