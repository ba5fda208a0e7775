#include "shell/localisation.h"

#include "shell/message_table.h"
#include "shell/registry.h"

namespace rbx14 {

bool SetLanguage(Globals& g, int selector) {
  g.sInstallPath = CRegistry().MachineSetting(kProductSection, QStringLiteral("Pfad"));
  g.sLanguage = CRegistry().MachineSetting(kProductSection, QStringLiteral("Language"));
  g.sDecimalSep = CRegistry().Werte(kInternationalSection, QStringLiteral("sDecimal"));
  if (g.sDecimalSep.isEmpty()) g.sDecimalSep = QStringLiteral(",");

  // Exactly "1033" is English; "1033 " or "2057" are not.
  if (g.sLanguage == u"1033") {
    g.sHelpDoc = kHelpDocEnglish;
  } else {
    g.sLanguage = QStringLiteral("1031");
    g.sHelpDoc = kHelpDocGerman;
  }
  const bool english = g.english();
  for (int i = 0; i < kMsgTextCount; ++i) {
    g.MsgText[static_cast<std::size_t>(i)] = kMsgText[static_cast<std::size_t>(i)].in(english);
  }
  return english && (selector == window_selector::kMain || selector == window_selector::kState);
}

}  // namespace rbx14
