#include "ui/register_tabs.h"

#include "model/bit_map.h"
#include "model/frames.h"
#include "model/input_map.h"
#include "model/lcd_map.h"
#include "model/output_map.h"
#include "model/register_map.h"
#include "model/text_map.h"
#include "model/value_headings.h"
#include "ui/bindings.h"
#include "ui/key_indicators.h"
#include "ui/up_down_arrows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

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
    {frames::kDisplayValues, 0, 1},
    {frames::kAlarms, 0, 2},
    {frames::kMonitorValues, 0, 0},
    {frames::kMonitorDevice, 0, 1},
    {frames::kSymbols, 0, 0},
    {frames::kButtons, 0, 0},
    {frames::kInputs, 0, 1},
    {frames::kExternal1, 0, 0},
    {frames::kExternal2, 0, 1},
    {frames::kExternal3, 1, 0},
    {frames::kExternal4, 1, 1},
    {frames::kSetpoint1, 0, 0},
    {frames::kSetpoint1Display, 0, 1},
    {frames::kSetpoint2, 0, 0},
    {frames::kSetpoint2Display, 0, 1},
    {frames::kControlGeneral, 0, 0},
    {frames::kControlSetpoint1, 0, 1},
    {frames::kHeating, 1, 0},
    {frames::kCooling, 1, 1},
};

