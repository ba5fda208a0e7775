#pragma once
// The traffic on the line as the traffic window lists it: the last 10 000
// frames in a ring, so a day of polling keeps its memory bounded, and
// counters over everything since the start or the last clear. The tap's
// observer only appends (a copy into the ring and a few counts); the window
// reads the log on its own timer, so the link never waits for it. Everything
// runs on the one thread of the event loop.
//
// While paused, frames are still counted but not listed: the counters stay
// true for the whole session, and the list holds still to be read.

#include "link/frame_tap.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace rbx14 {

struct TrafficCounts {
  int requests = 0;  // frames sent
  int answers = 0;   // frames from the address asked with a good check
  // A request sent again, byte for byte, with no good answer to the one
  // before.
  int repeats = 0;
  // A request that heard nothing from its address before the next request
  // went out (a frame from another address is no answer).
  int timeouts = 0;
  int checksumErrors = 0;  // frames with a wrong CRC or LRC, or cut short
  int otherAddresses = 0;  // good frames from another address than asked

  bool operator==(const TrafficCounts&) const = default;
};

// The counters as "Requests: 12" and so on, in the window's order.
QStringList CountTexts(const TrafficCounts& counts, bool english);

enum class TrafficColumn { Time, Direction, Bytes, Summary, Check };
inline constexpr int kTrafficColumns = 5;

QString TrafficColumnTitle(TrafficColumn column, bool english);

class TrafficLog {
 public:
  static constexpr int kCapacity = 10'000;

  TrafficLog() = default;

  // A frame from the tap: counted always, listed unless paused.
  void append(const TappedFrame& frame);

  void setPaused(bool paused) { paused_ = paused; }
  bool paused() const { return paused_; }

  // Forgets the rows and the counters; the time starts again at the next
  // frame.
  void clear();

  const TrafficCounts& counts() const { return counts_; }

  // The rows listed, 0 the oldest.
  int size() const { return static_cast<int>(ring_.size()); }
  const TappedFrame& row(int index) const;

  // Every row listed gets the next number, over clears and over the ring
  // dropping its oldest, so a view can tell what came and went since it
  // last looked: the rows held are numbered firstNumber() to endNumber() - 1.
  std::uint64_t firstNumber() const { return firstNumber_; }
  std::uint64_t endNumber() const { return endNumber_; }
  // The row with that number, or nullptr when it is no longer held.
  const TappedFrame* numbered(std::uint64_t number) const;

  // The text of a cell; the time counts from the first frame since the start
  // or the last clear.
  QString cell(const TappedFrame& frame, TrafficColumn column, bool english) const;
  // A row as its cells separated by tabs.
  QString rowText(const TappedFrame& frame, bool english) const;
  // The rows given (indexes as for row(), any order, shown oldest first),
  // one line each, for the clipboard.
  QString rowsText(std::vector<int> indexes, bool english) const;
  // The counters, the column titles and every row, for a file.
  QString allText(bool english) const;

 private:
  void count(const TappedFrame& frame);

  std::vector<TappedFrame> ring_;
  int oldest_ = 0;  // index in ring_ of row 0 once the ring is full
  std::uint64_t firstNumber_ = 0;
  std::uint64_t endNumber_ = 0;
  bool paused_ = false;

  TrafficCounts counts_;
  bool haveOrigin_ = false;
  std::int64_t originUs_ = 0;
  // The last request and what came back to it so far.
  bool requestOpen_ = false;
  bool heardAddress_ = false;
  bool goodAnswer_ = false;
  QByteArray lastRequest_;
};

}  // namespace rbx14
