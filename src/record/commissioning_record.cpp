#include "record/commissioning_record.h"

#include "base/device_registers.h"
#include "base/numbers.h"
#include "document/printed_document.h"
#include "model/bit_map.h"
#include "model/enumerations.h"
#include "model/form_indices.h"
#include "model/frames.h"
#include "model/register_map.h"
#include "model/text_map.h"
#include "record/record_texts.h"
#include "base/message_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace rbx14::record {
namespace {

using document::AddressText;
using document::Cell;

// Kinds of value, for the keys.
constexpr int kRegisterKey = 1000;
constexpr int kBitKey = 2000;
constexpr int kTextKey = 3000;
constexpr int kUnitKey = 4000;
constexpr int kInputBitKey = 5000;

// The input bits are coils 0x0100..0x010F.
constexpr int kInputBitBase = 0x0100;
// A unit text takes two registers (four bytes) of its block.
constexpr int kUnitRegisters = 2;
QString Caption(const texts::LocalText& text, bool english) { return document::CaptionText(text.in(english)); }

// The device pads texts with NUL characters; they are no part of the value.
QString Shown(const QString& text) {
  QString out = text;
  out.remove(QChar(0));
  return out;
}


// A list field's value as its list names it ("0x10, Lüfterstufe Plus"),
// the number itself when the list has no such entry.
QString ListValue(const ConfigField& field, const QString& number, bool english) {
  bool ok = false;
  const int code = number.trimmed().toInt(&ok);
  const int position = ok ? PositionOfCode(field.list, code) : -1;
  return position >= 0 ? ItemsOf(field.list)[static_cast<std::size_t>(position)].text.in(english) : number;
}

// The group of a frame: a frame without a caption of its own (the fan
// stages) belongs to the frame that holds it.
FrameRef GroupFrame(FrameRef ref) {
  const FrameInfo* info = FindFrame(ref);
  if (info != nullptr && QString::fromUtf16(info->caption.de).trimmed().isEmpty() &&
      info->parent != frames::kNone) {
    return info->parent;
  }
  return ref;
}

class Groups {
 public:
  explicit Groups(bool english) {
    for (int tab = 0; tab < kTabCount; ++tab) {
      for (const FrameInfo& info : kFrames) {
        if (static_cast<int>(info.tab) != tab || GroupFrame(info.ref) != info.ref) continue;
        index_[info.ref] = groups_.size();
        const texts::LocalText& title = tab == static_cast<int>(Tab::kController)
                                            ? words::kControllerTab
                                            : kTabTitles[static_cast<std::size_t>(tab)];
        groups_.push_back({title.in(english).trimmed() +
                               QStringLiteral(" – ") + Caption(info.caption, english),
                           {}});
      }
    }
  }
  // False for a value on no frame of the window.
  bool add(FrameRef frame, RecordValue value) {
    const auto at = index_.find(GroupFrame(frame));
    if (at == index_.end()) return false;
    groups_[at->second].values.push_back(std::move(value));
    return true;
  }
  void append(ValueGroup group) { groups_.push_back(std::move(group)); }
  std::vector<ValueGroup> take() {
    std::erase_if(groups_, [](const ValueGroup& g) { return g.values.empty(); });
    return std::move(groups_);
  }

 private:
  std::map<FrameRef, std::size_t> index_;
  std::vector<ValueGroup> groups_;
};

// Two labelled values side by side, as a row of the head.
QString HeadRow(const QString& label1, const QString& value1, const QString& label2,
                const QString& value2) {
  const auto pair = [](const QString& label, const QString& value) {
    return QStringLiteral("<td width=\"17%\" bgcolor=\"#dde4ee\"><b>") + Cell(label) +
           QStringLiteral("</b></td><td width=\"33%\">") + Cell(value) + QStringLiteral("</td>");
  };
  return QStringLiteral("<tr>") + pair(label1, value1) + pair(label2, value2) + QStringLiteral("</tr>");
}

QString ResultText(const CommissioningRecord& r) {
  const bool en = r.english;
  const QString file = QLocale(en ? QLocale::English : QLocale::German).quoteString(QFileInfo(r.file).fileName());
  switch (r.result) {
    case RecordResult::Verified:
      return (r.before.empty() ? words::kVerifiedRead : words::kVerifiedWrite).in(en).arg(file);
    case RecordResult::Differences:
      return r.differences.size() == 1 ? words::kDifferedOne.in(en).arg(file)
                                       : words::kDiffered.in(en).arg(r.differences.size()).arg(file);
    case RecordResult::Failed:
      return words::kFailed.in(en).arg(r.failure);
    case RecordResult::AsRead:
      return words::kAsRead.in(en).arg(QLocale(en ? QLocale::English : QLocale::German)
                                            .toString(r.when, QLocale::ShortFormat));
  }
  return {};
}

}  // namespace

