#pragma once
// A pseudo-terminal as a serial line for the real port path: the program
// opens the slave side through QSerialPort, the test is the device on the
// master side. Closing the master is the adapter pulled out.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace rbx14::test {

class PseudoTerminal {
 public:
  PseudoTerminal() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
    slavePath_ = QString::fromLocal8Bit(name);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PseudoTerminal() {
    closeMaster();
    if (slave_ >= 0) ::close(slave_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // The other side goes away: reads and writes on the slave fail from now on.
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  bool valid() const { return master_ >= 0; }
  const QString& slavePath() const { return slavePath_; }

  // Runs the event loop until `count` bytes came out of the port or the
  // deadline passed.
  QByteArray readFromLine(int count, int timeoutMs) {
    QByteArray got;
    QDeadlineTimer deadline(timeoutMs);
    while (got.size() < count && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      char buf[256];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<qsizetype>(n));
      else QThread::msleep(2);
    }
    return got;
  }

  void writeToLine(const QByteArray& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), static_cast<size_t>(bytes.size())), bytes.size());
  }

  termios lineSettings() const {
    termios t{};
    tcgetattr(slave_, &t);
    return t;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  QString slavePath_;
};

}  // namespace rbx14::test
