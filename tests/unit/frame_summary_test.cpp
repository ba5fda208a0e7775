// The decoded content of every frame the tool sends or receives, in both
// modes: the fields of requests and answers, exceptions, frames for other
// addresses, damaged and cut frames, and the line the list shows.

#include "link/codec.h"
#include "link/frame_summary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace rbx14 {
namespace {

using Direction = TappedFrame::Direction;
using Check = TappedFrame::Check;

QByteArray Raw(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// A frame of the body (hex pairs) as it goes over the line, with the tap's
// check for a request to address 1.
TappedFrame Frame(const std::string& hexBody, bool ascii, Direction direction) {
  const QByteArray bytes = Raw(ascii ? BuildAsciiFrame(hexBody) : BuildRtuFrame(hexBody));
  return {direction, 0, bytes, ascii, CheckFrame(bytes, ascii, 1)};
}

// function, start, quantity, byte count, value, extra byte, exception code
// and the number of data bytes.
using Expected = std::tuple<int, std::optional<int>, std::optional<int>, std::optional<int>, std::optional<int>,
                            std::optional<int>, std::optional<int>, qsizetype>;

struct Row {
  const char* name;
  const char* body;
  Direction direction;
  Expected expected;
};

constexpr auto Sent = Direction::Sent;
constexpr auto Received = Direction::Received;
constexpr std::nullopt_t no = std::nullopt;

const Row kRows[] = {
    // The device probe and the block reads.
    {"read holding request", "010300210001", Sent, {0x03, 0x0021, 1, no, no, no, no, 0}},
    {"read holding answer", "0103020005", Received, {0x03, no, no, 2, no, no, no, 2}},
    {"read input registers request", "010400100004", Sent, {0x04, 0x0010, 4, no, no, no, no, 0}},
    {"read input registers answer", "01040400010002", Received, {0x04, no, no, 4, no, no, no, 4}},
    // The external values: a read with the answer's byte count after the quantity.
    {"read with extra byte", "0103020700162C", Sent, {0x03, 0x0207, 22, no, no, 0x2C, no, 0}},
    {"read coils request", "010100000020", Sent, {0x01, 0x0000, 32, no, no, no, no, 0}},
    {"read coils answer", "01010412345678", Received, {0x01, no, no, 4, no, no, no, 4}},
    {"read inputs request", "010201000010", Sent, {0x02, 0x0100, 16, no, no, no, no, 0}},
    {"read inputs answer", "0102020F00", Received, {0x02, no, no, 2, no, no, no, 2}},
    {"write coil request", "01050003FF00", Sent, {0x05, 0x0003, no, no, 0xFF00, no, no, 0}},
    {"write coil answer", "01050003FF00", Received, {0x05, 0x0003, no, no, 0xFF00, no, no, 0}},
    {"write register request", "01060021000A", Sent, {0x06, 0x0021, no, no, 0x000A, no, no, 0}},
    {"write register answer", "01060021000A", Received, {0x06, 0x0021, no, no, 0x000A, no, no, 0}},
    {"write coils request", "010F0100001002A501", Sent, {0x0F, 0x0100, 16, 2, no, no, no, 2}},
    {"write coils answer", "010F01000010", Received, {0x0F, 0x0100, 16, no, no, no, no, 0}},
    {"write registers request", "011002000001020064", Sent, {0x10, 0x0200, 1, 2, no, no, no, 2}},
    {"write registers answer", "011002000001", Received, {0x10, 0x0200, 1, no, no, no, no, 0}},
    {"exception answer", "018302", Received, {0x83, no, no, no, no, no, 0x02, 0}},
};

TEST(FrameSummary, EveryFunctionInBothModesAndBothDirections) {
  for (const bool ascii : {false, true}) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(std::string(row.name) + (ascii ? " ascii" : " rtu"));
      const TappedFrame frame = Frame(row.body, ascii, row.direction);
      EXPECT_EQ(frame.check, Check::Good);
      const FrameSummary s = SummarizeFrame(frame);
      EXPECT_EQ(std::tuple(s.readable, s.request, s.address), std::tuple(true, row.direction == Sent, 1));
      EXPECT_EQ(Expected(s.function, s.start, s.quantity, s.byteCount, s.value, s.extraByte, s.exceptionCode,
                         s.data.size()),
                row.expected);
      EXPECT_EQ(s.exception(), std::get<6>(row.expected).has_value());
      EXPECT_FALSE(s.lengthMismatch);
    }
  }
}

