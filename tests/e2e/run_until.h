#pragma once
// Runs the Qt event loop of an end-to-end test until a condition holds or
// the time is up, sleeping a millisecond between passes so that the other
// end of the line gets the processor.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace rbx14::test {

inline bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace rbx14::test
