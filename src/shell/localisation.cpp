#include "shell/localisation.h"

#include "base/message_table.h"

namespace rbx14 {
namespace {

// A separator must part a number from its decimals: a digit would merge
// with them (21.5 would show as "2135"), a minus sign would leave the signed
// fields no sign, and a control character cannot be typed. The parameter
// file parts its fields with ";" and a number's print form with blanks:
// "0;5" or "0 5" would load back as something else.
bool UsableDecimalSeparator(const QString& sep) {
  if (sep.isEmpty()) return false;
  const QChar c = sep[0];
  return !c.isDigit() && c != u'-' && c != u';' && !c.isSpace() && c.isPrint();
}

}  // namespace

bool SetLanguage(Globals& g, const Settings& settings) {
  g.sInstallPath = settings.installPath;
  g.sVersion = settings.version;
  g.sLanguage = settings.language;
  g.sDecimalSep = settings.decimalSep;
  if (!UsableDecimalSeparator(g.sDecimalSep)) g.sDecimalSep = QStringLiteral(",");

  // Exactly "1033" is English; "1033 " or "2057" are not.
  if (g.sLanguage == u"1033") {
    g.sHelpDoc = kHelpDocEnglish;
  } else {
    g.sLanguage = QStringLiteral("1031");
    g.sHelpDoc = kHelpDocGerman;
  }
  const bool english = g.english();
  UseLanguageTexts(g, english);
  return english;
}

}  // namespace rbx14

namespace rbx14 {

void UseLanguageTexts(Globals& g, bool english) {
  g.sLanguage = english ? QStringLiteral("1033") : QStringLiteral("1031");
  for (int i = 0; i < kMsgTextCount; ++i) {
    g.MsgText[static_cast<std::size_t>(i)] = kMsgText[static_cast<std::size_t>(i)].in(english);
  }
}

}  // namespace rbx14
