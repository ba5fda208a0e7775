#include "sim/paced_line.h"

#include <algorithm>

namespace rbx14::sim {

PacedLine::PacedLine(Scheduler& scheduler, std::function<void(const QByteArray&)> deliver)
    : scheduler_(scheduler),
      deliver_(std::move(deliver)),
      timer_(scheduler.createTimer("sim line", 1)) {
  timer_->setOnTick([this] { release(); });
}

void PacedLine::schedule(const TimedBytes& bytes) {
  for (const TimedByte& b : bytes) {
    // Bytes leave in order: one due earlier than its predecessor waits.
    const std::int64_t due = queue_.empty() ? b.dueUs : std::max(b.dueUs, queue_.back().dueUs);
    queue_.push_back({due, b.byte});
  }
  release();
}

void PacedLine::clear() {
  queue_.clear();
  timer_->setEnabled(false);
}

void PacedLine::release() {
  const std::int64_t now = nowUs();
  QByteArray due;
  while (!queue_.empty() && queue_.front().dueUs <= now) {
    due.append(queue_.front().byte);
    queue_.pop_front();
  }
  arm();
  if (!due.isEmpty()) deliver_(due);
}

void PacedLine::arm() {
  if (queue_.empty()) {
    timer_->setEnabled(false);
    return;
  }
  const std::int64_t waitUs = queue_.front().dueUs - nowUs();
  const auto waitMs = static_cast<int>(std::clamp<std::int64_t>((waitUs + 999) / 1000, 1, 1 << 30));
  // Setting the interval restarts the countdown from now.
  timer_->setInterval(waitMs);
  timer_->setEnabled(true);
}

}  // namespace rbx14::sim