TEST(FrameSummary, TheSameBytesReadAsRequestOrAsAnswerByDirection) {
  // "01 03 02 00 05" is an answer with two data bytes; sent, it would be a
  // request whose quantity is cut short.
  const FrameSummary answer = SummarizeFrame(Frame("0103020005", false, Received));
  EXPECT_EQ(answer.byteCount, 2);
  EXPECT_EQ(answer.data, QByteArray::fromHex("0005"));
  const FrameSummary request = SummarizeFrame(Frame("0103020005", false, Sent));
  EXPECT_FALSE(request.byteCount.has_value());
  EXPECT_TRUE(request.lengthMismatch);
}

TEST(FrameSummary, TheListLineNamesWhatTheFrameSays) {
  // A long read answer shows its first six registers.
  const std::string twenty = "010314" + std::string(40, '1');
  const std::tuple<std::string, bool, Direction, bool, const char*> rows[] = {
      {"0103020700162C", true, Sent, true,
       "Addr. 1 · 03 Read holding registers · from 0x0207, 22 registers · extra byte 0x2C"},
      {"0103040005FFF6", false, Received, false, "Adr. 1 · 03 Halteregister lesen · 4 Bytes: 0005 FFF6"},
      {"010F0100001002A501", false, Sent, true, "Addr. 1 · 0F Write multiple coils · from 0x0100, 16 bits · 2 bytes"},
      {"01050003FF00", false, Sent, true, "Addr. 1 · 05 Write single coil · coil 0x0003 = ON"},
      {"010500030012", false, Sent, true, "Addr. 1 · 05 Write single coil · coil 0x0003 = 0x0012"},
      {"01060021000A", false, Sent, true, "Addr. 1 · 06 Write single register · register 0x0021 = 0x000A"},
      {"018302", false, Received, true,
       "Addr. 1 · 83 Read holding registers · exception 02: illegal data address"},
      {"019001", true, Received, false,
       "Adr. 1 · 90 Register schreiben (mehrere) · Ausnahme 01: unzulässige Funktion"},
      {twenty, false, Received, true,
       "Addr. 1 · 03 Read holding registers · 20 bytes: 1111 1111 1111 1111 1111 1111 …"}};
  for (const auto& [body, ascii, direction, english, text] : rows) {
    EXPECT_EQ(SummaryText(SummarizeFrame(Frame(body, ascii, direction)), english), QString::fromUtf8(text));
  }
}

// Damaged frames are still read; cut and meaningless ones never give more
// than they hold.
TEST(FrameSummary, OtherAddressesAndDamagedFramesAreStillReadCutOnesNoFurther) {
  EXPECT_EQ(SummarizeFrame(Frame("0703020005", false, Received)).address, 7);

  TappedFrame badCrc = Frame("0103020005", false, Received);
  badCrc.bytes[badCrc.bytes.size() - 1] = static_cast<char>(badCrc.bytes.back() ^ 0x40);
  EXPECT_EQ(SummarizeFrame(badCrc).data, QByteArray::fromHex("0005"));

  TappedFrame badLrc = Frame("0103020005", true, Received);
  badLrc.bytes[5] = '9';  // a data digit: the LRC no longer fits
  const FrameSummary s = SummarizeFrame(badLrc);
  EXPECT_EQ(s.byteCount, 0x92);
  EXPECT_TRUE(s.lengthMismatch);

  // Cut answers as the tap publishes them when the next request goes out.
  const TappedFrame cutAscii{Received, 0, QByteArray(":0103"), true, Check::Bad};
  const FrameSummary a = SummarizeFrame(cutAscii);
  EXPECT_TRUE(a.readable);
  EXPECT_EQ(a.function, 0x03);
  EXPECT_TRUE(a.lengthMismatch);
  const TappedFrame cutRtu{Received, 0, QByteArray::fromHex("010314"), false, Check::Bad};
  EXPECT_TRUE(SummarizeFrame(cutRtu).lengthMismatch);

  const TappedFrame rows[] = {
      {Received, 0, QByteArray(), false, Check::Bad},
      {Received, 0, QByteArray::fromHex("01"), false, Check::Bad},
      {Received, 0, QByteArray(":0G03\r\n"), true, Check::Bad},
      {Received, 0, QByteArray(":010\r\n"), true, Check::Bad},
      {Received, 0, QByteArray("\x00\xFF noise", 8), true, Check::Bad},
  };
  for (const TappedFrame& frame : rows) {
    const FrameSummary s = SummarizeFrame(frame);
    EXPECT_FALSE(s.readable) << frame.bytes.toHex().constData();
    EXPECT_EQ(SummaryText(s, true), QStringLiteral("not readable"));
  }
  // An unknown function names itself and nothing more.
  const FrameSummary unknown = SummarizeFrame(Frame("012B0E01", false, Sent));
  EXPECT_EQ(unknown.function, 0x2B);
  EXPECT_FALSE(unknown.start.has_value());
  EXPECT_EQ(SummaryText(unknown, true), QStringLiteral("Addr. 1 · 2B unknown function"));
}

}  // namespace
}  // namespace rbx14
