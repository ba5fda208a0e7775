#pragma once
// The text of a PDF as pdftotext (poppler-utils) reads it: -layout keeps the
// lines as set, -raw the order the cells were written in. Ligatures ("ﬁ")
// read as their letters. Nothing when pdftotext is missing or fails.

#include <QProcess>
#include <QString>

#include <optional>

namespace rbx14::test {

inline std::optional<QString> PdfText(const QString& path, bool layout) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {layout ? QStringLiteral("-layout") : QStringLiteral("-raw"), path, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

}  // namespace rbx14::test
