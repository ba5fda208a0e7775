#pragma once
// The about box: product line, version from the settings, the maker's
// name, address, e-mail and web address (the last two open on a click), and
// the help document behind the Help menu.

#include "base/globals.h"
#include "model/controls.h"
#include "shell/document_opener.h"

namespace rbx14 {

// The maker's addresses shown in the about box.
inline const QString kMakerEmail = QStringLiteral("service@example.com");
inline const QString kMakerWeb = QStringLiteral("https://www.example.com/rbx14");
inline const QString kMakerAddress = QStringLiteral("Musterstraße 1\n12345 Musterstadt\nGermany");

class FAbout {
 public:
  FAbout(const Globals& globals, DocumentOpener& opener);

  // Puts the version and the texts of the language in place.
  void Form_Load();
  void lblemail_Click();
  void lblHyperlink_Click();

  Window window;
  Label lblVersion;
  Label Label2;
  Label Label1;
  Label lbl_Quelmar;
  Label Label3;
  Label lbl_Software_Hinweis;
  Label lbltxtEmail;
  Label lblemail;
  Label lbltxtHyperlink;
  Label lblHyperlink;
  Label lbl_Quelmar_Anschrift;

 private:
  const Globals& g_;
  DocumentOpener& opener_;
};

// Help: opens the register document below the installation folder.
// Returns what to tell the user when that failed (the document is missing,
// or nothing could show it), or an empty text.
QString OpenHelpDocument(const Globals& globals, DocumentOpener& opener);

}  // namespace rbx14
