#include "ui/bindings.h"

#include "ui/up_down_arrows.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>

namespace rbx14 {
namespace {

// Registers an observer on the model for as long as the widget lives.
void Observe(QWidget* widget, Control& model, std::function<void()> update) {
  const int id = model.addObserver(update);
  QObject::connect(widget, &QObject::destroyed, [&model, id] { model.removeObserver(id); });
  update();
}

// The text colour of an enabled widget; a disabled one keeps the style's
// disabled look.
void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Active, role, colour);
  palette.setColor(QPalette::Inactive, role, colour);
  widget->setPalette(palette);
}

void ApplyCommon(QWidget* widget, const Control& model, QPalette::ColorRole role) {
  widget->setEnabled(model.enabled());
  // A widget without a parent would become a window of its own.
  if (widget->parentWidget() != nullptr) widget->setVisible(model.visible());
  SetTextColour(widget, role, ToQColor(model.foreColor(), QPalette()));
}

// Routes typed, pasted and dropped characters through the model's key
// filter, and the field's own loss of focus to its leave handler.
class KeyFilter final : public QObject {
 public:
  KeyFilter(QLineEdit* edit, TextBox& model) : QObject(edit), edit_(edit), model_(model) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::FocusOut: {
        // Another window taking the focus, or a menu opening, is no leaving
        // of the field: the typist comes back to it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) model_.lostFocus();
        return false;
      }
      case QEvent::KeyPress: return keyPress(watched, static_cast<QKeyEvent*>(event));
      case QEvent::ContextMenu: return contextMenu(static_cast<QContextMenuEvent*>(event));
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        // Text dragged within the field itself would arrive twice.
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasText() && !edit_->isReadOnly() && drag->source() != edit_) {
          drag->acceptProposedAction();
        } else {
          drag->ignore();
        }
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!edit_->isReadOnly() && drop->source() != edit_) {
          edit_->setCursorPosition(edit_->cursorPositionAt(drop->position().toPoint()));
          insertFiltered(drop->mimeData()->text());
          drop->acceptProposedAction();
        }
        return true;
      }
      case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection on X11.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton) return false;
        if (QGuiApplication::clipboard()->supportsSelection() && !edit_->isReadOnly()) {
          edit_->setCursorPosition(edit_->cursorPositionAt(mouse->position().toPoint()));
          insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection));
        }
        return true;
      }
      default: return false;
    }
  }

 private:
  bool keyPress(QObject* watched, QKeyEvent* key) {
    if (key->matches(QKeySequence::Paste)) {
      if (!edit_->isReadOnly()) insertFiltered(QGuiApplication::clipboard()->text());
      return true;
    }
    int code = 0;
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      return false;  // moves the focus; leaving runs the leave handler
    } else if (key->key() == Qt::Key_Backspace) {
      code = 8;
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      code = 13;
    } else if (!key->text().isEmpty() && key->text().at(0) >= QChar(u' ') &&
               !(key->modifiers() & Qt::ControlModifier)) {
      if (key->text().size() != 1) {
        // A composed character or one outside the basic plane.
        if (!edit_->isReadOnly()) insertFiltered(key->text());
        return true;
      }
      code = key->text().at(0).unicode();
    } else {
      return false;  // navigation and shortcuts are not typed characters
    }
    const int result = model_.filterKey(code);
    if (result == 0) return true;  // discarded
    if (result == code) {
      return code == 13 ? true : QObject::eventFilter(watched, key);
    }
    apply(result);
    return true;
  }

  // The filter substituted another character.
  void apply(int result) {
    if (result == 8) {
      edit_->backspace();
    } else if (result != 13) {
      edit_->insert(QString(QChar(static_cast<char16_t>(result))));
    }
  }

  // Pasted or dropped text goes in as if typed, one character after the
  // other, each through the key filter; line breaks and other controls are
  // left out.
  void insertFiltered(const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() < 0x20 || c.unicode() == 0x7F) continue;
      const int result = model_.filterKey(c.unicode());
      if (result == 0 || result == 8 || result == 13) continue;
      edit_->insert(QString(QChar(static_cast<char16_t>(result))));
    }
  }

  bool contextMenu(QContextMenuEvent* event) {
    QMenu* menu = edit_->createStandardContextMenu();
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
      paste->disconnect();
      QObject::connect(paste, &QAction::triggered, edit_,
                       [this] { insertFiltered(QGuiApplication::clipboard()->text()); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    return true;
  }

  QLineEdit* edit_;
  TextBox& model_;
};

// Up and Down step a field like the arrows beside it.
class ArrowKeys final : public QObject {
 public:
  ArrowKeys(QLineEdit* edit, UpDown& model) : QObject(edit), model_(model) {}

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up) {
      model_.upClick();
    } else if (key == Qt::Key_Down) {
      model_.downClick();
    } else {
      return false;
    }
    return true;
  }

 private:
  UpDown& model_;
};

}  // namespace

