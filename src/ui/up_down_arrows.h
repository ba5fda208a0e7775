#pragma once
// A pair of arrows beside an edit field: the upper half steps up, the lower
// half down. It reports the mouse going down, moving while held and coming
// up, with the position, and holds no value of its own.

#include <QPoint>
#include <QWidget>

namespace rbx14 {

class UpDownArrows final : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  QSize sizeHint() const override { return {18, 22}; }

  // The arrow a point of the widget falls on: the upper one above half the
  // height, as the repeat handler decides it.
  bool isUpperArrow(QPoint pos) const { return pos.y() * 2 < height(); }

 signals:
  void pressed(QPoint pos);
  void moved(QPoint pos);
  void released(QPoint pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // A widget that is hidden or disabled while held never sees the button
  // come up; it reports the release itself so that the repetition ends.
  void letGo();

  enum class Held { kNone, kUp, kDown };
  Held held_ = Held::kNone;
};

}  // namespace rbx14
