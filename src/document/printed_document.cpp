#include "document/printed_document.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace rbx14::document {
namespace {

constexpr const char* kStyle =
    "body { font-family: 'DejaVu Sans'; font-size: 9pt; }"
    "h1 { font-size: 15pt; color: #1f3a5f; margin-top: 18px; }"
    "h2 { font-size: 11pt; color: #1f3a5f; margin-top: 12px; }"
    "table { border-collapse: collapse; }"
    "th { background-color: #dde4ee; text-align: left; }"
    "td, th { padding: 3px; border: 1px solid #8a9bb0; vertical-align: top; }";
constexpr const char* kCompact =
    "body { font-size: 7.5pt; }"
    "h1 { font-size: 12pt; margin-top: 10px; margin-bottom: 4px; }"
    "td, th { padding: 1px; }";

}  // namespace

QString Cell(const QString& text) { return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br/>")); }

QString HtmlStart(bool compact) {
  return QStringLiteral("<html><head><style>") + QString::fromLatin1(kStyle) +
         (compact ? QString::fromLatin1(kCompact) : QString()) + QStringLiteral("</style></head><body>");
}

QString HtmlEnd() { return QStringLiteral("</body></html>"); }

void AppendTable(QString& html, const Table& table, const QString& heading) {
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
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const QStringList& row = table.rows[r];
    if (row.size() == 1 && table.columns.size() > 1) {
      html += QStringLiteral("<tr><td colspan=\"%1\" bgcolor=\"#eef1f6\" style=\"color: #1f3a5f;\"><b>")
                  .arg(table.columns.size()) +
              Cell(row[0]) + QStringLiteral("</b></td></tr>");
      continue;
    }
    const std::vector<bool> none;
    const std::vector<bool>& bold = r < table.bold.size() ? table.bold[r] : none;
    html += QStringLiteral("<tr>");
    for (qsizetype i = 0; i < row.size(); ++i) {
      // The address column never wraps, so every row starts with its address.
      html += i == 0 ? QStringLiteral("<td style=\"white-space: nowrap;\">") : QStringLiteral("<td>");
      const bool strong = static_cast<std::size_t>(i) < bold.size() && bold[static_cast<std::size_t>(i)];
      html += strong ? QStringLiteral("<b>") + Cell(row[i]) + QStringLiteral("</b>") : Cell(row[i]);
      html += QStringLiteral("</td>");
    }
    html += QStringLiteral("</tr>");
  }
  html += QStringLiteral("</tbody></table>");
}

bool WritePdf(const QString& html, const QString& title, QIODevice& device, QString* error) {
  if (!device.isWritable()) {
    if (error != nullptr) *error = device.errorString();
    return false;
  }
  {
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("rbx14-config"));
    // The document keeps a margin of its own (2 cm) when it prints.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setResolution(300);
    QTextDocument document;
    document.setHtml(html);
    // Without a page size of its own the document is laid out for the
    // writer's pages and printed with page numbers.
    document.print(&writer);
  }
  return true;
}

bool WritePdf(const QString& html, const QString& title, const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  if (!WritePdf(html, title, file, error)) return false;
  file.close();
  if (file.error() != QFileDevice::NoError) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace rbx14::document
