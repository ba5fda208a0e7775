// Control models run their handlers inside the setter, once per real change.

#include "model/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rbx14 {
namespace {

// A handler that corrects the text runs once more and settles.
TEST(TextBox, ChangeRunsOnlyWhenTheTextChangesAndSettlesAfterACorrection) {
  TextBox box;
  int changes = 0;
  QString seen;
  box.onChange = [&] {
    ++changes;
    seen = box.text();  // the new text is visible inside the handler
    if (box.text() == u"99") box.setText(QStringLiteral("50"));
  };
  box.setText(QStringLiteral("12"));
  box.setText(QStringLiteral("12"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(seen, u"12");
  box.setText(QString());
  EXPECT_EQ(changes, 2);
  box.setText(QStringLiteral("99"));
  EXPECT_EQ(box.text(), u"50");
  EXPECT_EQ(seen, u"50");
  EXPECT_EQ(changes, 4);
}

TEST(TextBox, MaxLengthCutsAssignedTextsAndTheKeyFilterMayDiscardOrReplace) {
  TextBox box;
  box.setMaxLength(5);
  box.setText(QStringLiteral("1234567"));
  EXPECT_EQ(box.text(), u"12345");
  box.setMaxLength(3);
  EXPECT_EQ(box.text(), u"123");
  box.setMaxLength(0);
  box.setText(QStringLiteral("1234567"));
  EXPECT_EQ(box.text(), u"1234567");

  EXPECT_EQ(box.filterKey('x'), 'x');  // no filter
  box.onKeyPress = [](int& key) {
    if (key == 'a') key = 0;
    if (key == '.') key = ',';
  };
  EXPECT_EQ(std::vector<int>({box.filterKey('a'), box.filterKey('.'), box.filterKey('7')}),
            std::vector<int>({0, ',', '7'}));
}

TEST(Buttons, ACheckBoxClicksOnEveryChangeAndButtonsTakeClicksOnlyWhileEnabledAndVisible) {
  CheckBox box;
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.setValue(0);
  EXPECT_EQ(clicks, 0);
  box.setValue(1);
  EXPECT_EQ(clicks, 1);
  box.click();
  EXPECT_EQ(box.value(), 0);
  EXPECT_EQ(clicks, 2);
  box.setEnabled(false);
  box.click();
  EXPECT_EQ(box.value(), 0);
  EXPECT_EQ(clicks, 2);

  CommandButton button;  // clicks only while enabled and visible
  button.onClick = [&] { ++clicks; };
  button.click();
  button.setEnabled(false);
  button.click();
  button.setEnabled(true);
  button.setVisible(false);
  button.click();
  EXPECT_EQ(clicks, 3);
}

TEST(ComboBox, EverySelectionRunsTheClickHandler) {
  ComboBox list;
  int clicks = 0;
  list.onClick = [&] { ++clicks; };
  list.setItems({QStringLiteral("close"), QStringLiteral("open")});
  EXPECT_EQ(list.listIndex(), -1);
  list.setListIndex(1);
  list.setListIndex(1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(list.text(), u"open");
  list.setListIndex(5);  // no such entry: nothing happens
  EXPECT_EQ(list.listIndex(), 1);
  EXPECT_EQ(clicks, 2);
  list.clear();
  EXPECT_EQ(list.listIndex(), -1);
  EXPECT_TRUE(list.text().isEmpty());
}

TEST(Control, ObserversHearEveryPropertyChangeUntilRemoved) {
  Label label;
  int notices = 0;
  const int id = label.addObserver([&] { ++notices; });
  label.setCaption(QStringLiteral("x"));
  label.setVisible(false);
  label.setVisible(false);
  label.setForeColor(colors::kRed);
  EXPECT_EQ(notices, 3);
  label.removeObserver(id);
  label.setCaption(QStringLiteral("y"));
  EXPECT_EQ(notices, 3);
  // A list's new items reach its widget.
  ComboBox list;
  list.addObserver([&] { ++notices; });
  list.setItems({QStringLiteral("aus"), QStringLiteral("ein")});
  EXPECT_EQ(notices, 4);
}

TEST(UpDown, TakesInputOnlyWhileEnabledAndVisibleButAlwaysHearsTheRelease) {
  UpDown arrows;
  std::vector<std::string> events;
  arrows.onUpClick = [&] { events.push_back("up"); };
  arrows.onDownClick = [&] { events.push_back("down"); };
  arrows.onMouseDown = [&](const PointerAt& at) { events.push_back("press " + std::to_string(at.y)); };
  arrows.onMouseMove = [&](const PointerAt&) { events.push_back("move"); };
  arrows.onMouseUp = [&](const PointerAt&) { events.push_back("release"); };
  const PointerAt at{1, 2, 16, 22};
  arrows.mouseDown(at);
  arrows.upClick();
  arrows.mouseMove(at);
  arrows.setEnabled(false);  // e.g. the state window opened meanwhile
  arrows.downClick();
  arrows.mouseMove(at);
  arrows.mouseUp(at);
  EXPECT_EQ(events, (std::vector<std::string>{"press 2.000000", "up", "move", "release"}));
}

TEST(ControlArray, KeepsGapsBetweenIndices) {
  ControlArray<ComboBox> lists;
  for (int i : {0, 1, 2, 5, 6}) lists.add(i);
  EXPECT_EQ(lists.size(), 5u);
  EXPECT_TRUE(lists.contains(5));
  EXPECT_FALSE(lists.contains(3));
  EXPECT_EQ(lists.find(4), nullptr);
  EXPECT_EQ(lists.indices(), (std::vector<int>{0, 1, 2, 5, 6}));
}

}  // namespace
}  // namespace rbx14
