#pragma once
// Binds a Qt widget to its control model both ways: a user edit goes to the
// model's setter (which runs the handlers), a model change repaints the
// widget under a signal blocker. Keys typed, pasted or dropped into an edit
// field pass the model's key filter character by character; the field's own
// loss of focus (a click elsewhere, Tab) runs the model's leave handler.
// The model must outlive the widget.

#include "model/controls.h"

#include <QColor>
#include <QPalette>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace rbx14 {

class UpDownArrows;

// The colour a stored colour value stands for (plain 0x00BBGGRR or a system
// colour 0x800000xx looked up in the palette).
QColor ToQColor(Color color, const QPalette& palette);

void Bind(QComboBox* widget, ComboBox& model);
void Bind(QLineEdit* widget, TextBox& model);
void Bind(QCheckBox* widget, CheckBox& model);
void Bind(QLabel* widget, Label& model);
void Bind(QGroupBox* widget, Frame& model);
void Bind(QPushButton* widget, CommandButton& model);
// A caption that also shows the changed mark of the control it names (a
// check box without a text of its own).
void BindMark(QLabel* caption, Label& captionModel, Control& marked);
// Up and Down in the field step it like its arrows.
void BindArrowKeys(QLineEdit* field, UpDown& arrows);
// A press on an arrow is the mouse going down and that arrow's click.
void Bind(UpDownArrows* widget, UpDown& model);

}  // namespace rbx14