// The first alarm message's first text line.
constexpr int kFirstAlarmText = 12;

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
    case FrameArray::frm_val: return QStringLiteral("frm_val_%1").arg(ref.index);
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

  // A widget across the caption and value columns.
  void addWide(QWidget* widget) { grid_->addWidget(widget, row_++, 0, 1, kColumns, Qt::AlignLeft); }

  // Headings over the caption and the value column.
  void addHeadings(QLabel* caption, QLabel* value) {
    grid_->addWidget(caption, row_, kCaptionColumn);
    grid_->addWidget(value, row_, kValueColumn, Qt::AlignLeft);
    ++row_;
  }

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
    for (const auto& row : kConfigBits) addConfigBit(row);
    addInputBits();
    for (const auto& row : kInputFields) addInputField(row);
    addOutputFields();
    addDevicePicture();
    addLcdMap();
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
    FrameGrid& grid = grids_.emplace(info.ref, FrameGrid(box)).first->second;
    // Frames that hold configuration and input registers name the
    // configuration part first; the key and input frames head their lists.
    const std::pair<FrameRef, int> headings[] = {
        {frames::kButtons, value_desc::kButtonFunction},
        {frames::kInputs, value_desc::kInputFunction},
        {frames::kSetpoint1, value_desc::kSetpoint1ConfigRegisters},
        {frames::kSetpoint2, value_desc::kSetpoint2ConfigRegisters},
        {frames::kDateTime, value_desc::kClockConfigRegisters},
    };
    for (const auto& [frame, index] : headings) {
      if (frame == info.ref) grid.addWide(desc(box, index));
    }
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
        BindArrowKeys(edit, form_.UpD_txt_cfg[i]);
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
    // Each alarm message's two lines under its heading.
    if (row.frame == frames::kAlarms && row.index % 2 == 0) {
      grid.addWide(desc(parent, value_desc::kAlarmHeading + (row.index - kFirstAlarmText) / 2));
    }
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

  QLabel* desc(QWidget* parent, int index) {
    return MakeLabel(parent, form_.lbl_desc[index], QStringLiteral("lbl_desc_%1").arg(index));
  }

  void addConfigBit(const ConfigBit& row) {
    if (row.show == BitShow::kHidden || row.frame == frames::kNone) return;
    FrameGrid& grid = grids_.at(row.frame);
    QWidget* parent = grid.box();
    const int i = row.index;
    QLabel* caption = MakeLabel(parent, form_.lbl_read_cfg_bit[i], QStringLiteral("lbl_read_cfg_bit_%1").arg(i));
    if (row.show == BitShow::kList) {
      auto* list = new QComboBox(parent);
      list->setObjectName(QStringLiteral("cmb_bit_cfg_%1").arg(i));
      list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      Bind(list, form_.cmb_bit_cfg[i]);
      grid.addRow(caption, list);
    } else {
      grid.addRow(caption, checkBox(parent, form_.chk_cfg[i], QStringLiteral("chk_cfg_%1").arg(i)));
      BindMark(caption, form_.lbl_read_cfg_bit[i], form_.chk_cfg[i]);
    }
  }

  QCheckBox* checkBox(QWidget* parent, CheckBox& model, const QString& name) {
    auto* box = new QCheckBox(parent);
    box->setObjectName(name);
    Bind(box, model);
    return box;
  }

  // The display symbols: "Funktion" over the captions, "Einschalten" over
  // the boxes.
  void addInputBits() {
    FrameGrid& grid = grids_.at(frames::kSymbols);
    QWidget* parent = grid.box();
    grid.addHeadings(desc(parent, value_desc::kFunction), desc(parent, value_desc::kSwitchOn));
    for (const auto& row : kInputBits) {
      if (!row.shown) continue;
      const int i = row.index;
      QLabel* caption = MakeLabel(parent, form_.lbl_read_in_bit[i], QStringLiteral("lbl_read_in_bit_%1").arg(i));
      grid.addRow(caption, checkBox(parent, form_.chk_input[i], QStringLiteral("chk_input_%1").arg(i)));
      BindMark(caption, form_.lbl_read_in_bit[i], form_.chk_input[i]);
    }
  }

  QLineEdit* inputEdit(QWidget* parent, int index, int chars) {
    return MakeEdit(parent, form_.txt_data_in[index], QStringLiteral("txt_data_in_%1").arg(index), chars);
  }

  void addInputField(const InputField& row) {
    FrameGrid& grid = grids_.at(row.frame);
    QWidget* parent = grid.box();
    const int k = row.index;
    if (row.clock != ClockCorrection::kNoClock || k == 6) {
      if (k == 0) addClock(grid);
      return;
    }
    if (k == 11) grid.addWide(desc(parent, value_desc::kSetpoint1InputRegisters));
    if (k == 12) grid.addWide(desc(parent, value_desc::kSetpoint2InputRegisters));
    if (k == 15) grid.addWide(desc(parent, value_desc::kSymbolInputRegisters));
    QLabel* caption = MakeLabel(parent, form_.lbl_data_in[row.captionIndex],
                                QStringLiteral("lbl_data_in_%1").arg(row.captionIndex));
    if (row.list != InputList::kNone) {
      auto* list = new QComboBox(parent);
      list->setObjectName(QStringLiteral("cmb_in_%1").arg(k));
      list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      Bind(list, form_.cmb_in[k]);
      // The field beside its list shows a value the list has no item for.
      grid.addRow(caption, list, nullptr, inputEdit(parent, k, 6));
    } else {
      QLabel* unit = nullptr;
      for (const auto& mark : kInputUnitMarks) {
        if (mark.field == k) unit = desc(parent, mark.descIndex);
      }
      grid.addRow(caption, inputEdit(parent, k, 7), nullptr, unit);
    }
  }

  // Time and date as the device shows them: hour : minute : second and
  // day . month . year, each under its heading; the further field closes
  // the date row.
  void addClock(FrameGrid& grid) {
    QWidget* parent = grid.box();
    grid.addWide(desc(parent, value_desc::kClockInputRegisters));
    const auto clockRow = [&](int heading, std::initializer_list<int> fields, int separator, int extra) {
      auto* block = new QWidget(parent);
      auto* column = new QVBoxLayout(block);
      column->setContentsMargins(0, 0, 0, 0);
      column->setSpacing(2);
      column->addWidget(desc(block, heading));
      auto* line = new QHBoxLayout;
      line->setSpacing(4);
      bool first = true;
      for (int k : fields) {
        if (!first) line->addWidget(desc(block, separator));
        first = false;
        line->addWidget(inputEdit(block, k, 3));
      }
      if (extra >= 0) {
        line->addSpacing(16);
        line->addWidget(inputEdit(block, extra, 3));
      }
      line->addStretch(1);
      column->addLayout(line);
      grid.addWide(block);
    };
    clockRow(value_desc::kTimeHeading, {2, 1, 0}, value_desc::kTimeColon, -1);
    clockRow(value_desc::kDateHeading, {3, 4, 5}, value_desc::kDateDot, 6);
  }

  void addOutputFields() {
    FrameGrid& grid = grids_.at(frames::kMonitorValues);
    QWidget* parent = grid.box();
    grid.addWide(desc(parent, value_desc::kOutputRegisters));
    for (const auto& row : kOutputFields) {
      const int k = row.index;
      QLabel* caption = MakeLabel(parent, form_.lbl_read_out[k], QStringLiteral("lbl_read_out_%1").arg(k));
      QLineEdit* value = MakeEdit(parent, form_.txt_data_out[k], QStringLiteral("txt_data_out_%1").arg(k), 7);
      QLabel* beside = nullptr;
      if (k == kTemperatureOutput) beside = desc(parent, value_desc::kTemperatureUnit);
      if (!row.texts.empty()) {
        beside = MakeLabel(parent, form_.lbl_in_val[k], QStringLiteral("lbl_in_val_%1").arg(k));
      }
      grid.addRow(caption, value, nullptr, beside);
    }
  }

  // The device as the technician sees it: its keys and the room
  // temperature, large, with its unit.
  void addDevicePicture() {
    FrameGrid& grid = grids_.at(frames::kMonitorDevice);
    QWidget* parent = grid.box();
    grid.addWide(desc(parent, value_desc::kKeysOutputRegister));
    auto* keys = new QGroupBox(parent);
    keys->setObjectName(QStringLiteral("Frame2"));
    Bind(keys, form_.Frame2);
    auto* keysLayout = new QVBoxLayout(keys);
    keysLayout->addWidget(new KeyIndicators(form_, keys));
    grid.addWide(keys);
    grid.addWide(desc(parent, value_desc::kTemperatureOutputRegister));
    auto* display = new QWidget(parent);
    auto* line = new QHBoxLayout(display);
    line->setContentsMargins(0, 12, 0, 0);
    QLabel* temperature = MakeLabel(display, form_.lbl_temp[0], QStringLiteral("lbl_temp_0"));
    QLabel* unit = MakeLabel(display, form_.lbl_temp[1], QStringLiteral("lbl_temp_1"));
    QFont large = temperature->font();
    large.setPointSizeF(large.pointSizeF() * 3);
    large.setBold(true);
    temperature->setFont(large);
    temperature->setMinimumWidth(QFontMetrics(large).horizontalAdvance(QStringLiteral("-888,8")));
    temperature->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont unitFont = unit->font();
    unitFont.setPointSizeF(unitFont.pointSizeF() * 1.5);
    unit->setFont(unitFont);
    unit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    line->addWidget(temperature);
    line->addWidget(unit);
    line->addStretch(1);
    grid.addWide(display);
  }

  // Which text field the device shows where.
  void addLcdMap() {
    QWidget* page = tabs_->widget(static_cast<int>(Tab::kLcd));
    auto* outer = new QGridLayout(page);
    auto* map = new QWidget(page);
    auto* grid = new QGridLayout(map);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    for (const auto& place : kLcdPlaces) {
      QLabel* label = desc(map, place.descIndex);
      if (place.area) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumSize(label->sizeHint().width() + 24, 2 * QLineEdit().sizeHint().height());
      }
      grid->addWidget(label, place.row, place.column, 1, place.columnSpan);
    }
    outer->addWidget(map, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    outer->setRowStretch(1, 1);
    outer->setColumnStretch(1, 1);
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