std::vector<ValueGroup> ReadValues(const FrmConfig& form, bool english, QChar decimalSep) {
  // The device's values as last read, not what may have been typed since.
  const auto number = [&](int index) { return FormatDecimal(form.dCfgRegValue[index], decimalSep); };
  Groups groups(english);
  QStringList reserved;
  int firstReserved = -1;
  int lastReserved = -1;
  for (int i = 2; i < device::kConfigTransferred; ++i) {
    const ConfigField& f = kConfigFields[static_cast<std::size_t>(i)];
    if (f.kind == FieldKind::kHidden || f.frame == frames::kNone) {
      // Carried and written like the others, shown nowhere: one row.
      if (firstReserved < 0) firstReserved = i;
      lastReserved = i;
      reserved << number(i);
      continue;
    }
    groups.add(f.frame, {kRegisterKey + i, AddressText(i), Caption(f.caption, english),
                         f.kind == FieldKind::kList ? ListValue(f, number(i), english) : number(i),
                         QString::fromUtf16(f.unit)});
  }
  for (const DisplayTextField& t : kDisplayTexts) {
    groups.add(t.frame, {kTextKey + t.index, AddressText(device::kTextFirst + device::kBlockRegisters * t.index),
                         Caption(t.caption, english), Shown(form.sCfgTextValue[t.index]), {}});
  }
  for (const UnitField& u : kUnitFields) {
    // Three units share a block of ten registers, two registers each.
    const int address = device::kUnitFirst + device::kBlockRegisters * (u.index / device::kUnitsPerBlock) +
                        kUnitRegisters * (u.index % device::kUnitsPerBlock);
    groups.add(u.frame, {kUnitKey + u.index, AddressText(address),
                         Caption(UnitCaption(u.index), english),
                         Shown(form.sCfgUnitValue[u.index]), {}});
  }
  // The coils of the configuration bits; the window's last bit belongs to none.
  for (int i = 0; i < device::kCoilCount; ++i) {
    const ConfigBit& bit = kConfigBits[static_cast<std::size_t>(i)];
    const int value = form.iCfgBitValue[i];
    QString shown = (value != 0 ? words::kOn : words::kOff).in(english);
    if (const auto items = BitListItems(bit.list); items.size() == 2) {
      shown = items[value != 0 ? 1 : 0].in(english);
    }
    const bool isReserved = bit.caption.de == bit_rows::kReserved.de;
    groups.add(bit.frame, {kBitKey + i, words::kCoil.in(english).arg(AddressText(i)),
                           isReserved ? words::kReserved.in(english) : Caption(bit.caption, english),
                           shown, {}});
  }
  // The input bits the window shows; the reserved ones, carried like the
  // others, in one row.
  QStringList reservedBits;
  int firstReservedBit = -1;
  for (const InputBit& bit : kInputBits) {
    const int value = form.iInputBitValue[bit.index];
    if (!bit.shown) {
      if (firstReservedBit < 0) firstReservedBit = bit.index;
      reservedBits << QString::number(value != 0 ? 1 : 0);
      continue;
    }
    groups.add(frames::kSymbols,
               {kInputBitKey + bit.index,
                words::kCoil.in(english).arg(AddressText(kInputBitBase + bit.index)),
                Caption(bit.caption, english), (value != 0 ? words::kOn : words::kOff).in(english), {}});
  }
  if (firstReservedBit >= 0) {
    groups.add(frames::kSymbols,
               {kInputBitKey + firstReservedBit,
                words::kCoil.in(english).arg(AddressText(kInputBitBase + firstReservedBit)) +
                    QStringLiteral(" …\n") + AddressText(kInputBitBase + kInputBitCount - 1),
                words::kReserved.in(english), reservedBits.join(u' '), {}});
  }
  if (firstReserved >= 0) {
    QString title = words::kReserved.in(english);
    title[0] = title[0].toUpper();
    groups.append({title,
                   {{kRegisterKey + firstReserved,
                     AddressText(firstReserved) + QStringLiteral(" …\n") + AddressText(lastReserved),
                     words::kReserved.in(english), reserved.join(QStringLiteral("; ")), {}}}});
  }
  return groups.take();
}

