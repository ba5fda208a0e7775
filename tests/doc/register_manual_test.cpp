// The register manual as built: one row for every register and bit of the
// program's tables, read back from the PDFs with pdftotext, and every list
// item with its code in the manual's content.

#include "doc/register_manual/register_manual.h"
#include "model/bit_map.h"
#include "model/enumerations.h"
#include "model/input_map.h"
#include "model/output_map.h"
#include "model/register_map.h"
#include "model/text_map.h"
#include "support/pdf_text.h"
#include "support/qt_printers.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

namespace rbx14::manual {
namespace {

QString Hex(int address) {
  return QStringLiteral("0x%1").arg(address, 4, 16, QChar(u'0')).toUpper().replace(u'X', u'x');
}

// The addresses the device's tables define, per chapter of the manual.
std::vector<QString> ExpectedAddresses(int c) {
  std::vector<QString> out;
  const auto add = [&out](bool inChapter, int address) { if (inChapter) out.push_back(Hex(address)); };
  for (const ConfigField& f : kConfigFields) add(c == chapter::kConfigRegisters, f.index);
  for (const DisplayTextField& t : kDisplayTexts) add(c == chapter::kTexts, 0x0300 + 10 * t.index);
  for (const UnitField& u : kUnitFields) add(c == chapter::kTexts, 0x0400 + 10 * (u.index / 3) + 2 * (u.index % 3));
  // Coils 0x0000..0x001F; the window's last check box has no coil.
  for (const ConfigBit& b : kConfigBits) add(c == chapter::kConfigBits && b.index < kConfigBitCount - 1, b.index);
  for (const InputBit& b : kInputBits) add(c == chapter::kInputBits, 0x0100 + b.index);
  for (const InputField& f : kInputFields) add(c == chapter::kInputRegisters, 0x0200 + f.index);
  for (const OutputField& f : kOutputFields) add(c == chapter::kOutputRegisters, 0x0100 + f.index);
  std::sort(out.begin(), out.end());
  return out;
}

struct Document {
  const char* name;
  const char* path;
  bool english;
};

class RegisterManualPdf : public ::testing::TestWithParam<Document> {};

TEST_P(RegisterManualPdf, HasOneRowPerRegisterAndBitInEveryChapter) {
  const Document& doc = GetParam();
  ASSERT_TRUE(QFileInfo(QString::fromUtf8(doc.path)).isFile()) << doc.path;
  const std::optional<QString> text = test::PdfText(QString::fromUtf8(doc.path), true);
  ASSERT_TRUE(text.has_value()) << "pdftotext (poppler-utils) missing or failed";
  const QStringList lines = text->split(u'\n');

  const RegisterManual manual = BuildRegisterManual(doc.english, QStringLiteral("0"));
  // Where each chapter's heading stands; the contents list the same titles
  // first, so the heading is the last line that names it.
  std::vector<qsizetype> starts;
  for (std::size_t c = 0; c < manual.chapters.size(); ++c) {
    const QRegularExpression heading(QStringLiteral("^\\s*%1\\s+%2\\s*$")
                                         .arg(c + 1)
                                         .arg(QRegularExpression::escape(manual.chapters[c].title)));
    const qsizetype at = lines.lastIndexOf(heading);
    ASSERT_GE(at, 0) << "no heading " << manual.chapters[c].title.toStdString();
    ASSERT_GT(at, starts.empty() ? -1 : starts.back()) << "chapters out of order";
    starts.push_back(at);
  }
  starts.push_back(lines.size());

  // A row begins at the left edge with its address; codes in the value
  // columns stand further right and are followed by "=".
  static const QRegularExpression row(QStringLiteral("^\\s{0,3}(0x[0-9A-F]{4})(?!\\s*=)\\s"));
  for (int c = chapter::kConfigRegisters; c <= chapter::kOutputRegisters; ++c) {
    std::vector<QString> found;
    for (qsizetype i = starts[static_cast<std::size_t>(c)]; i < starts[static_cast<std::size_t>(c) + 1]; ++i) {
      const auto match = row.match(lines[i]);
      if (match.hasMatch()) found.push_back(match.captured(1));
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, ExpectedAddresses(c)) << doc.name << ", chapter " << c + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, RegisterManualPdf,
                         ::testing::Values(Document{"German", RBX14_MANUAL_GERMAN, false},
                                           Document{"English", RBX14_MANUAL_ENGLISH, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every item of every list, with its code, stands in the configuration
// registers' value cells; a list shared by several registers once in full.
TEST(RegisterManualContent, ListsEveryItemWithItsCode) {
  for (const bool english : {false, true}) {
    const RegisterManual manual = BuildRegisterManual(english, QStringLiteral("0"));
    QString cells;
    for (const ManualTable& table : manual.chapters[chapter::kConfigRegisters].tables) {
      for (const QStringList& r : table.rows) cells += r.join(u'\n') + u'\n';
    }
    for (const ConfigField& f : kConfigFields) {
      for (const ListItem& item : ItemsOf(f.list)) {
        const QString text = item.text.in(english).remove(QRegularExpression(QStringLiteral("^0x[0-9A-F]+,\\s*")));
        const QString line = QStringLiteral("(^|\\n)(0x%1|%2) = %3\\n")
                                 .arg(item.code, 2, 16, QChar(u'0')).arg(item.code).arg(QRegularExpression::escape(text));
        EXPECT_TRUE(QRegularExpression(line, QRegularExpression::CaseInsensitiveOption).match(cells).hasMatch())
            << "register " << f.index << ": " << text.toStdString() << (english ? " (en)" : " (de)");
      }
    }
  }
}

}  // namespace
}  // namespace rbx14::manual
