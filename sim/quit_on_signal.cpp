#include "sim/quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace rbx14::sim {
namespace {

int gWakeFd = -1;

extern "C" void OnSignal(int) {
  const char byte = 1;
  // Nothing to do if it fails: a second signal tries again.
  [[maybe_unused]] const ssize_t n = ::write(gWakeFd, &byte, 1);
}

}  // namespace

bool QuitOnSignals() {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  ::fcntl(fds[1], F_SETFL, ::fcntl(fds[1], F_GETFL) | O_NONBLOCK);
  gWakeFd = fds[1];
  auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace rbx14::sim
