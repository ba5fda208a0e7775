#include "cli/terminal_progress.h"

#include <algorithm>

#include <unistd.h>

namespace rbx14 {
namespace {

constexpr int kRedrawMs = 100;
constexpr int kBarWidth = 30;

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* stream, const FrmState& state)
    : stream_(stream), state_(state), terminal_(::isatty(::fileno(stream)) == 1) {
  if (!terminal_) return;
  QObject::connect(&redraw_, &QTimer::timeout, [this] { drawBar(); });
  redraw_.start(kRedrawMs);
}

void TerminalProgress::line(const QString& text) {
  clearBar();
  std::fputs(text.toLocal8Bit().constData(), stream_);
  std::fputc('\n', stream_);
  drawBar();
  std::fflush(stream_);
}

void TerminalProgress::clearBar() {
  if (!terminal_ || bar_.isEmpty()) return;
  std::fputs("\r\033[K", stream_);
  bar_.clear();
}

void TerminalProgress::drawBar() {
  if (!terminal_) return;
  QString bar;
  if (state_.loaded()) {
    const int max = std::max(1, state_.ProgressFile.max());
    const int filled = kBarWidth * std::clamp(state_.ProgressFile.value(), 0, max) / max;
    bar = u'[' + QString(filled, u'#') + QString(kBarWidth - filled, u' ') + u']';
  }
  if (bar == bar_) return;
  std::fputs("\r\033[K", stream_);
  std::fputs(bar.toLocal8Bit().constData(), stream_);
  std::fflush(stream_);
  bar_ = bar;
}

}  // namespace rbx14
