#pragma once
// What the program's printed documents (the register manual, the
// commissioning record) share: one type, one table style, A4 pages with
// their numbers, written through Qt's text document into a PDF.

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

namespace rbx14::document {

struct Table {
  QString title;  // group heading; empty: none
  QStringList columns;
  std::vector<int> widths;        // per column, percent of the page width
  // The first cell of a row is its address; a row of one cell spans the
  // table, shaded: the title of the group of rows below it.
  std::vector<QStringList> rows;
  // The columns of one entry when a row holds several side by side (0: the
  // whole row is one); each entry starts with its address.
  int entryColumns = 0;
  // Cells set in bold, by row and cell, e.g. the values a write changed.
  std::vector<std::vector<bool>> bold = {};
};

// Text as the content of a cell or paragraph: escaped, line ends kept.
QString Cell(const QString& text);

// A register or coil address as the documents print it: "0x0021".
QString AddressText(int address);

// A caption of the window as a table cell: without the colon and the
// padding that line the window's fields up.
QString CaptionText(const QString& caption);

// <html><head> with the documents' style sheet, and the <body> opened.
// Compact: a smaller size and closer rows, for a document that must keep
// to few pages.
QString HtmlStart(bool compact = false);
QString HtmlEnd();

// A table with its heading (h2) when it has a title; the head repeats on
// every page the table runs over.
void AppendTable(QString& html, const Table& table, const QString& heading);

// Writes the HTML as an A4 PDF with page numbers into `device` (open for
// writing), or into the file at `path` (replaced). False and a reason when
// it cannot be written.
bool WritePdf(const QString& html, const QString& title, QIODevice& device, QString* error);
bool WritePdf(const QString& html, const QString& title, const QString& path, QString* error);

}  // namespace rbx14::document
