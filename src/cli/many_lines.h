#pragma once
// Several lines at once: `rbx14-cli read|write|verify|scan` with --port
// given more than once, each followed by its own --address. Every line runs
// as a rbx14-cli of its own, all at the same time, one device after the
// other on each; their lines of output come through here with the line's
// number and port in front, and the exit status is the worst of them. A
// failing line never stops the others. With --report, the lines' reports
// become one, with the line and its port in the first two columns.

#include <QString>
#include <QStringList>

#include <csignal>
#include <optional>

namespace rbx14 {

struct LineBatch {
  QString port;
  QStringList arguments;  // the whole command line of the line's own run
};

struct ManyLines {
  std::vector<LineBatch> lines;  // empty: one line, the usual run
  QString error;                 // a usage error
  QString report;                // --report: the one report of all lines
};

// arguments as QCoreApplication gives them, the program name first.
ManyLines SplitLines(const QStringList& arguments);

// Runs every line's batch at once and waits for them all. A stop signal
// (stop becomes non-zero) is passed on to every line.
int RunManyLines(const QString& program, const std::vector<LineBatch>& lines,
                 const volatile std::sig_atomic_t& stop, const QString& report = {});

// The lines' reports (CSV, a header and a row per device; empty when a
// line wrote none) as one: "line,port," in front of each row; a line
// without a report gets one row that says it ended in an error.
QByteArray MergedReport(const std::vector<LineBatch>& lines, const std::vector<QByteArray>& reports);

}  // namespace rbx14
