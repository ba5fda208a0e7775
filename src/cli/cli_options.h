#pragma once
// The command line of rbx14-cli: a command (read, write, verify, scan, monitor), the link
// settings, the addresses and the file. Bad options give a message and the
// usage exit status, never a crash.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace rbx14 {

inline constexpr int kExitUsage = 2;

enum class CliCommand { Read, Write, Verify, Scan, Monitor };

struct CliOptions {
  CliCommand command = CliCommand::Read;
  QString port;                 // a device path, COMn or "sim"
  int modeListPosition = 1;     // the window's list: 0 ASCII, 1 RTU
  int baudListPosition = 0;     // 9600, 19200, 57600
  int parityListPosition = 1;   // None, Even, Odd
  std::optional<bool> english;  // empty: the settings store's language
  std::vector<int> addresses;
  QString file;  // read: the output file or pattern; write, verify: the input
  bool dryRun = false;
  // write: a file of another device type than the unit's is written anyway.
  bool forceType = false;
  bool trace = false;
  bool quiet = false;
  // The fast link unless --slow-link asks for the window's standard timing.
  bool fastLink = true;
  QString report;  // empty: no report
  // write, verify: a commissioning record per unit into this folder (empty:
  // none), naming the technician.
  QString recordFolder;
  QString technician;
  // scan: when nothing answers, try every baud rate, parity and mode.
  bool allSettings = false;
  // scan: the longest a device may take to begin its answer, ms.
  int answerWaitMs = 50;
  // monitor: the poll's interval (empty: the device's, from its bus delay)
  // and the readings to take (0: until stopped).
  std::optional<int> intervalMs;
  int count = 0;

  bool portIsSimulator() const { return port == u"sim"; }
  // COMn as the window numbers ports; nothing for a path or "sim".
  std::optional<int> comNumber() const;
};

struct ParsedCliOptions {
  std::optional<CliOptions> options;  // empty: print message, exit with exitCode
  QString message;
  int exitCode = 0;
};

// arguments includes the program name first, as QCoreApplication gives it.
ParsedCliOptions ParseCliOptions(const QStringList& arguments);

}  // namespace rbx14
