#include "doc/register_manual/manual_pdf.h"

#include "document/printed_document.h"

namespace rbx14::manual {

using document::AppendTable;
using document::Cell;

QString ManualHtml(const RegisterManual& manual) {
  QString html = document::HtmlStart();
  // Title page.
  html += QStringLiteral("<p style=\"margin-top: 220px; font-size: 28pt; font-weight: bold; color: #1f3a5f;\" align=\"center\">") +
          Cell(manual.title) + QStringLiteral("</p>");
  html += QStringLiteral("<p style=\"font-size: 15pt;\" align=\"center\">") + Cell(manual.subtitle) + QStringLiteral("</p>");
  html += QStringLiteral("<p style=\"margin-top: 30px; font-size: 11pt;\" align=\"center\">") + Cell(manual.versionLine) +
          QStringLiteral("</p>");
  html += QStringLiteral("<p style=\"margin-top: 260px; page-break-after: always;\" align=\"center\">") +
          Cell(manual.maker.join(u'\n')) + QStringLiteral("</p>");

  // Contents.
  html += QStringLiteral("<h1>") + Cell(manual.contentsTitle) + QStringLiteral("</h1><p>");
  for (std::size_t c = 0; c < manual.chapters.size(); ++c) {
    html += QString::number(c + 1) + QStringLiteral("&nbsp;&nbsp;") + Cell(manual.chapters[c].title) + QStringLiteral("<br/>");
  }
  html += QStringLiteral("</p>");

  for (std::size_t c = 0; c < manual.chapters.size(); ++c) {
    const ManualChapter& chapter = manual.chapters[c];
    const QString number = QString::number(c + 1);
    html += QStringLiteral("<h1 style=\"page-break-before: always;\">") + number + QStringLiteral("&nbsp;&nbsp;") +
            Cell(chapter.title) + QStringLiteral("</h1>");
    for (const QString& paragraph : chapter.paragraphs) html += QStringLiteral("<p>") + Cell(paragraph) + QStringLiteral("</p>");
    for (std::size_t t = 0; t < chapter.tables.size(); ++t) {
      const ManualTable& table = chapter.tables[t];
      const QString heading = table.title.isEmpty()
                                  ? QString()
                                  : number + u'.' + QString::number(t + 1) + QStringLiteral("  ") + table.title;
      AppendTable(html, table, heading);
    }
  }
  html += document::HtmlEnd();
  return html;
}

bool WriteManualPdf(const RegisterManual& manual, const QString& path, QString* error) {
  return document::WritePdf(ManualHtml(manual), manual.title + QStringLiteral(" – ") + manual.subtitle,
                            path, error);
}

}  // namespace rbx14::manual
