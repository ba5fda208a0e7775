#include "files/file_menu.h"

#include "base/trap.h"
#include "files/file_texts.h"
#include "files/parameter_check.h"
#include "files/parameter_file.h"

#include <QLoggingCategory>

namespace rbx14 {

Q_LOGGING_CATEGORY(lcFiles, "rbx14.files", QtWarningMsg)

FileMenu::FileMenu(Globals& globals, FrmConfig& form, FileDialogs& dialogs,
                   MessageBoxes& messages)
    : g_(globals), form_(form), dialogs_(dialogs), messages_(messages) {}

void FileMenu::ParMenüMain_Click(int index) {
  switch (index) {
    case 1: Trap("load parameters", [this] { LoadParameterFile(); }); break;
    case 2: Trap("save parameters", [this] { SaveParameterFile(); }); break;
    case 4: exitProgram(); break;
    default: break;  // the separator line, or no such entry
  }
}

void FileMenu::SaveParameterFile() {
  const QString version = StoredVersion(g_);
  const auto chosen = dialogs_.saveFile(lastFileName_, kParameterFileFilter);
  if (!chosen || chosen->isEmpty()) return;  // cancelled: the old file stays
  lastFileName_ = *chosen;
  const bool english = g_.english();
  // A text with a line end (or a character the file's code page lacks)
  // would come back as something else; nothing is saved then.
  if (const auto line = UnsavableTextLine(form_)) {
    const QStringList lines = BuildParameterLines(form_, g_, now(), version);
    messages_.information(
        file_texts::kUnsavable.in(english).arg(*line).arg(CaptionOfLine(form_, lines, *line)));
    return;
  }
  const QStringList lines = BuildParameterLines(form_, g_, now(), version);
  if (!WriteParameterFile(*chosen, lines)) {
    // The earlier file is untouched; the user must know this one is not.
    qCWarning(lcFiles) << "parameter file not written:" << *chosen;
    messages_.information(file_texts::kSaveFailed.in(english).arg(*chosen));
  }
}

void FileMenu::LoadParameterFile() {
  const auto chosen = dialogs_.openFile(lastFileName_, kParameterFileFilter);
  if (!chosen || chosen->isEmpty()) return;
  lastFileName_ = *chosen;
  const bool english = g_.english();
  const QChar sep = g_.decimalSep();
  const auto file = ReadParameterFileText(*chosen);
  if (!file) {
    messages_.information(file_texts::kFileUnreadable.in(english).arg(*chosen));
    return;
  }
  // The file is checked whole: a file that is no whole parameter file
  // changes nothing. Numbers outside their fields are loaded as leaving the
  // field would limit them, and named.
  if (const auto problem = CheckParameterFile(*file, form_, sep, OutsideRange::kCorrected)) {
    messages_.information(file_texts::kLoadRefused.in(english).arg(
        *chosen, DescribeFileProblem(*problem, form_, file->lines, sep, english)));
    return;
  }
  const QStringList lines = file->lines.mid(0, kParameterFileLines);
  const std::vector<int> corrected = ApplyParameterLines(form_, lines, sep);
  if (corrected.empty()) return;
  QStringList named;
  for (int line : corrected) {
    const int index = file_layout::PlaceOf(line)->index;  // a register's line
    named << file_texts::kCorrectedLine.in(english)
                 .arg(line)
                 .arg(CaptionOfLine(form_, lines, line),
                      ValueField(lines[line - 1]).value_or(QString()).trimmed(),
                      form_.txt_data_cfg[index].text());
  }
  messages_.information(file_texts::kCorrected.in(english).arg(named.join(u'\n')));
}

void FileMenu::exitProgram() {
  // Every timer of the window but the answer time-out stops; then the
  // program ends at once, also in the middle of a transaction.
  for (TickTimer* timer : {form_.Timer.get(), form_.Timer1.get(), form_.Timer2.get(),
                           form_.Timer4.get(), form_.Timer5.get(), form_.Timer6.get(),
                           form_.Timer7.get()}) {
    timer->setEnabled(false);
  }
  if (quit) quit();
}

}  // namespace rbx14
