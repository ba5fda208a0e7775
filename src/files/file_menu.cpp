#include "files/file_menu.h"

#include "core/trap.h"
#include "files/parameter_file.h"

#include <QLoggingCategory>

namespace rbx14 {

Q_LOGGING_CATEGORY(lcFiles, "rbx14.files", QtWarningMsg)

FileMenu::FileMenu(Globals& globals, FrmConfig& form, FileDialogs& dialogs)
    : g_(globals), form_(form), dialogs_(dialogs) {}

void FileMenu::ParMenüMain_Click(int index) {
  switch (index) {
    case 1: Trap("load parameters", [this] { LoadParameterFile(); }); break;
    case 2: Trap("save parameters", [this] { SaveParameterFile(); }); break;
    case 4: exitProgram(); break;
    default: break;  // the separator line, or no such entry
  }
}

void FileMenu::SaveParameterFile() {
  const double version = StoredVersion(g_);
  const auto chosen = dialogs_.saveFile(lastFileName_, kParameterFileFilter);
  if (!chosen || chosen->isEmpty()) return;  // cancelled: the old file stays
  lastFileName_ = *chosen;
  const QStringList lines = BuildParameterLines(form_, g_, now(), version);
  if (!WriteParameterFile(*chosen, lines)) {
    // Nothing is shown to the user; the earlier file is untouched.
    qCWarning(lcFiles) << "parameter file not written:" << *chosen;
  }
}

void FileMenu::LoadParameterFile() {
  const auto chosen = dialogs_.openFile(lastFileName_, kParameterFileFilter);
  if (!chosen || chosen->isEmpty()) return;
  lastFileName_ = *chosen;
  const auto lines = ReadParameterFile(*chosen);
  if (!lines) {
    qCWarning(lcFiles) << "parameter file not readable:" << *chosen;
    return;
  }
  ApplyParameterLines(form_, *lines);
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
