#pragma once
// The File menu: load parameters, save parameters, a separator, and Exit.

#include "base/globals.h"
#include "files/file_dialogs.h"
#include "model/frm_config.h"
#include "base/message_box.h"

#include <QDateTime>

#include <functional>

namespace rbx14 {

inline const QString kParameterFileFilter = QStringLiteral("Textfile (*.txt)|*.txt");

class FileMenu {
 public:
  FileMenu(Globals& globals, FrmConfig& form, FileDialogs& dialogs, MessageBoxes& messages);

  // Entries: 1 load, 2 save, 3 the separator, 4 Exit.
  void ParMenüMain_Click(int index);
  void LoadParameterFile();
  void SaveParameterFile();

  // Ends the program (set by the front end).
  std::function<void()> quit;
  // The clock of line 6 (tests fix it).
  std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

  const QString& lastFileName() const { return lastFileName_; }

 private:
  void exitProgram();

  Globals& g_;
  FrmConfig& form_;
  FileDialogs& dialogs_;
  MessageBoxes& messages_;
  // The dialog keeps the last chosen file name for the next save or load.
  QString lastFileName_;
};

}  // namespace rbx14