std::map<int, QString> ValuesByKey(const std::vector<ValueGroup>& groups) {
  std::map<int, QString> out;
  for (const ValueGroup& g : groups) {
    for (const RecordValue& v : g.values) out[v.key] = v.value;
  }
  return out;
}

UnitIdentity IdentityOf(const FrmConfig& form, bool english) {
  const auto number = [&form](int index) { return FormatDecimal(form.dCfgRegValue[index], u','); };
  return {number(0), number(1), ListValue(kConfigFields[2], number(2), english), number(3)};
}

void TakeLine(CommissioningRecord& record, const FrmConfig& form) {
  record.mode = form.Combo_Port[port_list::kMode].text();
  record.baudRate = form.Combo_Port[port_list::kBaud].text();
  record.parity = form.Combo_Port[port_list::kParity].text();
}

QString RecordHtml(const CommissioningRecord& r) {
  const bool en = r.english;
  const QLocale locale(en ? QLocale::English : QLocale::German);
  QString html = document::HtmlStart(true);
  html += QStringLiteral("<h1>") + Cell(words::kTitle.in(en)) + QStringLiteral("</h1><p>") +
          Cell(words::kSubtitle.in(en)) + QStringLiteral("</p>");

  // The head: the unit, the line, who and when.
  const QString none = words::kNotRead.in(en);
  const auto field = [&](int index) { return Caption(kConfigFields[static_cast<std::size_t>(index)].caption, en); };
  html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" border=\"1\">");
  html += HeadRow(MsgText(12, en).trimmed().remove(u':'), QString::number(r.address), words::kLine.in(en),
                  QStringList{r.port, r.mode, r.baudRate + QStringLiteral(" Baud"), r.parity}.join(QStringLiteral(", ")));
  html += HeadRow(field(2), r.unit ? r.unit->deviceType : none, words::kParameterFile.in(en),
                  r.file.isEmpty() ? QStringLiteral("–") : QFileInfo(r.file).fileName());
  html += HeadRow(field(0), r.unit ? r.unit->coding : none, words::kProgram.in(en),
                  r.program + u' ' + QStringLiteral(RBX14_VERSION));
  html += HeadRow(field(1), r.unit ? r.unit->firmware : none, words::kDateTime.in(en),
                  locale.toString(r.when, QLocale::LongFormat));
  html += HeadRow(field(3), r.unit ? r.unit->location : none, words::kTechnician.in(en), r.technician);
  html += QStringLiteral("</table>");

  // Every value, two to a row; the changed ones in bold with their value before.
  if (!r.values.empty()) {
    int changed = 0;
    for (const ValueGroup& group : r.values) {
      for (const RecordValue& v : group.values) {
        const auto before = r.before.find(v.key);
        changed += before != r.before.end() && before->second != v.value ? 1 : 0;
      }
    }
    html += QStringLiteral("<h2>") + Cell(words::kSettings.in(en)) + QStringLiteral("</h2>");
    if (r.result == RecordResult::AsRead) {
      if (changed > 0) html += QStringLiteral("<p>") + Cell(words::kSessionNote.in(en).arg(changed)) + QStringLiteral("</p>");
    } else if (!r.before.empty()) {
      html += QStringLiteral("<p>") +
              Cell(changed > 0 ? words::kChangedNote.in(en).arg(changed) : words::kNothingChanged.in(en)) +
              QStringLiteral("</p>");
    }
    const QStringList half{words::kAddress.in(en), words::kName.in(en), words::kValue.in(en)};
    document::Table table{{}, half + half, {10, 21, 19, 10, 21, 19}, {}};
    table.entryColumns = static_cast<int>(half.size());
    const auto withUnit = [](const QString& value, const QString& unit) {
      return unit.isEmpty() || value.isEmpty() ? value : value + u' ' + unit;
    };
    for (const ValueGroup& group : r.values) {
      table.rows.push_back({group.title});
      table.bold.emplace_back();
      for (std::size_t i = 0; i < group.values.size(); i += 2) {
        QStringList row;
        std::vector<bool> strong;
        for (std::size_t k = i; k < i + 2; ++k) {
          if (k >= group.values.size()) {
            row << QString() << QString() << QString();
            continue;
          }
          const RecordValue& v = group.values[k];
          const auto before = r.before.find(v.key);
          const bool was = before != r.before.end() && before->second != v.value;
          QString value = withUnit(v.value, v.unit);
          if (was) value += u'\n' + words::kBefore.in(en) + QStringLiteral(": ") + withUnit(before->second, v.unit);
          row << v.address << v.caption << value;
          strong.insert(strong.end(), 3, was);
        }
        table.rows.push_back(row);
        table.bold.push_back(strong);
      }
    }
    document::AppendTable(html, table, {});
  }

  // The result.
  const bool good = r.result == RecordResult::Verified || r.result == RecordResult::AsRead;
  // A table's end takes no margin: an empty line keeps the heading off it.
  html += QStringLiteral("<p>&nbsp;</p><h2 style=\"margin-top: 0px;\">") + Cell(words::kResult.in(en)) +
          QStringLiteral("</h2>");
  html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\" border=\"1\"><tr><td bgcolor=\"") +
          (good ? QStringLiteral("#e2efe2") : QStringLiteral("#f6d5d5")) + QStringLiteral("\"><b>") +
          Cell(words::kResult.in(en) + QStringLiteral(": ") + ResultText(r)) + QStringLiteral("</b></td></tr></table>");
  if (r.result == RecordResult::Failed && r.values.empty()) {
    html += QStringLiteral("<p>") + Cell(words::kNoValues.in(en)) + QStringLiteral("</p>");
  }
  if (!r.differences.empty()) {
    document::Table table{words::kDifferences.in(en),
                          {words::kFileLine.in(en), words::kName.in(en), words::kFileValue.in(en),
                           words::kUnitValue.in(en)},
                          {10, 46, 22, 22},
                          {}};
    for (const ReadBackDifference& d : r.differences) {
      table.rows.push_back({QString::number(d.line), d.caption, d.fileValue, d.unitValue});
    }
    document::AppendTable(html, table, table.title);
  }
  html += QStringLiteral("<p style=\"margin-top: 28px;\">______________________________________<br/>") +
          Cell(words::kSignature.in(en) + QStringLiteral(", ") + words::kTechnician.in(en)) +
          QStringLiteral("</p>");
  html += document::HtmlEnd();
  return html;
}

