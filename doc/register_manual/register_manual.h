#pragma once
// The register manual as structured content: chapters of tables built from
// the same register, bit, input and output tables the program uses, so a new
// field appears in the manual without anyone writing it. Rendering (HTML,
// PDF) is a separate step.

#include "document/printed_document.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace rbx14::manual {

// A table of the printed documents: a group heading (empty: the chapter's
// only table), the columns, their widths and the rows.
using ManualTable = document::Table;

struct ManualChapter {
  QString title;
  QStringList paragraphs;
  std::vector<ManualTable> tables;
};

struct RegisterManual {
  QString title;
  QString subtitle;
  QString versionLine;
  QStringList maker;  // name and address lines
  QString contentsTitle;
  std::vector<ManualChapter> chapters;
};

// The chapters that hold one row per register or bit, by position in
// RegisterManual::chapters.
namespace chapter {
constexpr int kOverview = 0;
constexpr int kConfigRegisters = 1;
constexpr int kTexts = 2;
constexpr int kConfigBits = 3;
constexpr int kInputBits = 4;
constexpr int kInputRegisters = 5;
constexpr int kOutputRegisters = 6;
}  // namespace chapter

RegisterManual BuildRegisterManual(bool english, const QString& version);

}  // namespace rbx14::manual
