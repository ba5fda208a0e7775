#pragma once
// The language of the run and the user's settings that come with it, read
// from the settings store each time a window loads.

#include "base/globals.h"

namespace rbx14 {

// Which window is loading.
namespace window_selector {
constexpr int kMain = 0;
constexpr int kState = 3;
}  // namespace window_selector

inline const QString kHelpDocGerman = QStringLiteral("\\Doc\\RBX14 RS485 Modbus, Register MS_1.pdf");
inline const QString kHelpDocEnglish =
    QStringLiteral("\\Doc\\RBX14 RS485 Modbus, Register MS_1_eng.pdf");

// Reads the installation folder, the language ("1033" English, anything
// else German "1031") and the decimal separator ("," when missing), chooses
// the help document and fills the message table. Returns whether the window
// that is loading (selector) must put its English texts in place.
bool SetLanguage(Globals& globals, int selector);

// Puts a language in place for the run: the language code and the message
// table (what SetLanguage does once it has read the store).
void UseLanguageTexts(Globals& globals, bool english);

}  // namespace rbx14
