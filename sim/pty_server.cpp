#include "sim/pty_server.h"

#include <QLoggingCategory>

#include <cerrno>
#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace rbx14::sim {

Q_LOGGING_CATEGORY(lcPty, "rbx14.sim.pty", QtWarningMsg)

PtyServer::PtyServer(Scheduler& scheduler, LineDevice& device)
    : device_(device),
      toClient_(scheduler, [this](const QByteArray& bytes) { writeToClient(bytes); }) {}

PtyServer::~PtyServer() {
  readable_.reset();
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

bool PtyServer::open(QString* error) {
  char name[256] = {};
  if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
    if (error != nullptr) *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  // Raw until a client sets its own mode: no echo, no line editing.
  termios raw{};
  if (::tcgetattr(slave_, &raw) == 0) {
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
  }
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  slavePath_ = QString::fromLocal8Bit(name);
  readable_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  QObject::connect(readable_.get(), &QSocketNotifier::activated, [this] { readFromClient(); });
  return true;
}

void PtyServer::readFromClient() {
  char buffer[512];
  const ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) return;
  // The bytes came at once; on a line they go out one after the other at
  // the character time from the moment the master wrote them, so the
  // device sees each one when its last bit would have arrived.
  const std::int64_t nowUs = toClient_.nowUs();
  const double characterUs = device_.characterTimeUs();
  const std::int64_t startUs = std::max(nowUs, requestLineFreeUs_);
  for (ssize_t k = 0; k < n; ++k) {
    const auto endUs = startUs + static_cast<std::int64_t>(characterUs * static_cast<double>(k + 1));
    toClient_.schedule(device_.receive(static_cast<std::uint8_t>(buffer[k]), endUs));
    requestLineFreeUs_ = endUs;
  }
}

void PtyServer::writeToClient(const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n <= 0) {
      // The terminal's buffer is full (no client reading): the rest is lost,
      // as on a line nobody listens to.
      qCInfo(lcPty) << "dropped" << bytes.size() - done << "bytes:" << std::strerror(errno);
      return;
    }
    done += n;
  }
}

}  // namespace rbx14::sim
