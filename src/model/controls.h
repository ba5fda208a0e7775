#pragma once
// Control models: the state a window control carries, without a window.
// Setting a property runs the control's handler at once, inside the setter,
// the way the window's event code expects:
// - TextBox: the change handler when the text actually changes;
// - CheckBox: the click handler when the value actually changes;
// - ComboBox: the click handler on every assignment of the list index;
// - CommandButton: the click handler when it is pressed while enabled.
// Views observe a control and repaint it after any property change; they
// never hold state of their own.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace rbx14 {

// Colour values as the window stores them: plain RGB in 0x00BBGGRR, or a
// system colour (0x80000000 + index).
using Color = std::uint32_t;
namespace colors {
constexpr Color kBlack = 0;
constexpr Color kRed = 255;  // the "changed" mark
constexpr Color kButtonFace = 0x8000000F;
constexpr Color kButtonText = 0x80000012;  // the normal text colour
}  // namespace colors

// What every control has: enabled, visible, text colour, and observers.
class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  Color foreColor() const { return foreColor_; }
  void setForeColor(Color color);

  // Observers are told after every property change. Returns an id for
  // removeObserver.
  int addObserver(std::function<void()> observer);
  void removeObserver(int id);

 protected:
  void notify();

 private:
  bool enabled_ = true;
  bool visible_ = true;
  Color foreColor_ = colors::kButtonText;
  int nextObserverId_ = 1;
  std::vector<std::pair<int, std::function<void()>>> observers_;
};

// An edit field. MaxLength 0 means unlimited; a longer text, typed or
// assigned, is cut to it.
class TextBox : public Control {
 public:
  const QString& text() const { return text_; }
  void setText(const QString& text);
  int maxLength() const { return maxLength_; }
  void setMaxLength(int length);
  bool locked() const { return locked_; }
  void setLocked(bool locked);

  // Key filter: receives the character code and may set it to 0 to discard
  // the key. Codes: 8 Backspace, 13 Enter, others their character.
  std::function<void(int& keyAscii)> onKeyPress;
  std::function<void()> onChange;
  std::function<void()> onLostFocus;

  // Runs the key filter; returns the code that survives (0: discarded).
  int filterKey(int keyAscii);
  void lostFocus();

 private:
  QString text_;
  int maxLength_ = 0;
  bool locked_ = false;
};

// A check box: value 0 unticked, 1 ticked, 2 greyed.
class CheckBox : public Control {
 public:
  int value() const { return value_; }
  void setValue(int value);
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);

  std::function<void()> onClick;

  // The user's click: toggles between 0 and 1.
  void click();

 private:
  int value_ = 0;
  QString caption_;
};

// A drop-down list. ListIndex -1 means nothing selected.
class ComboBox : public Control {
 public:
  const QStringList& items() const { return items_; }
  void addItem(const QString& item);
  void setItems(const QStringList& items);
  void clear();
  int listCount() const { return static_cast<int>(items_.size()); }
  int listIndex() const { return listIndex_; }
  // Runs the click handler on every assignment, as a selection does.
  void setListIndex(int index);
  void setItemText(int index, const QString& text);
  // The text of the selected item, or empty.
  QString text() const;

  std::function<void()> onClick;

 private:
  QStringList items_;
  int listIndex_ = -1;
};

class Label : public Control {
 public:
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);
  std::function<void()> onClick;

 private:
  QString caption_;
};

// A group frame with a caption; hiding or disabling it hides or disables
// what it holds in the view.
class Frame : public Control {
 public:
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);

 private:
  QString caption_;
};

class CommandButton : public Control {
 public:
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);
  std::function<void()> onClick;
  // The user's press: runs the handler only while enabled and visible.
  void click();

 private:
  QString caption_;
};

// A progress bar: Value between Min and Max.
class ProgressBar : public Control {
 public:
  int min() const { return min_; }
  int max() const { return max_; }
  int value() const { return value_; }
  void setRange(int min, int max);
  void setValue(int value);

 private:
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
};

// A window itself: its title, whether it is shown, and (through Control)
// whether it takes input.
class Window : public Control {
 public:
  Window() { setVisible(false); }
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);

 private:
  QString caption_;
};

// Where the pointer is over a control, in the control's own coordinates,
// together with the control's size: handlers decide by halves and margins.
struct PointerAt {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

// An up/down control: a pair of arrows beside an edit field. Min and Max are
// the range the arrows step within; the stepping itself is the handlers'
// business. The view reports clicks on the arrows and the mouse button
// going down, moving while held, and coming up.
class UpDown : public Control {
 public:
  int min() const { return min_; }
  void setMin(int min);
  int max() const { return max_; }
  void setMax(int max);

  std::function<void()> onUpClick;
  std::function<void()> onDownClick;
  std::function<void(const PointerAt&)> onMouseDown;
  std::function<void(const PointerAt&)> onMouseMove;
  std::function<void(const PointerAt&)> onMouseUp;

  // The user's actions; ignored while the control is disabled or hidden,
  // except the release, which always ends what a press started.
  void upClick();
  void downClick();
  void mouseDown(const PointerAt& at);
  void mouseMove(const PointerAt& at);
  void mouseUp(const PointerAt& at);

 private:
  bool takesInput() const { return enabled() && visible(); }

  int min_ = 0;
  int max_ = 100;
};

// A control array: controls under their window index, with gaps allowed
// (the settings lists are 0, 1, 2, 5 and 6).
template <class T>
class ControlArray {
 public:
  T& add(int index) {
    auto& slot = controls_[index];
    if (!slot) slot = std::make_unique<T>();
    return *slot;
  }
  bool contains(int index) const { return controls_.count(index) != 0; }
  T* find(int index) {
    auto it = controls_.find(index);
    return it == controls_.end() ? nullptr : it->second.get();
  }
  const T* find(int index) const {
    auto it = controls_.find(index);
    return it == controls_.end() ? nullptr : it->second.get();
  }
  // The control at an index that exists; asking for a missing one is a
  // programming error.
  T& operator[](int index) { return *controls_.at(index); }
  const T& operator[](int index) const { return *controls_.at(index); }
  std::vector<int> indices() const {
    std::vector<int> out;
    out.reserve(controls_.size());
    for (const auto& entry : controls_) out.push_back(entry.first);
    return out;
  }
  std::size_t size() const { return controls_.size(); }
  bool empty() const { return controls_.empty(); }

 private:
  std::map<int, std::unique_ptr<T>> controls_;
};

}  // namespace rbx14
