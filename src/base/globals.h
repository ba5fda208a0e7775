#pragma once
// The link, transaction and settings state that the whole program shares
// for one run. One instance, owned by the application object and handed to
// the subsystems by reference; never a C++ global.

#include <QString>

#include <array>
#include <cstdint>
#include <string>

namespace rbx14 {

// Transmission mode values of sModbusMode.
inline const QString kModeAscii = QStringLiteral("ASCII");
inline const QString kModeRtu = QStringLiteral("RTU");
inline const QString kModeNone = QStringLiteral("standard_ascii");  // sends nothing


// What the running transaction is, by the numbers the program has always
// used for it: an answer means what the job on the line asked for.
namespace job_state {
enum Job : std::int32_t {
  kNone = 0,
  kReadOut = 1,  // block reads; the output poll as well
  kConfigWrite = 2,
  kReadConfigBits = 3,
  kWriteConfigBits = 4,
  kWriteInputRegisters = 5,
  kProbe = 6,
  kReadExternalValues = 7,
  kWriteInputBits = 8,
  kReadInputBits = 9,
};
}  // namespace job_state

struct Globals {
  // Link settings (start values set by Main).
  int iComPort = 0;  // COM port number, list position + 1
  QString sBaudRate;
  QString sParity;
  QString sDataBits;
  QString sStopBits;
  int iInputMode = 0;  // 0 text, 1 binary
  bool bPortOpen = false;
  QString sModbusMode;

  // The request being sent, as upper-case hex digit pairs.
  std::string sModbusFrame;

  // Transactions. iRegPointer and iBusDelay hold 16-bit values; the sums
  // built from them are limited to the 16-bit range where they set timers.
  int iRegPointer = 0;
  bool bSendFree = false;
  job_state::Job lJobState = job_state::kNone;
  int iBusDelay = 0;

  // Number of external-value fields whose reference value is seeded from
  // their start text at window load (fields 0 to inputRefCount - 1).
  int inputRefCount = 0;

  // Settings put in place by the localisation at the start. Until then they
  // hold the store's defaults: German, a comma as separator.
  QString sInstallPath;
  QString sVersion;  // as the settings hold it
  QString sLanguage = QStringLiteral("1031");
  QString sDecimalSep = QStringLiteral(",");
  QString sHelpDoc;

  // The message table in the language of the run (31 slots).
  std::array<QString, 31> MsgText{};

  bool english() const { return sLanguage == u"1033"; }
  // The first character of the decimal separator, as the key filters use it.
  QChar decimalSep() const { return sDecimalSep.isEmpty() ? QChar(u',') : sDecimalSep[0]; }

  QString settingsString() const {
    return sBaudRate + u',' + sParity + u',' + sDataBits + u',' + sStopBits;
  }
};

}  // namespace rbx14