QColor ToQColor(Color color, const QPalette& palette) {
  if ((color & 0x80000000u) != 0) {
    switch (color & 0xFFu) {
      case 0x0F: return palette.color(QPalette::Button);
      case 0x12: return palette.color(QPalette::ButtonText);
      case 0x05: return palette.color(QPalette::Base);
      case 0x08: return palette.color(QPalette::Text);
      default: return palette.color(QPalette::WindowText);
    }
  }
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

void Bind(QComboBox* widget, ComboBox& model) {
  Observe(widget, model, [widget, &model] {
    const QSignalBlocker block(widget);
    QStringList current;
    for (int i = 0; i < widget->count(); ++i) current << widget->itemText(i);
    if (current != model.items()) {
      widget->clear();
      widget->addItems(model.items());
    }
    widget->setCurrentIndex(model.listIndex());
    ApplyCommon(widget, model, QPalette::ButtonText);
  });
  QObject::connect(widget, &QComboBox::activated, [&model](int index) { model.setListIndex(index); });
}

void Bind(QLineEdit* widget, TextBox& model) {
  Observe(widget, model, [widget, &model] {
    const QSignalBlocker block(widget);
    widget->setMaxLength(model.maxLength() > 0 ? model.maxLength() : 32767);
    if (widget->text() != model.text()) {
      const int cursor = widget->cursorPosition();
      widget->setText(model.text());
      widget->setCursorPosition(std::min(cursor, static_cast<int>(model.text().size())));
    }
    widget->setReadOnly(model.locked());
    ApplyCommon(widget, model, QPalette::Text);
  });
  QObject::connect(widget, &QLineEdit::textEdited, [&model](const QString& text) { model.setText(text); });
  widget->installEventFilter(new KeyFilter(widget, model));
}

void BindArrowKeys(QLineEdit* widget, UpDown& model) {
  widget->installEventFilter(new ArrowKeys(widget, model));
}

void Bind(QCheckBox* widget, CheckBox& model) {
  Observe(widget, model, [widget, &model] {
    const QSignalBlocker block(widget);
    widget->setCheckState(model.value() == 1   ? Qt::Checked
                          : model.value() == 2 ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
    if (!model.caption().isEmpty()) widget->setText(model.caption());
    ApplyCommon(widget, model, QPalette::WindowText);
  });
  QObject::connect(widget, &QCheckBox::clicked,
                   [&model](bool checked) { model.setValue(checked ? 1 : 0); });
}

void Bind(QLabel* widget, Label& model) {
  Observe(widget, model, [widget, &model] {
    widget->setText(model.caption());
    ApplyCommon(widget, model, QPalette::WindowText);
  });
}

void BindMark(QLabel* caption, Label& captionModel, Control& marked) {
  const auto paint = [caption, &captionModel, &marked] {
    const Color color = marked.foreColor() == colors::kRed ? marked.foreColor() : captionModel.foreColor();
    SetTextColour(caption, QPalette::WindowText, ToQColor(color, QPalette()));
  };
  // After the caption's own binding, on a change of either model.
  Observe(caption, captionModel, paint);
  Observe(caption, marked, paint);
}

void Bind(QGroupBox* widget, Frame& model) {
  Observe(widget, model, [widget, &model] {
    widget->setTitle(model.caption());
    ApplyCommon(widget, model, QPalette::WindowText);
  });
}

void Bind(QPushButton* widget, CommandButton& model) {
  Observe(widget, model, [widget, &model] {
    widget->setText(model.caption());
    ApplyCommon(widget, model, QPalette::ButtonText);
  });
  QObject::connect(widget, &QPushButton::clicked, [&model] { model.click(); });
}

void Bind(UpDownArrows* widget, UpDown& model) {
  Observe(widget, model, [widget, &model] {
    widget->setEnabled(model.enabled());
    if (widget->parentWidget() != nullptr) widget->setVisible(model.visible());
  });
  const auto at = [widget](QPoint pos) {
    return PointerAt{static_cast<double>(pos.x()), static_cast<double>(pos.y()),
                     static_cast<double>(widget->width()), static_cast<double>(widget->height())};
  };
  QObject::connect(widget, &UpDownArrows::pressed, [widget, &model, at](QPoint pos) {
    model.mouseDown(at(pos));
    if (widget->isUpperArrow(pos)) {
      model.upClick();
    } else {
      model.downClick();
    }
  });
  QObject::connect(widget, &UpDownArrows::moved,
                   [&model, at](QPoint pos) { model.mouseMove(at(pos)); });
  QObject::connect(widget, &UpDownArrows::released,
                   [&model, at](QPoint pos) { model.mouseUp(at(pos)); });
}

}  // namespace rbx14
