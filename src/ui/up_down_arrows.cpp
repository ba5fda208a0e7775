#include "ui/up_down_arrows.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace rbx14 {

UpDownArrows::UpDownArrows(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setFocusPolicy(Qt::NoFocus);
}

void UpDownArrows::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const int half = (height() + 1) / 2;  // the rows isUpperArrow gives the upper arrow
  const QRect halves[] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
  const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp,
                                             QStyle::PE_IndicatorArrowDown};
  const Held which[] = {Held::kUp, Held::kDown};
  for (int i = 0; i < 2; ++i) {
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = halves[i];
    button.state |= held_ == which[i] ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = halves[i].adjusted(4, 2, -4, -2);
    style()->drawPrimitive(arrows[i], &arrow, &painter, this);
  }
}

void UpDownArrows::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  held_ = isUpperArrow(pos) ? Held::kUp : Held::kDown;
  update();
  emit pressed(pos);
}

void UpDownArrows::mouseMoveEvent(QMouseEvent* event) {
  // Without mouse tracking, moves arrive only while a button is held.
  if (held_ != Held::kNone) emit moved(event->position().toPoint());
}

void UpDownArrows::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || held_ == Held::kNone) return;
  held_ = Held::kNone;
  update();
  emit released(event->position().toPoint());
}

void UpDownArrows::hideEvent(QHideEvent* event) {
  letGo();
  QWidget::hideEvent(event);
}

void UpDownArrows::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) letGo();
  QWidget::changeEvent(event);
}

void UpDownArrows::letGo() {
  if (held_ == Held::kNone) return;
  held_ = Held::kNone;
  update();
  emit released(QPoint(-1, -1));
}

}  // namespace rbx14
