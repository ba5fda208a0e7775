#include "shell/about_box.h"

#include "base/texts.h"

#include <QFileInfo>

namespace rbx14 {
namespace {

constexpr texts::LocalText kTitle{u"Information", u"About"};
constexpr texts::LocalText kProductLine{u"Quelmar: Konfigurationssoftware für RBX14-RS485-Modbus",
                                        u"Quelmar: Configuration software for RBX14-RS485-Modbus"};

}  // namespace

QString PlatformPath(const QString& storedPath) {
#ifdef Q_OS_WIN
  return storedPath;
#else
  QString path = storedPath;
  path.replace(u'\\', u'/');
  return path;
#endif
}

FAbout::FAbout(const Globals& globals, DocumentOpener& opener) : g_(globals), opener_(opener) {
  window.setCaption(kTitle.in(false));
  lblVersion.setCaption(kProductLine.in(false));
  Label2.setCaption(QStringLiteral("Version:"));
  lbl_Quelmar.setCaption(QStringLiteral("Quelmar Dovedevavizoz GmbH"));
  Label3.setCaption(kMakerAddress);
  lbltxtEmail.setCaption(QStringLiteral("E-Mail:"));
  lblemail.setCaption(kMakerEmail);
  lbltxtHyperlink.setCaption(QStringLiteral("Internet:"));
  lblHyperlink.setCaption(kMakerWeb);
  lblemail.onClick = [this] { lblemail_Click(); };
  lblHyperlink.onClick = [this] { lblHyperlink_Click(); };
}

void FAbout::Form_Load() {
  Label1.setCaption(g_.sVersion);
  const bool english = g_.sLanguage == u"1033";
  window.setCaption(kTitle.in(english));
  lblVersion.setCaption(kProductLine.in(english));
  lbl_Software_Hinweis.setCaption(QString());  // the liability notice is empty in both
}

void FAbout::lblemail_Click() { opener_.open(QStringLiteral("mailto:") + kMakerEmail); }

void FAbout::lblHyperlink_Click() { opener_.open(kMakerWeb); }

QString OpenHelpDocument(const Globals& globals, DocumentOpener& opener) {
  const QString path = PlatformPath(globals.sInstallPath + globals.sHelpDoc);
  if (opener.open(path)) return {};
  return (QFileInfo::exists(path) ? texts::kHelpNoViewer : texts::kHelpMissing).in(globals.english()).arg(path);
}

}  // namespace rbx14
