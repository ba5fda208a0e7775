#pragma once
// The commissioning record of one unit, the document the building owner
// receives: a head (program, date and time, the line, the unit and the
// technician), every setting the unit holds grouped as on the window's
// tabs, the values a write changed beside their value before, and the
// result of the read-back. A unit that failed gets a record that says so
// and why.

#include "model/frm_config.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace rbx14::record {

// One value of the unit as the window shows it.
struct RecordValue {
  int key;  // kind and index: unique over all values of a unit
  QString address;
  QString caption;
  QString value;
  QString unit;
};

// The values of one frame of the window, titled "tab – frame".
struct ValueGroup {
  QString title;
  std::vector<RecordValue> values;
};

// Every configuration register from 2 on, display text, unit text,
// configuration bit and input bit as last read from the unit (not what may
// have been typed since), in the order of the window's tabs; numbers with
// the user's decimal separator.
std::vector<ValueGroup> ReadValues(const FrmConfig& form, bool english, QChar decimalSep);

// The values by their key.
std::map<int, QString> ValuesByKey(const std::vector<ValueGroup>& groups);

// What the unit is, as last read.
struct UnitIdentity {
  QString coding;      // register 0
  QString firmware;    // register 1
  QString deviceType;  // register 2, as its list names it
  QString location;    // register 3
};
UnitIdentity IdentityOf(const FrmConfig& form, bool english);

enum class RecordResult {
  Verified,     // read back (after a write) and equal to the file
  Differences,  // the unit holds other values than the file
  Failed,       // no values of the unit: it stayed silent, the port failed, ...
  AsRead,       // the window's record: the values as read, nothing compared
};

struct ReadBackDifference {
  int line;  // of the parameter file
  QString caption;
  QString fileValue;
  QString unitValue;
};

struct CommissioningRecord {
  bool english = false;
  QString program;  // the program's name; its version is added
  QDateTime when;
  QString port;
  QString mode;
  QString baudRate;
  QString parity;
  int address = 0;
  std::optional<UnitIdentity> unit;  // empty: never read out
  QString technician;
  QString file;  // the parameter file written or compared
  RecordResult result = RecordResult::Failed;
  QString failure;  // why, for Failed
  std::vector<ValueGroup> values;
  // The values before the write (or at the session's first read-out), by
  // key; a value that now differs from it is marked as changed.
  std::map<int, QString> before;
  std::vector<ReadBackDifference> differences;
};

// The line's mode, baud rate and parity as the form's settings lists name them.
void TakeLine(CommissioningRecord& record, const FrmConfig& form);

QString RecordHtml(const CommissioningRecord& record);

// "unit-017_loc-1203_2026-12-06.pdf"; copy 2 and on get "_2" before ".pdf".
QString RecordFileName(int address, const QString& location, const QDate& date, int copy = 1);

// Writes the record as a PDF to `path`; a file there is replaced only once
// the whole record is written. False and the reason when it cannot be.
bool SaveRecordAs(const CommissioningRecord& record, const QString& path, QString* error);

// Writes the record as a PDF into `folder` (made when missing) under its
// name. A record already there is never replaced: the next free copy
// number is taken. The path written, or nothing and the reason.
std::optional<QString> SaveRecord(const CommissioningRecord& record, const QString& folder,
                                  QString* error);

}  // namespace rbx14::record
