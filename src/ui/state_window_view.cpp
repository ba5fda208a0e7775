#include "ui/state_window_view.h"

#include "ui/bindings.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace rbx14 {

StateWindowView::StateWindowView(FrmState& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setModal(false);
  setMinimumWidth(340);
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(this);
  text->setObjectName(QStringLiteral("lblTxt"));
  Bind(text, model_.lblTxt);
  layout->addWidget(text);

  auto* frame = new QWidget(this);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QProgressBar(frame);
  bar->setObjectName(QStringLiteral("ProgressFile"));
  bar->setTextVisible(false);
  frameLayout->addWidget(bar);
  layout->addWidget(frame);
  model_.ProgressFile.addObserver([bar, this] {
    bar->setRange(model_.ProgressFile.min(), model_.ProgressFile.max());
    bar->setValue(model_.ProgressFile.value());
  });
  model_.frameProgress.addObserver([frame, this] { frame->setVisible(model_.frameProgress.visible()); });

  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  auto* cancel = new QPushButton(this);
  cancel->setObjectName(QStringLiteral("Abbruch"));
  Bind(cancel, model_.Abbruch);
  auto* ok = new QPushButton(this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  Bind(ok, model_.cmdOK);
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  layout->addLayout(buttons);

  model_.window.addObserver([this] { follow(); });
  follow();
}

void StateWindowView::follow() {
  if (following_) return;
  following_ = true;
  setWindowTitle(model_.window.caption());
  if (model_.window.visible() && !isVisible()) {
    adjustSize();
    centreOnScreen();
    show();
  } else if (!model_.window.visible() && isVisible()) {
    hide();
  }
  following_ = false;
}

void StateWindowView::centreOnScreen() {
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void StateWindowView::closeEvent(QCloseEvent* event) {
  // Closing with the frame unloads the window; the main window takes input
  // again.
  if (model_.loaded()) model_.closedByUser();
  event->accept();
}

void StateWindowView::reject() {
  // Escape closes like the frame's close button.
  if (model_.loaded()) model_.closedByUser();
  hide();
}

}  // namespace rbx14
