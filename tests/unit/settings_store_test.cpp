// The settings store, the settings read from it at the start, the language
// of the run, the about box and help.

#include "base/globals.h"
#include "files/parameter_file.h"
#include "link/port_map.h"
#include "link/virtual_scheduler.h"
#include "session/config_core.h"
#include "shell/about_box.h"
#include "shell/installation_report.h"
#include "shell/localisation.h"
#include "shell/registry.h"
#include "shell/settings.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace rbx14 {
namespace {

// Points the machine and user stores at files of the test's own.
class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    writeStores();  // both empty
  }
  void TearDown() override {
    qputenv("XDG_CONFIG_HOME", oldHome);
    qputenv("XDG_CONFIG_DIRS", oldDirs);
  }

  // Every change goes to new files: a settings reader may keep a file it
  // has read, and a rewrite within the same second can look unchanged.
  void writeStores() {
    ++generation;
    const QString base = dir.path() + QStringLiteral("/%1").arg(generation);
    for (const auto& [root, content] : {std::pair{QStringLiteral("system"), machineContent},
                                        std::pair{QStringLiteral("user"), userContent}}) {
      const QString folder = base + u'/' + root + QStringLiteral("/rbx14-config");
      ASSERT_TRUE(QDir().mkpath(folder));
      QFile file(folder + QStringLiteral("/rbx14-config.ini"));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(content);
    }
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/user")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", (base + QStringLiteral("/system")).toLocal8Bit());
  }
  void machine(const QByteArray& values) {
    machineContent = "[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS]\n" + values;
    writeStores();
  }

  int generation = 0;
  QByteArray machineContent;
  QByteArray userContent;

  QTemporaryDir dir;
  QByteArray oldHome = qgetenv("XDG_CONFIG_HOME");
  QByteArray oldDirs = qgetenv("XDG_CONFIG_DIRS");
};

// Settings holding one value.
Settings With(QString Settings::*field, const char16_t* value) {
  Settings settings;
  settings.*field = QString::fromUtf16(value);
  return settings;
}

TEST_F(SettingsStore, ReadingNeverFails) {
  CRegistry store;
  EXPECT_EQ(store.MachineSetting(kProductSection, QStringLiteral("Pfad")), QString());
  machine(QByteArray("Pfad=/opt/rbx14\nVersion=\nNul=ab\0cd\nList=1,5\nNumber=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n",
                     80));
  for (const auto& [key, value] : {std::pair{u"Pfad", u"/opt/rbx14"}, {u"Missing", u""}, {u"Version", u""},
                                   {u"Nul", u"ab"}, {u"List", u"1,5"}, {u"Number", u""}}) {
    EXPECT_EQ(store.MachineSetting(kProductSection, QString::fromUtf16(key)), QString::fromUtf16(value));
  }
  EXPECT_EQ(store.MachineSetting(QStringLiteral("SOFTWARE\\Other\\"), QStringLiteral("Pfad")), QString());
  // The user root is a store of its own.
  EXPECT_EQ(store.Werte(kProductSection, QStringLiteral("Pfad")), QString());
}

// The ports section of both stores; the user's entry wins, an empty entry
// is no entry.
TEST_F(SettingsStore, PortMapReadsThePortsSections) {
  machineContent = "[Ports]\nCOM1=/dev/ttyACM0\nCOM2=/dev/ttyUSB7\n";
  userContent = "[Ports]\nCOM2=/dev/ttyUSB0\nnonsense=/dev/null\nCOM5=\n";
  writeStores();
  const PortMap map = PortMap::fromSettings(ReadSettings());
  EXPECT_EQ(map.devicePath(1), u"/dev/ttyACM0");
  EXPECT_EQ(map.devicePath(2), u"/dev/ttyUSB0");
  EXPECT_EQ(map.devicePath(5), u"/dev/ttyS4");
}

