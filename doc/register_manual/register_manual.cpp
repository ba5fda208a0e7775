#include "doc/register_manual/register_manual.h"

#include "doc/register_manual/manual_texts.h"
#include "document/printed_document.h"
#include "model/bit_map.h"
#include "model/device_types.h"
#include "model/enumerations.h"
#include "model/frames.h"
#include "model/input_map.h"
#include "model/output_map.h"
#include "model/register_map.h"
#include "model/text_map.h"
#include "shell/about_box.h"
#include "base/message_table.h"

#include <QLocale>
#include <QRegularExpression>

#include <map>

namespace rbx14::manual {
namespace {

using document::AddressText;

// The device's coils 0x0000..0x001F; the window's last configuration bit
// belongs to no coil.
constexpr int kConfigCoilCount = kConfigBitCount - 1;
constexpr int kDisplayTextBase = 0x0300;
constexpr int kUnitTextBase = 0x0400;
constexpr int kInputBitBase = 0x0100;
constexpr int kInputRegisterBase = 0x0200;
constexpr int kOutputRegisterBase = 0x0100;
constexpr int kTextRegisters = 10;
constexpr int kUnitRegisters = 2;

class Writer {
 public:
  explicit Writer(bool english)
      : english_(english), locale_(english ? QLocale::English : QLocale::German) {
    // 65535, not 65.535: register values read like the device writes them.
    locale_.setNumberOptions(QLocale::OmitGroupSeparator);
  }

  QString operator()(const texts::LocalText& text) const { return text.in(english_); }

  // A caption as a table cell: without the colon and the padding that line
  // the window's fields up.
  QString caption(const texts::LocalText& text) const { return document::CaptionText(text.in(english_)); }

  QString number(double value) const {
    QString s = locale_.toString(value, 'f', 1);
    if (s.endsWith(locale_.decimalPoint() + u'0')) s.chop(2);
    return s;
  }

  QString range(double min, double max) const {
    return number(min) + QStringLiteral(" … ") + number(max);
  }

  QString frameTitle(FrameRef ref) const {
    const FrameInfo* info = FindFrame(ref);
    if (info == nullptr) return (*this)(words::kOtherGroup);
    QString title = caption(info->caption);
    if (title.isEmpty() && info->parent != frames::kNone) {
      title = caption(FindFrame(info->parent)->caption);
    }
    return title;
  }

