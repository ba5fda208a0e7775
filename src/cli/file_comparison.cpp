#include "cli/file_comparison.h"

#include "base/numbers.h"
#include "files/parameter_file.h"

#include <cmath>
#include <functional>

namespace rbx14 {
namespace {

using file_layout::Block;
using file_layout::Section;

enum class Kind { Number, Bit, Text };

struct Item {
  int line;
  Kind kind;
  QString caption;
  QString shown;   // the window's value
  QString before;  // the device's value as last read
  bool marked;
};

QString CaptionOf(const Label* label) {
  QString caption = label != nullptr ? label->caption().trimmed() : QString();
  while (caption.endsWith(u':')) caption.chop(1);
  return caption.trimmed();
}

// A field without a caption in the window (most bits) is named as in the
// file: "Konfigurationsbit 5".
QString NameOf(const QString& caption, const QStringList& lines, int line) {
  if (!caption.isEmpty() || line > lines.size()) return caption;
  return lines[line - 1].section(u';', 0, 0).trimmed();
}

bool Marked(const Control& control) { return control.foreColor() == colors::kRed; }

// Every field the file carries, in the order of its lines. Register 60 lies
// beyond the blocks the device is read and written in (0 to 59): it can be
// neither written nor compared.
void ForEachItem(const FrmConfig& form, QChar sep, const std::function<void(const Item&)>& visit) {
  for (const Block& block : file_layout::kBlocks) {
    const bool registers = block.section == Section::kRegister;
    const int end = registers ? device::kConfigTransferred : block.count;
    for (int i = registers ? file_layout::kFirstLoadedRegister : 0; i < end; ++i) {
      const QString caption = CaptionOf(LabelOf(form, {block, i}));
      if (block.section == Section::kBit) {
        const CheckBox& box = form.chk_cfg[i];
        visit({block.line(i), Kind::Bit, caption, QString::number(box.value()),
               QString::number(form.iCfgBitValue[i]), Marked(box)});
        continue;
      }
      const TextBox* field = FieldOf(form, {block, i});
      if (field == nullptr) continue;
      const QString before = registers ? FormatDecimal(form.dCfgRegValue[i], sep)
                             : block.section == Section::kText ? form.sCfgTextValue[i]
                                                                : form.sCfgUnitValue[i];
      visit({block.line(i), registers ? Kind::Number : Kind::Text, caption, field->text(), before,
             Marked(*field)});
    }
  }
}

QString WithoutPadding(QString text) {
  while (text.endsWith(QChar(0))) text.chop(1);
  return text;
}

bool SameValue(Kind kind, const QString& shown, const QString& file, QChar sep) {
  if (kind == Kind::Text) return WithoutPadding(shown) == WithoutPadding(file);
  const auto a = ParseDecimal(shown, sep);
  const auto b = ParseDecimal(file, sep);
  if (a && b) return std::fabs(*a - *b) < 1e-9;
  return shown.trimmed() == file.trimmed();
}

}  // namespace

QString Printable(const QString& value) { return WithoutPadding(value); }

std::vector<FieldDifference> CompareWithFile(const FrmConfig& form, const QStringList& lines,
                                             QChar decimalSep) {
  std::vector<FieldDifference> out;
  ForEachItem(form, decimalSep, [&](const Item& item) {
    const auto file = item.line <= lines.size() ? ValueField(lines[item.line - 1]) : std::nullopt;
    if (file && SameValue(item.kind, item.shown, *file, decimalSep)) return;
    out.push_back(
        {item.line, NameOf(item.caption, lines, item.line), file.value_or(QString()), item.shown});
  });
  return out;
}

std::vector<FieldDifference> MarkedFields(const FrmConfig& form, const QStringList& lines,
                                          QChar decimalSep) {
  std::vector<FieldDifference> out;
  ForEachItem(form, decimalSep, [&](const Item& item) {
    if (!item.marked) return;
    const auto file = item.line <= lines.size() ? ValueField(lines[item.line - 1]) : std::nullopt;
    out.push_back({item.line, NameOf(item.caption, lines, item.line), file.value_or(item.shown),
                   item.before});
  });
  return out;
}

bool WriteStartsFromMarks(const FrmConfig& form) {
  const auto any = [](const auto& controls, int first, int last) {
    for (int i = first; i <= last; ++i) {
      if (const auto* control = controls.find(i); control != nullptr && Marked(*control)) return true;
    }
    return false;
  };
  return any(form.txt_data_cfg, 0, file_layout::kRegisters.count - 1) ||
         any(form.txt_data_cfg_txt, 0, file_layout::kTexts.count - 1) ||
         any(form.txt_data_cfg_unit, 0, file_layout::kUnits.count - 1) ||
         any(form.chk_cfg, 0, file_layout::kBits.count - 2) ||
         any(form.txt_data_in, 0, 24) || any(form.chk_input, 0, 15);
}

void MarkChangedBits(FrmConfig& form) {
  for (int i = 0; i < file_layout::kBits.count; ++i) {
    CheckBox& box = form.chk_cfg[i];
    if (box.value() != form.iCfgBitValue[i]) box.setForeColor(colors::kRed);
  }
}

}  // namespace rbx14
