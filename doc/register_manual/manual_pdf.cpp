#include "doc/register_manual/manual_pdf.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace rbx14::manual {
namespace {

QString Cell(const QString& text) { return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br/>")); }

constexpr const char* kStyle =
    "body { font-family: 'DejaVu Sans'; font-size: 9pt; }"
    "h1 { font-size: 15pt; color: #1f3a5f; margin-top: 18px; }"
    "h2 { font-size: 11pt; color: #1f3a5f; margin-top: 12px; }"
    "table { border-collapse: collapse; }"
    "th { background-color: #dde4ee; text-align: left; }"
    "td, th { padding: 3px; border: 1px solid #8a9bb0; vertical-align: top; }";

void AppendTable(QString& html, const ManualTable& table, const QString& heading) {
  if (!heading.isEmpty()) html += QStringLiteral("<h2>") + Cell(heading) + QStringLiteral("</h2>");
  html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" border=\"1\"><thead><tr>");
  for (qsizetype i = 0; i < table.columns.size(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    html += at < table.widths.size()
                ? QStringLiteral("<th width=\"%1%\" style=\"white-space: nowrap;\">").arg(table.widths[at])
                : QStringLiteral("<th style=\"white-space: nowrap;\">");
    html += Cell(table.columns[i]) + QStringLiteral("</th>");
  }
  html += QStringLiteral("</tr></thead><tbody>");
  for (const QStringList& row : table.rows) {
    html += QStringLiteral("<tr>");
    for (qsizetype i = 0; i < row.size(); ++i) {
      // The address column never wraps, so every row starts with its address.
      html += i == 0 ? QStringLiteral("<td style=\"white-space: nowrap;\">") : QStringLiteral("<td>");
      html += Cell(row[i]) + QStringLiteral("</td>");
    }
    html += QStringLiteral("</tr>");
  }
  html += QStringLiteral("</tbody></table>");
}

}  // namespace

QString ManualHtml(const RegisterManual& manual) {
  QString html = QStringLiteral("<html><head><style>") + QString::fromLatin1(kStyle) +
                 QStringLiteral("</style></head><body>");
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
  html += QStringLiteral("</body></html>");
  return html;
}

bool WriteManualPdf(const RegisterManual& manual, const QString& path, QString* error) {
  QFile probe(path);
  if (!probe.open(QIODevice::WriteOnly)) {
    if (error != nullptr) *error = probe.errorString();
    return false;
  }
  probe.close();
  QPdfWriter writer(path);
  writer.setTitle(manual.title + QStringLiteral(" – ") + manual.subtitle);
  writer.setCreator(QStringLiteral("rbx14-config"));
  // The document keeps a margin of its own (2 cm) when it prints.
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  writer.setResolution(300);
  QTextDocument document;
  document.setHtml(ManualHtml(manual));
  // Without a page size of its own the document is laid out for the writer's
  // pages and printed with page numbers.
  document.print(&writer);
  return true;
}

}  // namespace rbx14::manual