// The settings hold each value character for character as the file holds
// it: no list at commas, no comment after ";", no trimming, and a section
// header may end with the key path's backslash.
TEST_F(SettingsStore, SettingsTakeEachValueExactlyAsWritten) {
  const char* section = "[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS]\n";
  const char* backslashed = "[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS\\]\n";
  for (const auto& [file, field, value] :
       {std::tuple{"Pfad=/opt/x, y\n", &Settings::installPath, u"/opt/x, y"},
        {"Pfad=/opt/q;old\n", &Settings::installPath, u"/opt/q;old"},
        {"Language=1033 \n", &Settings::language, u"1033 "}, {"Version=0.1.0\r\n", &Settings::version, u"0.1.0"},
        {"; Pfad=/commented\nPfad=\"/opt/quoted\"\n", &Settings::installPath, u"\"/opt/quoted\""}}) {
    for (const char* header : {section, backslashed}) {
      machineContent = QByteArray(header) + file;
      writeStores();
      EXPECT_EQ(ReadSettings().*field, QString::fromUtf16(value)) << file << " under " << header;
    }
  }
  // A bare comma is a list to an INI reader; it is one text here.
  userContent = "[Control Panel\\International]\nsDecimal=,\n";
  writeStores();
  EXPECT_EQ(ReadSettings().decimalSep, u",");
  EXPECT_TRUE(ReadSettings().version.isEmpty());
}

// The window program reads the store again each time the state window
// loads and for the version of the about box and a saved file; the command
// line (no re-reading) keeps the start's values.
TEST_F(SettingsStore, AChangedFileCountsWhereTheWindowProgramReadsTheStore) {
  VirtualScheduler clock;
  test::FakeSerialPort port;
  test::RecordingMessageBoxes messages;
  machine("Version=1.0.0\nLanguage=1033\n");
  ConfigCore window(clock, port, messages, ReadSettings(), &ReadSettings);
  ConfigCore cli(clock, port, messages, ReadSettings());
  window.Main();
  cli.Main();
  machine("Version=2.0.0\n");
  for (ConfigCore* core : {&window, &cli}) {
    const bool rereads = core == &window;
    core->refreshVersion();
    EXPECT_EQ(StoredVersion(core->globals), rereads ? u" 2.0.0 " : u" 1.0.0 ");
    core->frmState.ShowMsg();  // loads the state window
    EXPECT_EQ(core->frmState.window.caption(), texts::kStateTitle.in(!rereads));
    EXPECT_EQ(core->globals.english(), !rereads);
  }
}

TEST(Settings, LanguageIsEnglishOnlyForExactly1033) {
  for (const auto& [stored, english] :
       {std::pair{u"1033", true}, {u"1031", false}, {u"", false}, {u"1033 ", false}, {u"2057", false}}) {
    Globals g;
    EXPECT_EQ(SetLanguage(g, With(&Settings::language, stored)), english);
    EXPECT_EQ(g.sLanguage, english ? u"1033" : u"1031");
    EXPECT_EQ(g.sHelpDoc.endsWith(u"MS_1_eng.pdf"), english);
    EXPECT_EQ(g.MsgText[7], english ? u"Use ; as seperator!" : u"Als Trennzeichen Semikolon ; verwenden!");
  }
}

// A separator that cannot part a number from its decimals counts as none:
// with "3", 21.5 would show as 2135 and read back as that. ";" parts the
// parameter file's fields and a blank a number's print form: "0;5" would
// load back as 0. The installed dotted version goes into line 5 of saved
// files as it is.
TEST(Settings, DecimalSeparatorDefaultsToCommaAndTheVersionGoesIntoSavedFiles) {
  Globals g;
  for (const auto& [stored, taken] : {std::pair{u"", u","}, {u".", u"."}, {u",", u","}, {u"3", u","},
                                      {u"-", u","}, {u"\x3", u","}, {u";", u","}, {u" ", u","}}) {
    SetLanguage(g, With(&Settings::decimalSep, stored));
    EXPECT_EQ(g.sDecimalSep, taken) << QString::fromUtf16(stored).toStdString();
  }
  for (const auto& [stored, line] :
       {std::pair{u"0.1.0", u" 0.1.0 "}, {u"1,5", u" 1,5 "}, {u"beta", u" 0 "}, {u"", u" 0 "}}) {
    SetLanguage(g, With(&Settings::version, stored));
    EXPECT_EQ(StoredVersion(g), line);
  }
}