 private:
  bool english_;
  QLocale locale_;
};

// "0x10, Lüfterstufe Plus" -> "Lüfterstufe Plus": the code stands in its
// own column of the value list.
QString WithoutCodePrefix(const QString& text) {
  static const QRegularExpression prefix(QStringLiteral("^0x[0-9A-Fa-f]+,\\s*"));
  QString out = text;
  out.remove(prefix);
  return out;
}

QString CodeText(int code, bool hex, int digits) {
  if (!hex) return QString::number(code);
  return QStringLiteral("0x") + QStringLiteral("%1").arg(code, digits, 16, QChar(u'0')).toUpper();
}

QString ValueList(const Writer& w, std::span<const ListItem> items) {
  bool hex = false;
  for (const ListItem& item : items) {
    hex = hex || QString::fromUtf16(item.text.de).startsWith(u"0x");
  }
  QStringList lines;
  for (const ListItem& item : items) {
    lines << CodeText(item.code, hex, 2) + QStringLiteral(" = ") + WithoutCodePrefix(w(item.text));
  }
  return lines.join(u'\n');
}

// Items whose text begins with their code, as in the input registers' lists.
QString CodedTextList(const Writer& w, std::span<const texts::LocalText> items) {
  QStringList lines;
  for (const texts::LocalText& item : items) {
    const QString text = w(item);
    const qsizetype comma = text.indexOf(u',');
    lines << (comma > 0 ? text.left(comma) + QStringLiteral(" = ") + text.mid(comma + 1).trimmed()
                        : text);
  }
  return lines.join(u'\n');
}

QString ValueTextList(std::span<const ValueText> values, bool english) {
  QStringList lines;
  for (const ValueText& v : values) {
    lines << CodeText(v.value, v.value > 0xFF, 4) + QStringLiteral(" = ") +
                 MsgText(v.msgText, english);
  }
  return lines.join(u'\n');
}

ManualChapter Overview(const Writer& w) {
  ManualChapter c{w(words::kOverview),
                  {w(words::kOverviewText1), w(words::kOverviewText2), w(words::kOverviewText3)},
                  {}};
  ManualTable areas{w(words::kAreaTable),
                    {w(words::kAddress), w(words::kArea), w(words::kFunctions), w(words::kAccess)},
                    {24, 40, 14, 22},
                    {}};
  const auto area = [&](int first, int last, const texts::LocalText& name, const char* functions,
                        const texts::LocalText& access) {
    areas.rows.push_back({AddressText(first) + QStringLiteral(" … ") + AddressText(last),
                          w(name), QString::fromLatin1(functions), w(access)});
  };
  area(0, kConfigFieldCount - 1, words::kConfigRegisters, "03, 10", words::kReadWrite);
  area(kDisplayTextBase, kDisplayTextBase + kDisplayTextCount * kTextRegisters - 1,
       words::kDisplayTexts, "03, 10", words::kReadWrite);
  area(kUnitTextBase, kUnitTextBase + kUnitFieldCount / 3 * kTextRegisters - 1, words::kUnitTexts,
       "03, 10", words::kReadWrite);
  area(kOutputRegisterBase, kOutputRegisterBase + kOutputFieldCount - 1,
       words::kOutputRegisters, "03", words::kReadOnlyAccess);
  area(kInputRegisterBase, kInputRegisterBase + kInputFieldCount - 1, words::kInputRegisters,
       "03, 10", words::kReadWrite);
  area(0, kConfigCoilCount - 1, words::kConfigBits, "01, 0F", words::kReadWrite);
  area(kInputBitBase, kInputBitBase + kInputBitCount - 1, words::kInputBits, "01, 0F",
       words::kReadWrite);
  c.tables.push_back(std::move(areas));
  return c;
}

ManualChapter ConfigRegisters(const Writer& w) {
  ManualChapter c{w(words::kConfigRegisters), {}, {}};
  const QStringList columns{w(words::kAddress), w(words::kName),    w(words::kRange),
                            w(words::kStep),    w(words::kUnit),    w(words::kScaling),
                            w(words::kValues)};
  // One table per group of the window, in the order the window shows them.
  std::map<FrameRef, std::vector<const ConfigField*>> byFrame;
  for (const ConfigField& f : kConfigFields) byFrame[f.frame].push_back(&f);
  std::vector<FrameRef> order;
  for (const FrameInfo& info : kFrames) {
    if (byFrame.contains(info.ref)) order.push_back(info.ref);
  }
  if (byFrame.contains(frames::kNone)) order.push_back(frames::kNone);

  // A list that several registers share is written out once.
  std::map<ListId, int> listShownAt;
  for (const FrameRef ref : order) {
    ManualTable table{w.frameTitle(ref), columns, {11, 23, 14, 7, 7, 14, 24}, {}};
    for (const ConfigField* f : byFrame[ref]) {
      QString range;
      QString step;
      QString values;
      switch (f->kind) {
        case FieldKind::kUpDown:
          range = w.range(f->min, f->max);
          step = w.number(f->tenths ? 0.1 : 1.0);
          break;
        case FieldKind::kEdit:
          range = w.range(0, 65535);
          step = w.number(1.0);
          break;
        case FieldKind::kList:
          range = w(words::kCodes);
          if (const auto shown = listShownAt.find(f->list); shown != listShownAt.end()) {
            values = w(words::kSameCodes).arg(AddressText(shown->second));
          } else {
            values = ValueList(w, ItemsOf(f->list));
            listShownAt.emplace(f->list, f->index);
          }
          break;
        case FieldKind::kReadOnly:
          range = w(words::kReadOnly);
          break;
        case FieldKind::kHidden:
          range = w(words::kReserved);
          break;
      }
      QString scaling;
      if (f->kind != FieldKind::kHidden) {
        scaling = f->keys == KeyClass::kSigned ? w(words::kSigned) : w(words::kUnsigned);
        if (f->tenths) scaling = w(words::kTenths) + QStringLiteral(", ") + scaling;
      }
      QString name = w.caption(f->caption);
      if (f->kind == FieldKind::kHidden) name = w(words::kReserved);
      table.rows.push_back({AddressText(f->index), name, range, step, QString::fromUtf16(f->unit),
                            scaling, values});
    }
    c.tables.push_back(std::move(table));
  }
  return c;
}

ManualChapter Texts(const Writer& w) {
  ManualChapter c{w(words::kTexts), {w(words::kTextNote)}, {}};
  ManualTable display{w(words::kDisplayTexts),
                      {w(words::kAddress), w(words::kName), w(words::kRegisters),
                       w(words::kCharacters)},
                      {12, 58, 12, 18},
                      {}};
  for (const DisplayTextField& t : kDisplayTexts) {
    display.rows.push_back(
        {AddressText(kDisplayTextBase + kTextRegisters * t.index),
         w.frameTitle(t.frame) + QStringLiteral(": ") + w.caption(t.caption),
         QString::number(kTextRegisters),
         w(words::kTextChars).arg(2 * kTextRegisters).arg(t.maxLength)});
  }
  ManualTable units{w(words::kUnitTexts),
                    {w(words::kAddress), w(words::kName), w(words::kRegisters),
                     w(words::kCharacters)},
                    {12, 58, 12, 18},
                    {}};
  for (const UnitField& u : kUnitFields) {
    // Three units share a block of ten registers, two registers each.
    const int address = kUnitTextBase + kTextRegisters * (u.index / 3) + kUnitRegisters * (u.index % 3);
    units.rows.push_back({AddressText(address),
                          w.frameTitle(u.frame) + QStringLiteral(": ") + w.caption(UnitCaption(u.index)),
                          QString::number(kUnitRegisters),
                          w(words::kTextChars).arg(2 * kUnitRegisters).arg(u.maxLength)});
  }
  c.tables.push_back(std::move(display));
  c.tables.push_back(std::move(units));
  return c;
}

ManualChapter ConfigBits(const Writer& w) {
  ManualChapter c{w(words::kConfigBits), {}, {}};
  const QStringList columns{w(words::kAddress), w(words::kName), w(words::kBitClear),
                            w(words::kBitSet)};
  std::map<FrameRef, std::vector<const ConfigBit*>> byFrame;
  std::vector<FrameRef> order;
  for (int i = 0; i < kConfigCoilCount; ++i) {
    const ConfigBit& bit = kConfigBits[static_cast<std::size_t>(i)];
    if (!byFrame.contains(bit.frame)) order.push_back(bit.frame);
    byFrame[bit.frame].push_back(&bit);
  }
  for (const FrameRef ref : order) {
    ManualTable table{w.frameTitle(ref), columns, {12, 40, 24, 24}, {}};
    for (const ConfigBit* bit : byFrame[ref]) {
      const bool reserved = bit->caption.de == bit_rows::kReserved.de;
      QString clear = reserved ? QString() : w(words::kOff);
      QString set = reserved ? QString() : w(words::kOn);
      if (const auto items = BitListItems(bit->list); items.size() == 2) {
        clear = w(items[0]);
        set = w(items[1]);
      }
      table.rows.push_back({AddressText(bit->index),
                            reserved ? w(words::kReserved) : w.caption(bit->caption), clear, set});
    }
    c.tables.push_back(std::move(table));
  }
  return c;
}

ManualChapter InputBits(const Writer& w) {
  ManualChapter c{w(words::kInputBits), {w(words::kInputBitNote)}, {}};
  ManualTable table{{},
                    {w(words::kAddress), w(words::kName), w(words::kBitClear), w(words::kBitSet)},
                    {12, 40, 24, 24},
                    {}};
  for (const InputBit& bit : kInputBits) {
    if (bit.shown) {
      table.rows.push_back({AddressText(kInputBitBase + bit.index), w.caption(bit.caption),
                            w(words::kSymbolOff), w(words::kSymbolOn)});
    } else {
      table.rows.push_back({AddressText(kInputBitBase + bit.index), w(words::kReserved), {}, {}});
    }
  }
  c.tables.push_back(std::move(table));
  return c;
}

ManualChapter InputRegisters(const Writer& w) {
  ManualChapter c{w(words::kInputRegisters), {w(words::kInputRegisterNote)}, {}};
  const QStringList columns{w(words::kAddress), w(words::kName), w(words::kRange),
                            w(words::kScaling), w(words::kMeaning)};
  std::map<FrameRef, std::vector<const InputField*>> byFrame;
  std::vector<FrameRef> order;
  for (const InputField& f : kInputFields) {
    if (!byFrame.contains(f.frame)) order.push_back(f.frame);
    byFrame[f.frame].push_back(&f);
  }
  for (const FrameRef ref : order) {
    ManualTable table{w.frameTitle(ref), columns, {11, 25, 14, 18, 32}, {}};
    for (const InputField* f : byFrame[ref]) {
      const bool clock = f->read == InputRead::kNotRead;
      QString name = w.caption(f->caption);
      if (clock && f->index < static_cast<int>(words::kClockFields.size())) {
        name = w(words::kClockFields[static_cast<std::size_t>(f->index)]);
      }
      QString scaling = f->read == InputRead::kSignedTenths
                            ? w(words::kTenths) + QStringLiteral(", ") + w(words::kSigned)
                            : w(words::kSigned);
      QStringList meaning;
      if (clock) meaning << w(words::kWriteOnlyNote);
      if (f->list != InputList::kNone) meaning << CodedTextList(w, InputListItems(f->list));
      if (f->passes) meaning << w(words::kNoValue).arg(w.number(*f->passes));
      table.rows.push_back({AddressText(kInputRegisterBase + f->index), name,
                            f->list != InputList::kNone ? w(words::kCodes) : w.range(f->min, f->max),
                            scaling, meaning.join(u'\n')});
    }
    c.tables.push_back(std::move(table));
  }
  return c;
}

// Output registers whose meaning follows the device type: "VX0: Temperatur;
// VX1: Digital Eingang 3; ...".
QString MeaningByDevice(int output, bool english) {
  std::vector<std::pair<int, QStringList>> groups;  // message entry, device names
  for (const DeviceTypeRule& rule : kDeviceTypeRules) {
    const int msg = output == 11 ? rule.monitorCaption11 : rule.monitorCaption12;
    if (msg < 0) continue;
    const QString device =
        QString::fromUtf16(lists::kDeviceType[static_cast<std::size_t>(rule.deviceType)].text.de);
    if (groups.empty() || groups.back().first != msg) {
      groups.push_back({msg, {device}});
    } else {
      groups.back().second << device;
    }
  }
  QStringList parts;
  for (const auto& [msg, devices] : groups) {
    QString text = MsgText(msg, english).trimmed();
    if (text.endsWith(u':')) text.chop(1);
    parts << devices.join(QStringLiteral(", ")) + QStringLiteral(": ") + text;
  }
  return parts.join(u'\n');
}

ManualChapter OutputRegisters(const Writer& w, bool english) {
  ManualChapter c{w(words::kOutputRegisters), {w(words::kOutputRegisterNote)}, {}};
  ManualTable table{{},
                    {w(words::kAddress), w(words::kName), w(words::kScaling), w(words::kMeaning)},
                    {11, 25, 20, 44},
                    {}};
  for (const OutputField& f : kOutputFields) {
    QString meaning = ValueTextList(f.texts, english);
    QString name = w.caption(f.caption);
    if (f.index == kKeysOutput) meaning = w(words::kKeys);
    if (f.index == kKeysOutput + 1) meaning = w(words::kKeys2);
    if (f.index == 11 || f.index == 12) {
      meaning = w(words::kByDevice).arg(MeaningByDevice(f.index, english));
    }
    const QString scaling = f.read == OutputRead::kSignedTenths
                                ? w(words::kTenths) + QStringLiteral(", ") + w(words::kSigned)
                                : w(words::kUnsigned);
    table.rows.push_back({AddressText(kOutputRegisterBase + f.index), name, scaling, meaning});
  }
  c.tables.push_back(std::move(table));
  return c;
}

}  // namespace

RegisterManual BuildRegisterManual(bool english, const QString& version) {
  const Writer w(english);
  RegisterManual m;
  m.title = w(words::kTitle);
  m.subtitle = w(words::kSubtitle);
  m.versionLine = w(words::kVersion).arg(version);
  m.maker << QStringLiteral("Quelmar Dovedevavizoz GmbH");
  m.maker << kMakerAddress.split(u'\n');
  m.maker << kMakerWeb;
  m.contentsTitle = w(words::kContents);
  m.chapters.push_back(Overview(w));
  m.chapters.push_back(ConfigRegisters(w));
  m.chapters.push_back(Texts(w));
  m.chapters.push_back(ConfigBits(w));
  m.chapters.push_back(InputBits(w));
  m.chapters.push_back(InputRegisters(w));
  m.chapters.push_back(OutputRegisters(w, english));
  return m;
}

}  // namespace rbx14::manual
