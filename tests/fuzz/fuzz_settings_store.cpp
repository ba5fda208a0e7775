// The settings store's values as arbitrary strings: the language, the
// decimal separator, the version and the installation folder written into
// the two INI files the store reads (as values, or as whole arbitrary
// files), then the settings read, the language of the run chosen and the
// about box loaded.
// Checked: reading gives back what was stored, character for character up
// to a NUL; the run ends in
// German or English with its help document and message table; the
// separator reads back every number written with it; the about box shows
// the stored version.
//
// Input: kind (0: values, 1: whole files), then for values four runs of
// [length][bytes] (language, separator, version, folder), for files two
// runs of [length, 2 bytes][bytes] (machine file, user file).

#include "base/globals.h"
#include "base/numbers.h"
#include "fuzz_input.h"
#include "shell/about_box.h"
#include "shell/localisation.h"
#include "base/message_table.h"
#include "shell/registry.h"
#include "shell/settings.h"
#include "support/fake_serial_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cmath>

namespace rbx14::fuzz {
namespace {

// A value as an installation writes it: one line, whatever else it holds.
// QSettings' typed values ("@Variant(...)") are no strings, so a value
// never begins with "@" here.
QString OneLine(QString value) {
  value.remove(u'\r');
  value.remove(u'\n');
  while (value.startsWith(u'@')) value.remove(0, 1);
  return value;
}

struct Stores {
  QString base;
  QString machineFile() const { return base + QStringLiteral("/system/rbx14-config/rbx14-config.ini"); }
  QString userFile() const { return base + QStringLiteral("/user/rbx14-config/rbx14-config.ini"); }
};

// Every input gets files of its own: a settings reader may keep a file it
// has read, and a rewrite in the same second can look unchanged.
Stores FreshStores() {
  static int generation = 0;
  Stores s{QDir::tempPath() + QStringLiteral("/rbx14-fuzz-settings-%1/%2")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(++generation)};
  QDir().mkpath(s.base + QStringLiteral("/system/rbx14-config"));
  QDir().mkpath(s.base + QStringLiteral("/user/rbx14-config"));
  qputenv("XDG_CONFIG_DIRS", (s.base + QStringLiteral("/system")).toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (s.base + QStringLiteral("/user")).toLocal8Bit());
  return s;
}

void WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(content);
}

void CheckRun(const Globals& g, bool english) {
  RBX14_FUZZ_CHECK(g.sLanguage == u"1031" || g.sLanguage == u"1033", "language is neither");
  RBX14_FUZZ_CHECK(english == g.english(), "window language differs from the run's");
  RBX14_FUZZ_CHECK(g.sHelpDoc == (english ? kHelpDocEnglish : kHelpDocGerman), "help document");
  for (int i = 0; i < kMsgTextCount; ++i) {
    RBX14_FUZZ_CHECK(g.MsgText[static_cast<std::size_t>(i)] == kMsgText[static_cast<std::size_t>(i)].in(english),
                     "message table");
  }
  RBX14_FUZZ_CHECK(!g.sDecimalSep.isEmpty(), "no decimal separator");
  RBX14_FUZZ_CHECK(!g.sInstallPath.contains(QChar(0)), "NUL in the installation folder");
  // Whatever the store says, numbers written with the separator read back.
  const QChar sep = g.decimalSep();
  for (double value : {21.5, -1.0, 0.1, -20.0, 1234.5, -0.5, 150.0}) {
    const auto back = ParseDecimal(FormatDecimal(value, sep), sep);
    const std::string detail = "separator U+" + QString::number(sep.unicode(), 16).toStdString();
    RBX14_FUZZ_CHECK(back && std::abs(*back - value) < 1e-9, detail.c_str());
  }
}

void Run(FuzzInput& in) {
  const Stores stores = FreshStores();
  const bool wholeFiles = (in.byte() & 1) != 0;
  QString stored[4];  // language, separator, version, folder
  if (wholeFiles) {
    WriteFile(stores.machineFile(), in.bytes(in.word()));
    WriteFile(stores.userFile(), in.bytes(in.word()));
  } else {
    for (QString& value : stored) value = OneLine(QString::fromLatin1(in.bytes(in.byte())));
    WriteFile(stores.machineFile(),
              (QStringLiteral("[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS\\]\n"
                              "Language=%1\nVersion=%2\nPfad=%3\n")
                   .arg(stored[0], stored[2], stored[3]))
                  .toUtf8());
    WriteFile(stores.userFile(),
              (QStringLiteral("[Control Panel\\International]\nsDecimal=%1\n").arg(stored[1])).toUtf8());
  }

  const Settings settings = ReadSettings();
  const QString& version = settings.version;
  RBX14_FUZZ_CHECK(!version.contains(QChar(0)), "NUL in a value read");
  if (!wholeFiles) {
    RBX14_FUZZ_CHECK(version == CRegistry::StripAtNull(stored[2]), "version did not read back");
    RBX14_FUZZ_CHECK(settings.decimalSep == CRegistry::StripAtNull(stored[1]),
                     "separator did not read back");
  }

  Globals g;
  const bool english = SetLanguage(g, settings);
  CheckRun(g, english);
  if (!wholeFiles) {
    RBX14_FUZZ_CHECK(g.sInstallPath == CRegistry::StripAtNull(stored[3]), "folder did not read back");
    RBX14_FUZZ_CHECK(english == (CRegistry::StripAtNull(stored[0]) == u"1033"), "language choice");
  }

  test::RecordingOpener opener;
  FAbout about(g, opener);
  about.Form_Load();
  RBX14_FUZZ_CHECK(about.Label1.caption() == version, "about box version");
  RBX14_FUZZ_CHECK(about.window.caption() == (english ? u"About" : u"Information"), "about box title");
  OpenHelpDocument(g, opener);
  RBX14_FUZZ_CHECK(opener.opened.size() == 1, "help opened once");

  QDir(stores.base).removeRecursively();
}

}  // namespace
}  // namespace rbx14::fuzz

RBX14_FUZZ_TARGET(rbx14::fuzz::Run)
