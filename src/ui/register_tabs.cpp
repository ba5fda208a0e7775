#include "ui/register_tabs.h"

#include "model/frames.h"
#include "model/register_map.h"
#include "model/text_map.h"
#include "ui/bindings.h"
#include "ui/up_down_arrows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <map>

namespace rbx14 {
namespace {

// Where a frame sits on its tab: frames in one column share its width.
struct FramePlace {
  FrameRef frame;
  int row;
  int column;
  int rowSpan = 1;
};

constexpr FramePlace kFramePlaces[] = {
    {frames::kGeneral, 0, 0, 2},
    {frames::kBacklight, 0, 1},
    {frames::kDateTime, 1, 1},
    {frames::kDisplayParameter, 0, 0},
    {frames::kAlarms, 0, 1},
    {frames::kButtons, 0, 0},
    {frames::kInputs, 0, 1},
    {frames::kExternal1, 0, 0},
    {frames::kExternal2, 0, 1},
    {frames::kExternal3, 1, 0},
    {frames::kExternal4, 1, 1},
    {frames::kSetpoint1, 0, 0},
    {frames::kSetpoint2, 0, 0},
    {frames::kControlGeneral, 0, 0},
    {frames::kControlSetpoint1, 0, 1},
    {frames::kHeating, 1, 0},
    {frames::kCooling, 1, 1},
};

// Columns of a frame's grid.
constexpr int kCaptionColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kColumns = 2;

QString FrameName(FrameRef ref) {
  switch (ref.array) {
    case FrameArray::frm_allg: return QStringLiteral("frm_allg_%1").arg(ref.index);
    case FrameArray::frm_Anzeige: return QStringLiteral("frm_Anzeige_%1").arg(ref.index);
    case FrameArray::frm_button: return QStringLiteral("frm_button_%1").arg(ref.index);
    case FrameArray::frm_extern: return QStringLiteral("frm_extern_%1").arg(ref.index);
    case FrameArray::frm_soll: return QStringLiteral("frm_soll_%1").arg(ref.index);
    case FrameArray::frm_ctrl: return QStringLiteral("frm_ctrl_%1").arg(ref.index);
    case FrameArray::frm_VX9H: return QStringLiteral("frm_VX9H");
    case FrameArray::frm_VX9K: return QStringLiteral("frm_VX9K");
    case FrameArray::kNone: break;
  }
  return {};
}

// One frame's grid: rows of caption, value, arrows and unit, in the order
// they are added.
class FrameGrid {
 public:
  explicit FrameGrid(QGroupBox* box) : box_(box), grid_(new QGridLayout(box)) {
    grid_->setColumnStretch(kColumns, 1);  // keeps the rows packed to the left
    grid_->setVerticalSpacing(4);
  }

  QGroupBox* box() const { return box_; }

  // A field with its arrows and unit mark is one cell, so they sit against
  // the field however wide the column grows.
  void addRow(QLabel* caption, QWidget* value, QWidget* arrows = nullptr, QWidget* unit = nullptr) {
    caption->setBuddy(value);
    grid_->addWidget(caption, row_, kCaptionColumn);
    if (arrows == nullptr && unit == nullptr) {
      grid_->addWidget(value, row_, kValueColumn, Qt::AlignLeft);
    } else {
      auto* cell = new QWidget(box_);
      auto* line = new QHBoxLayout(cell);
      line->setContentsMargins(0, 0, 0, 0);
      line->setSpacing(0);
      line->addWidget(value);
      if (arrows != nullptr) line->addWidget(arrows);
      if (unit != nullptr) {
        line->addSpacing(6);
        line->addWidget(unit);
      }
      grid_->addWidget(cell, row_, kValueColumn, Qt::AlignLeft);
    }
    ++row_;
  }

  void addFrame(QGroupBox* inner) { grid_->addWidget(inner, row_++, 0, 1, kColumns + 1); }

 private:
  QGroupBox* box_;
  QGridLayout* grid_;
  int row_ = 0;
};

int CharWidth(const QWidget* widget, int chars) {
  return widget->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 16;
}

QLineEdit* MakeEdit(QWidget* parent, TextBox& model, const QString& name, int chars) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(CharWidth(edit, chars));
  Bind(edit, model);
  return edit;
}

QLabel* MakeLabel(QWidget* parent, Label& model, const QString& name) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  Bind(label, model);
  return label;
}

class RegisterTabBuilder {
 public:
  RegisterTabBuilder(QTabWidget* tabs, FrmConfig& form) : tabs_(tabs), form_(form) {}

  void build() {
    for (const auto& info : kFrames) makeFrame(info);
    for (const auto& row : kConfigFields) {
      if (row.frame != frames::kNone) addField(row);
    }
    for (const auto& row : kDisplayTexts) addDisplayText(row);
    for (const auto& row : kUnitFields) addUnit(row);
    // Inner frames come after their parent's own rows.
    for (const auto& info : kFrames) {
      if (info.parent != frames::kNone) grids_.at(info.parent).addFrame(grids_.at(info.ref).box());
    }
    placeFrames();
  }

