#pragma once
// The window against a parameter file, field by field: every configuration
// field from register 2 on (0 and 1 belong to the device), every bit, text
// and unit, by the line of the file that holds it.

#include "model/frm_config.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace rbx14 {

struct FieldDifference {
  int line;  // 1-based line of the file
  QString caption;
  QString fileValue;
  QString deviceValue;  // as the window shows it
};

// What differs between what the window shows and the file. Texts and units
// compare without the NUL characters the device pads them with; numbers
// compare by value.
std::vector<FieldDifference> CompareWithFile(const FrmConfig& form, const QStringList& lines,
                                             QChar decimalSep);

// Before a write: the fields the loaded file has marked as changed, with
// the device's value as it was read and the file's value.
std::vector<FieldDifference> MarkedFields(const FrmConfig& form, const QStringList& lines,
                                          QChar decimalSep);

// Whether the marks start a write by themselves: the last configuration
// bit alone does not.
bool WriteStartsFromMarks(const FrmConfig& form);

// A bit the file changes is marked as the bit's editor marks it, so the
// write sends it even when nothing else changed.
void MarkChangedBits(FrmConfig& form);

// A value for a message: NUL padding dropped.
QString Printable(const QString& value);

}  // namespace rbx14