TEST(Settings, HelpOpensTheDocumentBelowTheInstallationFolder) {
  Settings english = With(&Settings::installPath, u"/usr/share/rbx14-config");
  english.language = QStringLiteral("1033");
  for (const auto& [settings, path] :
       {std::pair{english, u"/usr/share/rbx14-config/Doc/RBX14 RS485 Modbus, Register MS_1_eng.pdf"},
        {With(&Settings::installPath, u"/usr/share/rbx14-config"),
         u"/usr/share/rbx14-config/Doc/RBX14 RS485 Modbus, Register MS_1.pdf"},
        {Settings{}, u"/Doc/RBX14 RS485 Modbus, Register MS_1.pdf"}}) {
    test::RecordingOpener opener;
    Globals g;
    SetLanguage(g, settings);
    OpenHelpDocument(g, opener);
    EXPECT_EQ(opener.opened, QStringList{QString::fromUtf16(path)});
  }
}

TEST(Settings, AboutBoxShowsTheVersionAndItsLanguage) {
  test::RecordingOpener opener;
  Globals g;
  SetLanguage(g, With(&Settings::version, u"1.4.2"));
  FAbout german(g, opener);
  german.Form_Load();
  SetLanguage(g, With(&Settings::language, u"1033"));
  FAbout english(g, opener);
  english.Form_Load();
  // The English run has no version stored.
  EXPECT_EQ(QStringList({german.window.caption(), german.Label1.caption(), german.lblVersion.caption(),
                         english.window.caption(), english.Label1.caption(), english.lblVersion.caption()}),
            QStringList({"Information", "1.4.2", "Quelmar: Konfigurationssoftware für RBX14-RS485-Modbus", "About", "",
                         "Quelmar: Configuration software for RBX14-RS485-Modbus"}));

  english.lblemail.onClick();
  english.lblHyperlink.onClick();
  ASSERT_EQ(opener.opened.size(), 2);
  EXPECT_TRUE(opener.opened[0].startsWith(u"mailto:"));
  EXPECT_EQ(opener.opened[1], kMakerWeb);
}

TEST_F(SettingsStore, InstallationReportFindsWhatTheInstallationLeft) {
  // A complete installation: the document Help opens exists below Pfad.
  const QString installed = dir.path() + QStringLiteral("/share");
  ASSERT_TRUE(QDir().mkpath(installed + QStringLiteral("/Doc")));
  QFile document(installed + QStringLiteral("/Doc/RBX14 RS485 Modbus, Register MS_1_eng.pdf"));
  ASSERT_TRUE(document.open(QIODevice::WriteOnly));
  document.close();
  machine("Pfad=" + installed.toLocal8Bit() + "\nLanguage=1033\nVersion=2.0.1\n");
  EXPECT_EQ(FormatInstallationReport(ReadInstallation(ReadSettings())),
            QStringLiteral("Installation folder (Pfad): %1\nInstalled version (Version): 2.0.1\nLanguage: 1033\n"
                           "Help document: %2 (found)")
                .arg(installed, document.fileName()));
  // The German document is missing, and so is the version.
  Settings missing;
  missing.installPath = installed;
  EXPECT_EQ(FormatInstallationReport(ReadInstallation(missing)),
            QStringLiteral("Installation folder (Pfad): %1\nInstalled version (Version): (missing)\nLanguage: 1031\n"
                           "Help document: %1/Doc/RBX14 RS485 Modbus, Register MS_1.pdf (not found)")
                .arg(installed));
}

}  // namespace
}  // namespace rbx14
