#include "ui/key_indicators.h"

#include "model/value_headings.h"
#include "ui/bindings.h"

#include <QLabel>

namespace rbx14 {
namespace {

constexpr int kIndicatorSize = 22;
constexpr int kGap = 4;

}  // namespace

KeyIndicators::KeyIndicators(FrmConfig& form, QWidget* parent) : QWidget(parent) {
  heading_ = new QLabel(this);
  heading_->setObjectName(QStringLiteral("lbl_desc_%1").arg(value_desc::kKeys));
  Bind(heading_, form.lbl_desc[value_desc::kKeys]);
  for (int j = 0; j < 4; ++j) {
    auto* indicator = new QLabel(this);
    indicator->setObjectName(QStringLiteral("Lbl_button_%1").arg(j));
    indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    indicator->setAlignment(Qt::AlignCenter);
    Bind(indicator, form.Lbl_button[j]);
    indicators_[static_cast<std::size_t>(j)] = indicator;
  }
  placeIndicators();
}

QSize KeyIndicators::sizeHint() const {
  const QSize text = heading_->sizeHint();
  return {text.width() + kIndicatorSize / 2, text.height() + kGap + kIndicatorSize};
}

void KeyIndicators::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeIndicators();
}

int KeyIndicators::keyCentre(int indicator) const {
  const QString text = heading_->text();
  const QChar number(u'4' - indicator);
  const qsizetype at = text.lastIndexOf(number);
  if (at < 0) return -1;
  const QFontMetrics metrics = heading_->fontMetrics();
  return heading_->contentsRect().left() + metrics.horizontalAdvance(text.left(at)) +
         metrics.horizontalAdvance(number) / 2;
}

void KeyIndicators::placeIndicators() {
  heading_->setGeometry(0, 0, heading_->sizeHint().width(), heading_->sizeHint().height());
  const int top = heading_->height() + kGap;
  for (int j = 0; j < 4; ++j) {
    int centre = keyCentre(j);
    // A heading without the key numbers: evenly spaced from the right.
    if (centre < 0) centre = heading_->width() - (j + 1) * (kIndicatorSize + kGap);
    indicators_[static_cast<std::size_t>(j)]->setGeometry(centre - kIndicatorSize / 2, top, kIndicatorSize,
                                                          kIndicatorSize);
  }
}

}  // namespace rbx14
