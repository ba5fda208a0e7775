#pragma once
// The file dialog behind an interface: the window shows a real one, tests
// and the command line answer it themselves.

#include <QString>

#include <optional>

namespace rbx14 {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file, or nothing when the user cancelled. `start` is the
  // file name the dialog starts with; `filter` the file-type filter in the
  // form "Textfile (*.txt)|*.txt".
  virtual std::optional<QString> openFile(const QString& start, const QString& filter) = 0;
  virtual std::optional<QString> saveFile(const QString& start, const QString& filter) = 0;
};

}  // namespace rbx14
