#include "cli/event_loop_waiter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace rbx14 {
namespace {

// The state is looked at after every event and at least this often.
constexpr int kLookIntervalMs = 2;

}  // namespace

bool EventLoopWaiter::waitUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
  QTimer wake;
  wake.start(kLookIntervalMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

}  // namespace rbx14
