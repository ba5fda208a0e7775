#include "ui/about_box_view.h"

#include "ui/bindings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace rbx14 {
namespace {

// A label that runs its model's click handler, drawn like a link.
class ClickableLabel final : public QLabel {
 public:
  ClickableLabel(Label& model, QWidget* parent) : QLabel(parent), model_(model) {
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    setPalette(palette);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && model_.onClick) model_.onClick();
  }

 private:
  Label& model_;
};

QLabel* Plain(Label& model, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setText(model.caption());
  return label;
}

}  // namespace

AboutBoxView::AboutBoxView(FAbout& model, QWidget* parent) : QDialog(parent) {
  setWindowTitle(model.window.caption());
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* product = Plain(model.lblVersion, this);
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);
  layout->addWidget(product);

  auto* grid = new QGridLayout();
  grid->addWidget(Plain(model.Label2, this), 0, 0);
  auto* version = Plain(model.Label1, this);
  version->setObjectName(QStringLiteral("Label1"));
  grid->addWidget(version, 0, 1);
  grid->addWidget(Plain(model.lbl_Quelmar, this), 1, 0, 1, 2);
  grid->addWidget(Plain(model.Label3, this), 2, 0, 1, 2);
  grid->addWidget(Plain(model.lbltxtEmail, this), 3, 0);
  auto* email = new ClickableLabel(model.lblemail, this);
  email->setText(model.lblemail.caption());
  grid->addWidget(email, 3, 1);
  grid->addWidget(Plain(model.lbltxtHyperlink, this), 4, 0);
  auto* web = new ClickableLabel(model.lblHyperlink, this);
  web->setText(model.lblHyperlink.caption());
  grid->addWidget(web, 4, 1);
  layout->addLayout(grid);
  if (!model.lbl_Software_Hinweis.caption().isEmpty()) {
    layout->addWidget(Plain(model.lbl_Software_Hinweis, this));
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  adjustSize();
  if (const QScreen* screen = parent != nullptr ? parent->screen() : this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
}

}  // namespace rbx14
