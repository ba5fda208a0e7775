// The traffic log: what its counters make of a run of frames, pause and
// clear, and the text for the clipboard and for a file. (The ring's bound
// is with the traffic window's table, which follows it.)

#include "link/codec.h"
#include "link/traffic_log.h"

#include <gtest/gtest.h>

#include <string>

namespace rbx14 {
namespace {

using Check = TappedFrame::Check;

QByteArray Rtu(const std::string& hexBody) {
  const std::string frame = BuildRtuFrame(hexBody);
  return QByteArray(frame.data(), static_cast<qsizetype>(frame.size()));
}

const QByteArray kProbe = Rtu("010300210001");
const QByteArray kBlock = Rtu("01030000000A");

class TrafficLogTest : public ::testing::Test {
 protected:
  void sent(const QByteArray& bytes) { at(TappedFrame::Direction::Sent, bytes, Check::Good); }
  void received(Check check, const QByteArray& bytes = Rtu("0103020005")) {
    at(TappedFrame::Direction::Received, bytes, check);
  }
  void at(TappedFrame::Direction direction, const QByteArray& bytes, Check check) {
    nowUs += 12'500;
    log.append({direction, nowUs, bytes, false, check});
  }

  std::int64_t nowUs = 1'000'000;
  TrafficLog log;
};

TEST_F(TrafficLogTest, CountersTellRepeatsTimeOutsAndBadFramesApart) {
  sent(kProbe);
  received(Check::Good);           // answered
  sent(kProbe);                    // the same again, but after a good answer: no repeat
  sent(kProbe);                    // nothing came back: a time-out, and this is a repeat
  received(Check::Bad);            // heard, but damaged
  sent(kProbe);                    // a repeat, no time-out
  received(Check::OtherAddress);   // another device: no answer to the request
  sent(kBlock);                    // a time-out, but a different request: no repeat
  received(Check::Good);
  received(Check::OtherAddress);

  EXPECT_EQ(log.counts(), (TrafficCounts{.requests = 5, .answers = 2, .repeats = 2, .timeouts = 2,
                                         .checksumErrors = 1, .otherAddresses = 2}));
  EXPECT_EQ(log.size(), 10);
}

TEST_F(TrafficLogTest, PausedFramesAreCountedButNotListedAndClearStartsAfresh) {
  sent(kProbe);
  log.setPaused(true);
  received(Check::Good);
  sent(kBlock);
  log.setPaused(false);
  received(Check::Bad);
  EXPECT_EQ(log.size(), 2);
  EXPECT_EQ(log.row(1).check, Check::Bad);
  EXPECT_EQ(log.counts(), (TrafficCounts{.requests = 2, .answers = 1, .checksumErrors = 1}));

  const std::uint64_t end = log.endNumber();
  log.clear();
  EXPECT_EQ(log.size(), 0);
  EXPECT_EQ(log.counts(), TrafficCounts{});
  // Numbers go on, so a view sees the old rows gone.
  EXPECT_EQ(log.firstNumber(), end);
  EXPECT_EQ(log.numbered(end - 1), nullptr);
  // A request before the clear is forgotten: the next one is no repeat or time-out.
  sent(kBlock);
  sent(kProbe);
  EXPECT_EQ(log.counts(), (TrafficCounts{.requests = 2, .timeouts = 1}));
  // The time counts from the first frame after the clear.
  EXPECT_EQ(log.cell(log.row(0), TrafficColumn::Time, true), QStringLiteral("0.000"));
  EXPECT_EQ(log.cell(log.row(1), TrafficColumn::Time, true), QStringLiteral("12.500"));
}

TEST_F(TrafficLogTest, RowsAsTextForTheClipboardAndForAFile) {
  sent(kProbe);
  received(Check::Good);
  log.append({TappedFrame::Direction::Received, nowUs + 1500, QByteArray(":0103020005F4\r\n"), true,
              Check::Bad});
  EXPECT_EQ(log.rowsText({2, 0, 7, -1, 0}, true),
            QStringLiteral("0.000\t→ sent\t01 03 00 21 00 01 D4 00\t"
                           "Addr. 1 · 03 Read holding registers · from 0x0021, 1 registers\tCRC good\n"
                           "14.000\t← received\t:0103020005F4\t"
                           "Addr. 1 · 03 Read holding registers · 2 bytes: 0005\tLRC bad\n"));
  const QStringList lines = log.allText(false).split(u'\n');
  ASSERT_EQ(lines.size(), 6);  // counters, titles, three rows, and the last line end
  EXPECT_EQ(lines[0], QStringLiteral("Anfragen: 1, Antworten: 1, Wiederholungen: 0, "
                                     "Zeitüberschreitungen: 0, Prüfsummenfehler: 1, Andere Adressen: 0"));
  EXPECT_EQ(lines[1], QStringLiteral("Zeit [ms]\tRichtung\tBytes\tInhalt\tPrüfung"));
  EXPECT_TRUE(lines[3].startsWith(QStringLiteral("12.500\t← empfangen\t01 03 02 00 05 ")));
  EXPECT_TRUE(lines[5].isEmpty());
}

}  // namespace
}  // namespace rbx14
