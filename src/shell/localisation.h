#pragma once
// The language of the run and the settings that come with it, put in place
// once at the start from the settings read then.

#include "base/globals.h"
#include "shell/settings.h"

namespace rbx14 {

inline const QString kHelpDocGerman = QStringLiteral("\\Doc\\RBX14 RS485 Modbus, Register MS_1.pdf");
inline const QString kHelpDocEnglish =
    QStringLiteral("\\Doc\\RBX14 RS485 Modbus, Register MS_1_eng.pdf");

// Takes the installation folder, the version, the language ("1033" English,
// anything else German "1031") and the decimal separator ("," when missing),
// chooses the help document and fills the message table. Returns whether
// the run is English.
bool SetLanguage(Globals& globals, const Settings& settings);

// Puts a language in place for the run: the language code and the message
// table (what SetLanguage does with the settings' language).
void UseLanguageTexts(Globals& globals, bool english);

}  // namespace rbx14
