#include "document/printed_document.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace rbx14::document {
namespace {

// The body's size, the chapter heading's, and the cells' padding.
QString Style(const char* body, const char* heading, const char* subheading, int headingMargin,
              int padding) {
  return QStringLiteral(
             "body { font-family: 'DejaVu Sans'; font-size: %1; }"
             "h1 { font-size: %2; color: #1f3a5f; margin-top: %3px; }"
             "h2 { font-size: %5; color: #1f3a5f; margin-top: 12px; }"
             "table { border-collapse: collapse; }"
             "th { background-color: #dde4ee; text-align: left; }"
             "td, th { padding: %4px; border: 1px solid #8a9bb0; vertical-align: top; }")
      .arg(QString::fromLatin1(body), QString::fromLatin1(heading))
      .arg(headingMargin)
      .arg(padding)
      .arg(QString::fromLatin1(subheading));
}

}  // namespace

QString Cell(const QString& text) { return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br/>")); }

QString AddressText(int address) {
  return QStringLiteral("0x") + QStringLiteral("%1").arg(address, 4, 16, QChar(u'0')).toUpper();
}

QString CaptionText(const QString& caption) {
  QString c = caption.trimmed();
  while (c.endsWith(u':')) c.chop(1);
  return c.trimmed();
}

QString HtmlStart(bool compact) {
  return QStringLiteral("<html><head><style>") +
         (compact ? Style("7pt", "15pt", "10pt", 8, 1) : Style("9pt", "15pt", "11pt", 18, 3)) +
         QStringLiteral("</style></head><body>");
}

QString HtmlEnd() { return QStringLiteral("</body></html>"); }

void AppendTable(QString& html, const Table& table, const QString& heading) {
  if (!heading.isEmpty()) html += QStringLiteral("<h2>") + Cell(heading) + QStringLiteral("</h2>");
  html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" border=\"1\"><thead><tr>");
  const auto width = [&table](qsizetype column) {
    const auto at = static_cast<std::size_t>(column);
    return at < table.widths.size() ? QStringLiteral(" width=\"%1%\"").arg(table.widths[at]) : QString();
  };
  for (qsizetype i = 0; i < table.columns.size(); ++i) {
    html += QStringLiteral("<th%1 style=\"white-space: nowrap;\">").arg(width(i));
    html += Cell(table.columns[i]) + QStringLiteral("</th>");
  }
  html += QStringLiteral("</tr></thead><tbody>");
  bool widthsGiven = false;
  const qsizetype entry = table.entryColumns > 0 ? table.entryColumns : table.columns.size();
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
      // The address column never wraps, so every row (every entry of a
      // row) starts with its address. The first row repeats the widths.
      html += QStringLiteral("<td%1%2>")
                  .arg(widthsGiven ? QString() : width(i),
                       i % entry == 0 ? QStringLiteral(" style=\"white-space: nowrap;\"") : QString());
      const bool strong = static_cast<std::size_t>(i) < bold.size() && bold[static_cast<std::size_t>(i)];
      html += strong ? QStringLiteral("<b>") + Cell(row[i]) + QStringLiteral("</b>") : Cell(row[i]);
      html += QStringLiteral("</td>");
    }
    widthsGiven = true;
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
