#pragma once
// The settings store: two roots, sections and named string values. On
// Windows these are the registry keys under HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER; elsewhere two INI files (see settings_files.h) whose
// section headers carry the same key paths, e.g.
//
//   [SOFTWARE\Quelmar Dovedevavizoz GmbH\RBX14-RS485-MODBUS]
//   Pfad=/usr/share/rbx14-config
//
// Reading never fails: a missing section, a missing value, an empty value
// and a value of another type all read as the empty string, and a text with
// a NUL reads up to it. An INI value is the text after "=" exactly as it
// stands (commas, ";" and blanks included), as a registry value would be.
// The program never writes the store.

#include <QString>

namespace rbx14 {

// The sections the program reads.
inline const QString kProductSection =
    QStringLiteral("SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS\\");
inline const QString kInternationalSection = QStringLiteral("Control Panel\\International");

class CRegistry {
 public:
  // A string value under the machine root.
  QString MachineSetting(const QString& sSection, const QString& sKey) const;
  // A string value under the current user's root.
  QString Werte(const QString& sSection, const QString& sKey) const;

  // The text up to, not including, its first NUL.
  static QString StripAtNull(const QString& text);
};

}  // namespace rbx14
