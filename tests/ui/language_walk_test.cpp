// Walks every widget of the main window and checks that it speaks the
// language of the settings store: in English no German text is left where
// the tables give an English one, and in German no English one shows.

#include "session/config_core.h"
#include "link/virtual_scheduler.h"
#include "model/tabs.h"
#include "base/texts.h"
#include "support/fake_serial_port.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QPushButton>
#include <QTabWidget>

namespace rbx14 {
namespace {

QString Plain(QString text) { return text.remove(u'&').trimmed(); }

// Every visible text of the window.
QStringList WindowTexts(MainWindow& window) {
  QStringList out{Plain(window.windowTitle())};
  for (auto* label : window.findChildren<QLabel*>()) out << Plain(label->text());
  for (auto* button : window.findChildren<QAbstractButton*>()) out << Plain(button->text());
  for (auto* group : window.findChildren<QGroupBox*>()) out << Plain(group->title());
  for (auto* list : window.findChildren<QComboBox*>()) {
    for (int i = 0; i < list->count(); ++i) out << Plain(list->itemText(i));
  }
  for (auto* tabs : window.findChildren<QTabWidget*>()) {
    for (int i = 0; i < tabs->count(); ++i) out << Plain(tabs->tabText(i));
  }
  for (QAction* action : window.menuBar()->actions()) {
    out << Plain(action->text());
    if (action->menu() != nullptr) {
      for (QAction* entry : action->menu()->actions()) out << Plain(entry->text());
    }
  }
  return out;
}

// The window of a run whose settings store holds the language.
Settings StoredLanguage(bool english) {
  Settings settings;
  settings.language = english ? QStringLiteral("1033") : QStringLiteral("1031");
  return settings;
}

class LanguageWalk : public ::testing::TestWithParam<bool> {
 protected:
  LanguageWalk()
      : core(clock, port, messages, StoredLanguage(GetParam())), window((core.Main(), core), opener, files) {}
  bool english() const { return GetParam(); }

  // The texts of every table the window uses.
  std::vector<texts::LocalText> tableTexts() const {
    std::vector<texts::LocalText> all = core.form.localisedTexts();
    all.insert(all.end(), std::begin(kTabTitles), std::end(kTabTitles));
    all.insert(all.end(), {texts::kMenuFile, texts::kMenuLoad, texts::kMenuSave, texts::kMenuExit, texts::kMenuAbout,
                           texts::kMenuHelp, texts::kMenuTools, texts::kMenuFastLink, texts::kMenuScanBus,
                           texts::kMenuTraffic});
    return all;
  }

  VirtualScheduler clock;
  test::FakeSerialPort port;
  test::RecordingMessageBoxes messages;
  ConfigCore core;
  test::RecordingOpener opener;
  test::ScriptedFileDialogs files;
  MainWindow window;
};

TEST_P(LanguageWalk, NoTextOfTheOtherLanguageIsLeft) {
  const auto all = tableTexts();
  ASSERT_GT(all.size(), 300u);  // the tables are registered
  // Texts that belong to one language only.
  QSet<QString> german, englishTexts;
  for (const auto& t : all) {
    german.insert(Plain(t.in(false)));
    englishTexts.insert(Plain(t.in(true)));
  }
  QSet<QString> foreign;
  for (const auto& t : all) {
    if (t.en == nullptr) continue;
    const QString other = Plain(t.in(!english()));
    const QString own = Plain(t.in(english()));
    if (other != own && !(english() ? englishTexts : german).contains(other)) foreign.insert(other);
  }
  ASSERT_FALSE(foreign.isEmpty());
  QStringList left;
  for (const QString& text : WindowTexts(window)) {
    if (foreign.contains(text)) left << text;
  }
  EXPECT_TRUE(left.isEmpty()) << left.join(QStringLiteral(" | ")).toStdString();
}

// The headings and unit marks of the label table, the sync caption, the
// buttons and the frame around the keys each stand on the window with their
// text.
TEST_P(LanguageWalk, EveryLabelOfTheTableIsPlaced) {
  for (int index : {1, 2, 16, 17, 18, 19, 21, 23, 27, 28, 29, 68, 37, 38, 39, 40, 59, 60, 61, 62}) {
    auto* label = window.findChild<QLabel*>(QStringLiteral("lbl_desc_%1").arg(index));
    ASSERT_NE(label, nullptr) << index;
    EXPECT_FALSE(label->text().trimmed().isEmpty()) << index;
    EXPECT_EQ(label->text(), core.form.lbl_desc[index].caption()) << index;
    EXPECT_FALSE(label->isHidden()) << index;
  }
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbl_desc_1"))->text(),
            english() ? u"Function input:" : u"Funktion der Eingänge:");
  for (const auto& [name, text] : {std::pair{"set_parameter", texts::kSetParameterButton},
                                   std::pair{"read_out_parameter", texts::kReadOutButton}}) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(Plain(button->text()), Plain(text.in(english()))) << name;
  }
  auto* keys = window.findChild<QGroupBox*>(QStringLiteral("Frame2"));
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(keys->title(), u"Tasten");
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageWalk, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? std::string("english") : std::string("german"); });

}  // namespace
}  // namespace rbx14
