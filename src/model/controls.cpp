#include "model/controls.h"

#include <algorithm>

namespace rbx14 {

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  notify();
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  notify();
}

void Control::setForeColor(Color color) {
  if (foreColor_ == color) return;
  foreColor_ = color;
  notify();
}

int Control::addObserver(std::function<void()> observer) {
  const int id = nextObserverId_++;
  observers_.emplace_back(id, std::move(observer));
  return id;
}

void Control::removeObserver(int id) {
  observers_.erase(std::remove_if(observers_.begin(), observers_.end(),
                                  [id](const auto& entry) { return entry.first == id; }),
                   observers_.end());
}

void Control::notify() {
  // Copy: an observer may add or remove observers while being told.
  const auto observers = observers_;
  for (const auto& entry : observers) entry.second();
}

void TextBox::setText(const QString& text) {
  const QString cut = maxLength_ > 0 ? text.left(maxLength_) : text;
  if (cut == text_) return;
  text_ = cut;
  notify();
  if (onChange) onChange();
}

void TextBox::setMaxLength(int length) {
  if (maxLength_ == length) return;
  maxLength_ = std::max(length, 0);
  notify();
  if (maxLength_ > 0 && text_.size() > maxLength_) setText(text_.left(maxLength_));
}

void TextBox::setLocked(bool locked) {
  if (locked_ == locked) return;
  locked_ = locked;
  notify();
}

int TextBox::filterKey(int keyAscii) {
  if (onKeyPress) onKeyPress(keyAscii);
  return keyAscii;
}

void TextBox::lostFocus() {
  if (onLostFocus) onLostFocus();
}

void CheckBox::setValue(int value) {
  if (value_ == value) return;
  value_ = value;
  notify();
  if (onClick) onClick();
}

void CheckBox::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notify();
}

void CheckBox::click() {
  if (!enabled() || !visible()) return;
  setValue(value_ == 1 ? 0 : 1);
}

void ComboBox::addItem(const QString& item) {
  items_.append(item);
  notify();
}

void ComboBox::setItems(const QStringList& items) {
  items_ = items;
  if (listIndex_ >= listCount()) listIndex_ = -1;
  notify();
}

void ComboBox::clear() {
  items_.clear();
  listIndex_ = -1;
  notify();
}

void ComboBox::setListIndex(int index) {
  // An index outside the list leaves the selection as it was; the caller's
  // trap would have caught the error.
  if (index < -1 || index >= listCount()) return;
  const bool changed = listIndex_ != index;
  listIndex_ = index;
  if (changed) notify();
  if (onClick) onClick();
}

void ComboBox::setItemText(int index, const QString& text) {
  if (index < 0 || index >= listCount() || items_[index] == text) return;
  items_[index] = text;
  notify();
}

QString ComboBox::text() const {
  return listIndex_ >= 0 && listIndex_ < listCount() ? items_[listIndex_] : QString();
}

void Label::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notify();
}

void Frame::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notify();
}

void CommandButton::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notify();
}

void CommandButton::click() {
  if (enabled() && visible() && onClick) onClick();
}

void ProgressBar::setRange(int min, int max) {
  if (min_ == min && max_ == max) return;
  min_ = min;
  max_ = max;
  notify();
}

void ProgressBar::setValue(int value) {
  if (value_ == value) return;
  value_ = value;
  notify();
}

void Window::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notify();
}

void UpDown::setMin(int min) {
  if (min_ == min) return;
  min_ = min;
  notify();
}

void UpDown::setMax(int max) {
  if (max_ == max) return;
  max_ = max;
  notify();
}

void UpDown::upClick() {
  if (takesInput() && onUpClick) onUpClick();
}

void UpDown::downClick() {
  if (takesInput() && onDownClick) onDownClick();
}

void UpDown::mouseDown(const PointerAt& at) {
  if (takesInput() && onMouseDown) onMouseDown(at);
}

void UpDown::mouseMove(const PointerAt& at) {
  if (takesInput() && onMouseMove) onMouseMove(at);
}

void UpDown::mouseUp(const PointerAt& at) {
  if (onMouseUp) onMouseUp(at);
}

}  // namespace rbx14