 private:
  void makeFrame(const FrameInfo& info) {
    Frame* model = FrameOf(form_, info.ref);
    if (model == nullptr) return;
    auto* box = new QGroupBox(tabs_->widget(static_cast<int>(info.tab)));
    box->setObjectName(FrameName(info.ref));
    Bind(box, *model);
    grids_.emplace(info.ref, FrameGrid(box));
  }

  void addField(const ConfigField& row) {
    FrameGrid& grid = grids_.at(row.frame);
    QWidget* parent = grid.box();
    const int i = row.index;
    QLabel* caption = MakeLabel(parent, form_.lbl_cfg[i], QStringLiteral("lbl_cfg_%1").arg(i));
    switch (row.kind) {
      case FieldKind::kUpDown: {
        QLineEdit* edit = MakeEdit(parent, form_.txt_data_cfg[i],
                                   QStringLiteral("txt_data_cfg_%1").arg(i), row.maxLength + 1);
        auto* arrows = new UpDownArrows(parent);
        arrows->setObjectName(QStringLiteral("UpD_txt_cfg_%1").arg(i));
        arrows->setFixedSize(arrows->sizeHint().width(), edit->sizeHint().height());
        Bind(arrows, form_.UpD_txt_cfg[i]);
        grid.addRow(caption, edit, arrows, unitMark(parent, i));
        break;
      }
      case FieldKind::kEdit:
        grid.addRow(caption, MakeEdit(parent, form_.txt_data_cfg[i],
                                      QStringLiteral("txt_data_cfg_%1").arg(i), row.maxLength + 1));
        break;
      case FieldKind::kList: {
        auto* list = new QComboBox(parent);
        list->setObjectName(QStringLiteral("cmb_cfg_%1").arg(i));
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        Bind(list, form_.cmb_cfg[i]);
        grid.addRow(caption, list);
        break;
      }
      case FieldKind::kReadOnly: {
        QLabel* value =
            MakeLabel(parent, form_.lbl_cfg_val[i], QStringLiteral("lbl_cfg_val_%1").arg(i));
        value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        value->setFixedWidth(CharWidth(value, row.maxLength + 1));
        value->setFixedHeight(QLineEdit().sizeHint().height());
        grid.addRow(caption, value);
        break;
      }
      case FieldKind::kHidden: break;
    }
  }

  QLabel* unitMark(QWidget* parent, int field) {
    for (const auto& mark : kUnitMarks) {
      if (mark.field == field) {
        return MakeLabel(parent, form_.lbl_desc[mark.descIndex],
                         QStringLiteral("lbl_desc_%1").arg(mark.descIndex));
      }
    }
    return nullptr;
  }

  void addDisplayText(const DisplayTextField& row) {
    FrameGrid& grid = grids_.at(row.frame);
    QWidget* parent = grid.box();
    grid.addRow(MakeLabel(parent, form_.lbl_cfg_txt[row.index],
                          QStringLiteral("lbl_cfg_txt_%1").arg(row.index)),
                MakeEdit(parent, form_.txt_data_cfg_txt[row.index],
                         QStringLiteral("txt_data_cfg_txt_%1").arg(row.index), row.maxLength + 2));
  }

  void addUnit(const UnitField& row) {
    FrameGrid& grid = grids_.at(row.frame);
    QWidget* parent = grid.box();
    grid.addRow(MakeLabel(parent, form_.lbl_cfg_unit[row.index],
                          QStringLiteral("lbl_cfg_unit_%1").arg(row.index)),
                MakeEdit(parent, form_.txt_data_cfg_unit[row.index],
                         QStringLiteral("txt_data_cfg_unit_%1").arg(row.index), row.maxLength + 2));
  }

  void placeFrames() {
    std::map<int, QGridLayout*> pages;
    for (const auto& place : kFramePlaces) {
      const FrameInfo* info = FindFrame(place.frame);
      if (info == nullptr || grids_.count(place.frame) == 0) continue;
      const int tab = static_cast<int>(info->tab);
      QGridLayout*& page = pages[tab];
      if (page == nullptr) page = new QGridLayout(tabs_->widget(tab));
      page->addWidget(grids_.at(place.frame).box(), place.row, place.column, place.rowSpan, 1,
                      Qt::AlignTop);
    }
    // Frames keep their natural size at the top left of the page.
    for (const auto& [tab, page] : pages) {
      page->setRowStretch(page->rowCount(), 1);
      page->setColumnStretch(page->columnCount(), 1);
    }
  }

  QTabWidget* tabs_;
  FrmConfig& form_;
  std::map<FrameRef, FrameGrid> grids_;
};

}  // namespace

void BuildRegisterTabs(QTabWidget* tabs, FrmConfig& form) {
  RegisterTabBuilder(tabs, form).build();
}

}  // namespace rbx14
