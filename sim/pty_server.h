#pragma once
// The simulated device on a pseudo-terminal: any program that opens the
// slave side (this tool, mbpoll, a terminal) talks to the device as over a
// serial line. Bytes read from the terminal go to the device with the times
// they would have had on the line; answers are written out paced at the
// line's character time.

#include "base/timer.h"
#include "sim/paced_line.h"
#include "sim/simulated_device.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace rbx14::sim {

class PtyServer {
 public:
  PtyServer(Scheduler& scheduler, LineDevice& device);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens the pseudo-terminal; on failure returns false with a reason.
  bool open(QString* error);
  // The path a client opens, e.g. /dev/pts/3.
  const QString& slavePath() const { return slavePath_; }

 private:
  void readFromClient();
  void writeToClient(const QByteArray& bytes);

  LineDevice& device_;
  // When the request bytes still on their way have all arrived: a
  // pseudo-terminal hands the master's frame over at once, a line takes a
  // character time per byte.
  std::int64_t requestLineFreeUs_ = 0;
  PacedLine toClient_;
  int master_ = -1;
  // Held open so that the terminal stays usable while no client has it open
  // (otherwise reading the master side fails until one does).
  int slave_ = -1;
  QString slavePath_;
  std::unique_ptr<QSocketNotifier> readable_;
};

}  // namespace rbx14::sim
