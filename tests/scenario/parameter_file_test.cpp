// Parameter files: the lines as saved, saving and loading through the File
// menu, and files that are damaged, short, huge or not text at all.

#include "base/codepage.h"
#include "files/file_menu.h"
#include "model/field_entry.h"
#include "files/parameter_file.h"
#include "shell/localisation.h"
#include "support/config_fixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <tuple>
#include <sys/resource.h>

namespace rbx14 {
namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Numbers get a blank or minus before and a blank after (0 and 1 and the
// German timestamp are in the golden file, the English one in the round
// trip); the value is everything after the second separator.
TEST(PrintForm, NumbersTimestampsAndValueFields) {
  for (const auto& [number, separator, printed] : {std::tuple{-1.0, u',', u"-1 "}, {1.5, u',', u" 1,5 "},
                                                   {-21.5, u'.', u"-21.5 "}, {1024.0, u',', u" 1024 "}}) {
    EXPECT_EQ(PrintNumber(number, separator), QString::fromUtf16(printed)) << number;
  }
  for (const auto& [line, value] : {std::pair{u"Register 5 ;Label;42", u"42"}, {u"Register 5 ;Label; 42 ", u" 42 "},
                                    {u"Register 5 ;Label;a;b", u"a;b"}, {u"Register 5 ;Label;", u""}}) {
    EXPECT_EQ(ValueField(QString::fromUtf16(line)), QString::fromUtf16(value));
  }
  EXPECT_FALSE(ValueField(QStringLiteral("Register 5 ;Label")).has_value());
  EXPECT_FALSE(ValueField(QString()).has_value());
}

class ParameterFiles : public ::testing::Test, protected test::ConfigFixture {
 protected:
  ParameterFiles() : menu(core.globals, core.form, dialogs, messages) {
    menu.now = [] { return QDateTime(QDate(2026, 12, 3), QTime(14, 5, 9)); };
    path = dir.path() + QStringLiteral("/device.txt");
    // As after a read-out of a device.
    for (const auto& [index, text] : {std::pair{0, "1409"}, {1, "112"}, {2, "9"}, {17, "21,5"}, {42, "30"}}) {
      readFromDevice(index, QString::fromLatin1(text));
    }
    core.form.txt_data_cfg_txt[0].setText(QStringLiteral("Küche"));
    core.form.txt_data_cfg_unit[0].setText(QStringLiteral("°C"));
  }

  // The rest of a read-out: every field holds a number.
  void readEveryField() {
    for (int i = 3; i < 60; ++i) {
      if (field(i).text().isEmpty()) readFromDevice(i, QString::number(LimitsOfField(i)->min));
    }
  }

  QStringList savedLines() {
    const QByteArray bytes = ReadBytes(path);
    QStringList lines = FromCodePage(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
  }
  // The saved lines with the value of `line` (counted from 1) replaced.
  QStringList savedWith(int line, const QString& value) {
    QStringList lines = savedLines();
    lines[line - 1] = lines[line - 1].section(u';', 0, 1) + u';' + value;
    return lines;
  }
  static QByteArray Bytes(const QStringList& lines) {
    return ToCodePage(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
  }
  void save() {
    dialogs.saveAnswers << path;
    menu.ParMenüMain_Click(2);
  }
  void load() {
    dialogs.openAnswers << path;
    menu.ParMenüMain_Click(1);
  }

  QTemporaryDir dir;
  QString path;
  test::ScriptedFileDialogs dialogs;
  FileMenu menu;
};

// The whole file of a known window state, byte for byte: 147 lines with
// CR LF, a German window, a comma as separator, umlauts and the degree sign
// in the code page, the bit lines in print form. The golden file was checked line by line against
// the file format when it was made; a change to any line shows here.
TEST_F(ParameterFiles, AKnownWindowSavesExactlyTheGoldenFile) {
  core.form.chk_cfg[0].setValue(1);
  core.form.chk_cfg[31].setValue(1);
  core.form.txt_data_cfg_unit[4].setText(QStringLiteral("kWh"));
  save();
  const QList<QByteArray> want = ReadBytes(QStringLiteral(RBX14_TEST_DATA "/parameter_file_de.txt")).split('\n');
  const QList<QByteArray> got = ReadBytes(path).split('\n');
  ASSERT_EQ(got.size(), want.size());
  for (qsizetype i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
}

// Saved in a German window, loaded into another device's window in English:
// every field from register 2 on comes back, marked where it differs from
// the device, texts exactly, ";" included; saved again, the labels are
// English and the values the same. A text that could not load back (a line
// end in it) is not saved at all, and the user is told which field holds it.
TEST_F(ParameterFiles, SaveThenLoadRestoresEveryFieldAcrossLanguages) {
  readEveryField();
  field(42).setText(QStringLiteral("45"));
  core.form.chk_cfg[3].setValue(1);
  core.form.txt_data_cfg_txt[5].setText(QStringLiteral("Büro 2"));
  core.form.txt_data_cfg_txt[1].setText(QStringLiteral("A;B;"));
  core.form.Combo_Port[port_list::kParity].setListIndex(0);
  core.form.Combo_Port[port_list::kMode].setListIndex(0);
  save();
  const QStringList german = savedLines();
  EXPECT_EQ(german[9], u"Parität: None");
  EXPECT_EQ(german[8], u"Modus: ASCII");

  UseLanguageTexts(core.globals, true);
  core.form.applyLanguage(true);
  readFromDevice(0, QStringLiteral("7777"));
  readFromDevice(42, QStringLiteral("10"));
  readFromDevice(17, QStringLiteral("20"));
  core.form.chk_cfg[3].setValue(0);
  core.form.txt_data_cfg_txt[5].setText(QString());
  core.form.txt_data_cfg_txt[1].setText(QString());
  core.form.txt_data_cfg_unit[0].setText(QString());
  load();
  EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u'\n').toStdString();
  EXPECT_EQ(core.form.txt_data_cfg_txt[1].text(), u"A;B;");
  EXPECT_EQ(field(0).text(), u"7777");  // the device's own
  EXPECT_EQ(field(42).text(), u"45");
  EXPECT_TRUE(isRed(field(42)));
  EXPECT_EQ(field(17).text(), u"21,5");
  EXPECT_EQ(core.form.chk_cfg[3].value(), 1);
  EXPECT_EQ(core.form.txt_data_cfg_txt[5].text(), u"Büro 2");
  EXPECT_EQ(core.form.txt_data_cfg_unit[0].text(), u"°C");
  EXPECT_TRUE(core.form.set_parameter.enabled());

  save();
  const QStringList english = savedLines();
  ASSERT_EQ(english.size(), kParameterFileLines);
  EXPECT_EQ(english[7], u"Baud rate: 9600");
  EXPECT_EQ(english[12], u"Use ; as seperator!");
  EXPECT_TRUE(english[75].startsWith(u"Configuration bit 1 ;"));
  EXPECT_EQ(english[5], u"12/3/20262:05:09 PM");
  for (int line = kFirstDataLine; line < kParameterFileLines; ++line) {  // from register 2 on
    EXPECT_EQ(ValueField(english[line]), ValueField(german[line])) << "line " << line + 1;
  }
  const QByteArray before = ReadBytes(path);
  core.form.txt_data_cfg_txt[3].setText(QStringLiteral("Zeile\nzwei"));
  save();
  EXPECT_EQ(ReadBytes(path), before);
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_TRUE(messages.shown[0].contains(QStringLiteral("line %1 Text field 2").arg(kFirstTextLine + 3)))
      << messages.shown[0].toStdString();
}

// A loaded number never reaches the device outside its field: it is limited
// as leaving the field limits it, and the message names each such line.
// (A response time below the device's minimum loads as the minimum, and the
// bus delay follows.)
TEST_F(ParameterFiles, NumbersOutsideTheirFieldLoadLimitedAndNamed) {
  // The field, the value in the file, the value shown, whether the message names the line.
  for (const auto& [index, value, shown, named] :
       std::initializer_list<std::tuple<int, const char*, const char16_t*, bool>>{
           {4, "256", u"255", true}, {37, "101", u"100", true}, {16, "9999", u"10", true}, {3, "-5", u"0", true},
           {17, "27,55", u"27,6", true}, {42, "45,5", u"46", true}, {cfg_field::kResponseTime, " 0 ", u"5", true},
           {cfg_field::kResponseTime, " 40 ", u"40", false}, {18, " -4,5 ", u"-4,5", false}}) {
    readEveryField();
    save();
    WriteBytes(path, Bytes(savedWith(kFirstDataLine + index, QString::fromLatin1(value))));
    messages.shown.clear();
    load();
    EXPECT_EQ(field(index).text(), QString::fromUtf16(shown)) << value;
    ASSERT_EQ(messages.shown.size(), named ? 1 : 0) << value;
    EXPECT_TRUE(!named || messages.shown[0].contains(QStringLiteral("Zeile %1 ").arg(kFirstDataLine + index)))
        << messages.shown.join(u'\n').toStdString();
    readFromDevice(index, QString::number(LimitsOfField(index)->min));
  }
}

// A file that is no whole parameter file changes nothing, and the message
// names the line.
TEST_F(ParameterFiles, AFileThatIsNoWholeParameterFileChangesNothing) {
  readEveryField();
  save();
  const QStringList good = savedLines();
  const auto with = [this](int line, const char* value) { return Bytes(savedWith(line, QString::fromUtf8(value))); };
  QStringList unseparated = good;
  unseparated[56] = QStringLiteral("Register 43");
  QByteArray binary(200000, '\0');
  QRandomGenerator random(7);
  for (char& c : binary) c = static_cast<char>(random.bounded(256));
  QByteArray huge;
  for (int i = 0; i < 100000; ++i) huge += "Register without a value\r\n";
  // What the file holds, and the line the message names (0: any line).
  for (const auto& [name, bytes, line] : std::initializer_list<std::tuple<const char*, QByteArray, int>>{
           {"no number", with(57, "abc"), 57}, {"empty number", with(20, ""), 20},
           {"point where the separator is a comma", with(32, "0.7"), 32}, {"exponent", with(19, "1e308"), 19},
           {"no separators", Bytes(unseparated), 57}, {"bit word", with(80, " eins "), 80},
           {"bit seven", with(81, " 7 "), 81}, {"unit of four", with(131, "mbar"), 131},
           {"truncated", Bytes(good.mid(0, 50)), 51}, {"one line more", Bytes(good + QStringList{"x"}), 148},
           {"empty", QByteArray(), 1}, {"binary", binary, 0}, {"huge", huge, 15},
           {"one endless line", QByteArray(3 * 1024 * 1024, 'x'), 2}}) {
    WriteBytes(path, bytes);
    readFromDevice(42, QStringLiteral("30"));
    core.form.txt_data_cfg_txt[0].setText(QStringLiteral("bleibt"));
    messages.shown.clear();
    load();
    EXPECT_EQ(core.form.txt_data_cfg_txt[0].text(), u"bleibt") << name;
    EXPECT_EQ(field(42).text(), u"30") << name;
    EXPECT_FALSE(isRed(field(42))) << name;
    ASSERT_EQ(messages.shown.size(), 1) << name;
    EXPECT_TRUE(messages.shown[0].contains(QRegularExpression(
        line > 0 ? QStringLiteral("Zeile %1\\b").arg(line) : QStringLiteral("Zeile \\d"))))
        << name << ": " << messages.shown[0].toStdString();
  }
}

// A cancelled save or load does nothing and the last name is offered; a
// failed save leaves the earlier file intact.
TEST_F(ParameterFiles, CancelOrAFailedSaveLeavesTheEarlierFileIntact) {
  save();
  const QByteArray before = ReadBytes(path);
  field(42).setText(QStringLiteral("50"));
  menu.ParMenüMain_Click(2);  // the user cancels
  EXPECT_EQ(ReadBytes(path), before);
  menu.ParMenüMain_Click(1);  // and cancels a load
  EXPECT_EQ(field(42).text(), u"50");
  EXPECT_EQ(dialogs.starts.last(), path);
  // A disk that fills up after a few hundred bytes.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small{300, old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  save();
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(ReadBytes(path), before);
  // A folder that does not exist: nothing written, nothing thrown. Each
  // failed save says so.
  dialogs.saveAnswers << dir.path() + QStringLiteral("/gone/device.txt");
  menu.ParMenüMain_Click(2);
  EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/gone/device.txt")));
  ASSERT_EQ(messages.shown.size(), 2);
  EXPECT_TRUE(messages.shown[1].contains(QStringLiteral("/gone/device.txt")));
}

TEST_F(ParameterFiles, ExitStopsEveryTimerButTheTimeOutAndEndsTheProgram) {
  int quits = 0;
  menu.quit = [&] { ++quits; };
  const std::vector<TickTimer*> stopped{core.form.Timer1.get(), core.form.Timer4.get(), core.form.Timer6.get(),
                                        core.form.Timer7.get()};
  for (TickTimer* t : stopped) t->setEnabled(true);
  core.form.Timer3->setEnabled(true);
  menu.ParMenüMain_Click(3);  // the separator does nothing
  EXPECT_EQ(quits, 0);
  menu.ParMenüMain_Click(4);
  EXPECT_EQ(quits, 1);
  for (TickTimer* t : stopped) EXPECT_FALSE(t->enabled());
  EXPECT_TRUE(core.form.Timer3->enabled());
}

}  // namespace
}  // namespace rbx14
