#pragma once
// On a terminal the progress lines get a bar beneath them that follows the
// state window's progress display; the lines themselves stay, the bar is
// redrawn in place. Elsewhere (a pipe, a log file) only the lines go out.

#include "transactions/state_window.h"

#include <QString>
#include <QTimer>

#include <cstdio>

namespace rbx14 {

class TerminalProgress {
 public:
  TerminalProgress(std::FILE* stream, const FrmState& state);

  // A progress line; on a terminal the bar is drawn again below it.
  void line(const QString& text);

 private:
  void drawBar();
  void clearBar();

  std::FILE* stream_;
  const FrmState& state_;
  bool terminal_;
  QTimer redraw_;
  QString bar_;
};

}  // namespace rbx14
