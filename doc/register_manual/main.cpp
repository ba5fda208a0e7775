// Writes the register manual, German and English, under the names the Help
// menu opens. Runs at build time:
//   rbx14-register-manual OUTPUT_FOLDER VERSION

#include "doc/register_manual/manual_pdf.h"
#include "shell/localisation.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

namespace {

// "\Doc\name.pdf" -> "name.pdf"
QString FileName(const QString& helpDoc) { return helpDoc.section(u'\\', -1); }

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() != 3) {
    std::fputs("usage: rbx14-register-manual OUTPUT_FOLDER VERSION\n", stderr);
    return 2;
  }
  const QString folder = args[1];
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "rbx14-register-manual: cannot make %s\n", qPrintable(folder));
    return 1;
  }
  for (const bool english : {false, true}) {
    const QString path =
        folder + u'/' + FileName(english ? rbx14::kHelpDocEnglish : rbx14::kHelpDocGerman);
    QString error;
    if (!rbx14::manual::WriteManualPdf(rbx14::manual::BuildRegisterManual(english, args[2]), path,
                                       &error)) {
      std::fprintf(stderr, "rbx14-register-manual: %s: %s\n", qPrintable(path), qPrintable(error));
      return 1;
    }
  }
  return 0;
}