QString RecordFileName(int address, const QString& location, const QDate& date, int copy) {
  // The location as it may stand in a file name: its digits and letters.
  QString loc;
  for (const QChar c : location) {
    if (c.isLetterOrNumber() && c.unicode() < 128) loc += c;
  }
  if (loc.isEmpty()) loc = QStringLiteral("unknown");
  QString name = QStringLiteral("unit-%1_loc-%2_%3")
                     .arg(address, 3, 10, QChar(u'0'))
                     .arg(loc, date.toString(Qt::ISODate));
  if (copy > 1) name += QStringLiteral("_%1").arg(copy);
  return name + QStringLiteral(".pdf");
}

bool SaveRecordAs(const CommissioningRecord& record, const QString& path, QString* error) {
  // The file chosen is replaced only once the whole new record is written.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  if (!document::WritePdf(RecordHtml(record), words::kTitle.in(record.english), file, error)) return false;
  if (!file.commit()) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  return true;
}

std::optional<QString> SaveRecord(const CommissioningRecord& record, const QString& folder,
                                  QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error != nullptr) *error = QStringLiteral("cannot make %1").arg(folder);
    return std::nullopt;
  }
  const QString html = RecordHtml(record);
  const QString title = words::kTitle.in(record.english) + QStringLiteral(" – ") +
                        QString::number(record.address);
  const QString location = record.unit ? record.unit->location : QString();
  // A record is never replaced (a verify after the write keeps the write's
  // record): the next free name is taken, claimed whole so that two lines
  // writing into one folder cannot take the same.
  for (int copy = 1; copy < 1000; ++copy) {
    const QString path = QDir(folder).filePath(RecordFileName(record.address, location, record.when.date(), copy));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
      if (file.exists()) continue;
      if (error != nullptr) *error = file.errorString();
      return std::nullopt;
    }
    if (!document::WritePdf(html, title, file, error)) {
      file.remove();
      return std::nullopt;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
      if (error != nullptr) *error = file.errorString();
      file.remove();
      return std::nullopt;
    }
    return path;
  }
  if (error != nullptr) *error = QStringLiteral("no free name in %1").arg(folder);
  return std::nullopt;
}

}  // namespace rbx14::record
