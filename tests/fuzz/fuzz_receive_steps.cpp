// The steps of the receive path fed arbitrary bytes, without a core or a
// window: the RTU answer assembly, the ASCII line and its check, whether an
// answer fits the request on the line, the frame tap's frames and checks, the
// traffic decoder, and the simulated device's request readers. Checked on
// every frame:
// - the CRC and LRC verdicts agree with a check written here again, so that
//   it does not rest on the code it checks;
// - a frame the assembly completes comes from the own address, has the
//   length its function and byte count give, and reads back as the bytes
//   that came; the tap finds it good and the decoder sees no length mismatch;
// - a good ASCII answer reads back as its line's digits, and the tap agrees
//   wherever its stricter rules (upper-case digits) hold;
// - the simulated device takes no request longer than a Modbus frame and
//   judges each one as the check here does.
//
// Input: flags (bit 0 ASCII, bits 1-2 how often a silence falls on the
// simulated device's line, bit 3 English), address, request choice, then the
// line's bytes.

#include "fuzz_input.h"
#include "link/codec.h"
#include "link/frame_summary.h"
#include "link/frame_tap.h"
#include "link/modbus_frame.h"
#include "link/virtual_scheduler.h"
#include "sim/request_readers.h"
#include "support/fake_serial_port.h"
#include "transactions/answer_decoding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rbx14::fuzz {
namespace {

// Requests the program puts on the line, as hex pairs; a choice past the
// end is the empty request, which leaves every answer to the job.
constexpr std::array<const char*, 7> kRequests{
    "010300210001",  // the probe
    "01030000000A",  // a block
    "010100000020",  // the configuration bits
    "01030207001600",  // the external values, with their answer's byte count
    "01100000000A14",  // a block written
    "010F0000002004",  // the bits written
    "011002170001",  // an input register written
};

std::uint16_t Crc(std::string_view bytes) {
  std::uint16_t crc = 0xFFFF;
  for (char c : bytes) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

bool OwnCrcGood(std::string_view frame) {
  if (frame.size() < 2) return false;
  const std::uint16_t crc = Crc(frame.substr(0, frame.size() - 2));
  return static_cast<std::uint8_t>(frame[frame.size() - 2]) == (crc & 0xFF) &&
         static_cast<std::uint8_t>(frame[frame.size() - 1]) == (crc >> 8);
}

// Whether ":" hex pairs CR LF holds at least three pairs that add up to 0.
std::optional<bool> OwnAsciiVerdict(const std::string& line) {
  if (line.size() < 9 || line.size() % 2 == 0 || line.front() != ':' || !line.ends_with("\r\n")) return {};
  const QByteArray digits = QByteArray::fromStdString(line.substr(1, line.size() - 3));
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
    return {};
  }
  unsigned sum = 0;
  for (char b : QByteArray::fromHex(digits)) sum += static_cast<std::uint8_t>(b);
  return (sum & 0xFF) == 0;
}

QByteArray Bytes(std::string_view s) { return {s.data(), static_cast<qsizetype>(s.size())}; }
std::string_view View(const QByteArray& b) { return {b.constData(), static_cast<std::size_t>(b.size())}; }

TappedFrame Answer(const QByteArray& bytes, bool ascii) {
  return {TappedFrame::Direction::Received, 0, bytes, ascii, TappedFrame::Check::Good};
}

void CheckRtuAnswer(const ModbusFrame& frame, std::string_view tail, int address, const std::string& request) {
  RBX14_FUZZ_CHECK(frame.address() == address, "an answer from another address");
  RBX14_FUZZ_CHECK(frame.function() == 1 || frame.function() == 3 || frame.function() == 15 || frame.function() == 16,
                   "an answer of a function the link never asks");
  std::string line(frame.pdu);
  line += tail.substr(tail.size() - 2);
  RBX14_FUZZ_CHECK(RtuAnswerLength(line) == static_cast<int>(line.size()), "an answer of the wrong length");
  // A byte count of 0 is taken again from the next byte; only then does the
  // frame differ from the bytes that came.
  if (tail != line) return;
  RBX14_FUZZ_CHECK(frame.checkGood == OwnCrcGood(tail), "the assembly misjudged a CRC");
  if (!frame.checkGood) return;
  const QByteArray bytes = Bytes(tail);
  RBX14_FUZZ_CHECK(frame.hexWithCheck(false) == bytes.toHex().toUpper().toStdString(), "hex differs from the line");
  RBX14_FUZZ_CHECK(CheckFrame(bytes, false, address) == TappedFrame::Check::Good, "the tap disagrees");
  RBX14_FUZZ_CHECK(FramePdu(Answer(bytes, false)) == Bytes(frame.pdu), "the decoder reads another frame");
  RBX14_FUZZ_CHECK(!SummarizeFrame(Answer(bytes, false)).lengthMismatch, "the decoder finds a length mismatch");
  const std::string hex = frame.hexWithCheck(false);
  if (request.size() >= 12 && request.compare(2, 2, "03") == 0 && AnswerFitsRequest(hex, request, 4)) {
    RBX14_FUZZ_CHECK(frame.data().size() == 1 + 2 * std::stoul(request.substr(8, 4), nullptr, 16),
                     "a read answer fits with the wrong count");
  }
}

void CheckAsciiAnswer(const std::string& line, int address, const std::string& request) {
  const auto frame = AsciiAnswerLine(line);
  const auto verdict = OwnAsciiVerdict(line);
  RBX14_FUZZ_CHECK(frame.has_value() == verdict.has_value(), "the line check misread the line's shape");
  if (!frame) return;
  RBX14_FUZZ_CHECK(frame->checkGood == *verdict, "the line check misjudged an LRC");
  const QByteArray bytes = Bytes(line);
  const bool upperCase = bytes.toUpper() == bytes;
  const auto tap = CheckFrame(bytes, true, address);
  if (upperCase) {
    RBX14_FUZZ_CHECK((tap == TappedFrame::Check::Bad) == !frame->checkGood, "the tap disagrees on an LRC");
  }
  if (!frame->checkGood) return;
  const std::string hex = frame->hexWithCheck(true);
  RBX14_FUZZ_CHECK(hex == bytes.mid(1, bytes.size() - 3).toUpper().toStdString(), "hex differs from the line");
  RBX14_FUZZ_CHECK(FramePdu(Answer(bytes, true)) == Bytes(frame->pdu), "the decoder reads another frame");
  (void)AnswerFitsRequest(hex, request, 2);
}

void Run(FuzzInput& in) {
  const std::uint8_t flags = in.byte();
  const bool ascii = (flags & 0x01) != 0;
  const int address = in.byte();
  const std::uint8_t choice = in.byte();
  // Longer than any answer, long enough to overflow every buffer.
  const QByteArray line = in.bytes(600);
  std::string request = choice < kRequests.size() ? kRequests[choice] : "";
  if (!request.empty()) request.replace(0, 2, ByteToHexStr(static_cast<std::uint8_t>(address)));

  // The receive path's own steps.
  if (ascii) {
    AsciiLineCollector collector;
    std::string got;
    for (char c : line) {
      const auto step = collector.push(c, got);
      if (step == AsciiLineCollector::Step::More) continue;
      RBX14_FUZZ_CHECK(got.front() == ':', "a line without its start");
      RBX14_FUZZ_CHECK(got.size() <= AsciiLineCollector::kLongestLine + 1, "a line too long");
      if (step == AsciiLineCollector::Step::Line) CheckAsciiAnswer(got, address, request);
    }
  } else {
    RtuAnswerAssembler assembler;
    for (qsizetype i = 0; i < line.size(); ++i) {
      const bool full = assembler.count() >= RtuAnswerAssembler::kCapacity;
      try {
        const auto frame = assembler.push(static_cast<std::uint8_t>(line[i]), address);
        if (frame) {
          // The bytes the frame came in end with this one.
          const std::size_t length = frame->pdu.size() + 2;
          CheckRtuAnswer(*frame, View(line).substr(static_cast<std::size_t>(i) + 1 - length, length), address, request);
        }
      } catch (const std::length_error&) {
        RBX14_FUZZ_CHECK(full, "the assembly overflowed early");
        assembler.reset();  // what the handler's trap does
      }
    }
  }

  // The frame tap behind the request, and the decoder on all it saw. Made
  // once: what a run leaves in them goes when its request goes out.
  struct Tapped {
    VirtualScheduler clock;
    test::FakeSerialPort port;
    FrameTap tap{port, clock};
    int texts = 0;
    bool english = false;
  };
  static Tapped* const t = [] {
    auto* made = new Tapped;
    made->tap.addObserver([made](const TappedFrame& frame) {
      // The decoder and the list's line are slow next to the rest: the
      // first frames of a run only (noise makes a frame of every byte).
      if (++made->texts <= 8) {
        const FrameSummary summary = SummarizeFrame(frame);
        if (made->texts <= 2) (void)SummaryText(summary, made->english);
      }
      if (frame.direction != TappedFrame::Direction::Received || frame.ascii) return;
      const int length = RtuAnswerLength(View(frame.bytes));
      RBX14_FUZZ_CHECK(length == frame.bytes.size() || frame.check == TappedFrame::Check::Bad,
                       "the tap passed a frame cut short");
      if (frame.check != TappedFrame::Check::Bad) {
        RBX14_FUZZ_CHECK(OwnCrcGood(View(frame.bytes)), "the tap passed a bad CRC");
      }
    });
    return made;
  }();
  t->texts = 0;
  t->english = (flags & 0x08) != 0;
  t->port.written.clear();
  // Without a request, an empty one still sets the tap's mode.
  const std::string framed =
      request.empty() ? (ascii ? ":\r\n" : "") : ascii ? BuildAsciiFrame(request) : BuildRtuFrame(request);
  t->tap.output(Bytes(framed));
  t->port.receive(line);
  (void)t->tap.input();
  t->tap.setPortOpen(false);

  // The simulated device's readers on the same bytes as requests.
  // A silence ends what the reader collects; without one, a request of an
  // unknown function costs a CRC for every byte it grows.
  static constexpr std::array<qsizetype, 4> kSilences{16, 64, 300, 1200};
  const qsizetype silenceEvery = kSilences[(flags >> 1) & 3];
  sim::RtuRequestReader rtu(573.0);
  sim::AsciiRequestReader asciiReader;
  std::int64_t us = 0;
  for (qsizetype i = 0; i < line.size(); ++i) {
    us += i % silenceEvery == silenceEvery - 1 ? 5000 : 573;
    const auto byte = static_cast<std::uint8_t>(line[i]);
    if (const auto got = ascii ? asciiReader.push(byte) : rtu.push(byte, us)) {
      if (ascii) {
        RBX14_FUZZ_CHECK(got->received.startsWith(':'), "a request without its start");
        if (got->frame.checkGood) {
          RBX14_FUZZ_CHECK(got->frame.pdu.size() >= 2 && got->received.endsWith('\n'), "a good request cut short");
        }
      } else {
        // The longest: a block write whose byte count says 255.
        RBX14_FUZZ_CHECK(got->received.size() <= 7 + 255 + 2, "a request longer than any function's");
        RBX14_FUZZ_CHECK(got->frame.checkGood == OwnCrcGood(View(got->received)), "the reader misjudged a CRC");
      }
    }
  }
}

}  // namespace
}  // namespace rbx14::fuzz

RBX14_FUZZ_TARGET(rbx14::fuzz::Run)
