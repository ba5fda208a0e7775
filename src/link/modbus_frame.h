#pragma once
// One Modbus frame, and the rules for finding it in what arrives on the line:
// how long an RTU answer or request of a function is from its first bytes,
// the CRC-16 of RTU and the LRC of ASCII as numbers, an ASCII line from its
// ":" to its line feed, and the answer assembly of the receive path. The
// response handler, the frame tap, the traffic decoder and the simulated
// device all read frames through these steps.
//
// Byte strings are std::string with one char per byte, as the codec has them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rbx14 {

struct ModbusFrame {
  std::string pdu;  // address, function, data: the frame without CRC or LRC
  bool checkGood = false;  // the CRC or LRC fitted the rest

  // -1 when the frame is too short to hold it.
  int address() const { return pdu.empty() ? -1 : static_cast<std::uint8_t>(pdu[0]); }
  int function() const { return pdu.size() < 2 ? -1 : static_cast<std::uint8_t>(pdu[1]); }
  std::string_view data() const { return std::string_view(pdu).substr(pdu.size() < 2 ? pdu.size() : 2); }

  // An RTU frame as on the line: the last two bytes are the CRC, low byte
  // first. Fewer than two bytes make an empty frame whose check failed.
  static ModbusFrame fromRtu(std::string_view bytes);
  // The bytes of an ASCII frame's hex pairs: the last one is the LRC.
  static ModbusFrame fromAsciiBytes(std::string_view bytes);

  // The frame as the hex pairs of the receive path, with its check as it
  // belongs there: the CRC (low byte first) or the LRC.
  std::string hexWithCheck(bool ascii) const;
};

// Whether the last two bytes of an RTU frame are the CRC of the bytes
// before them, low byte first.
bool RtuCrcGood(std::string_view frame);

// Whether the bytes of an ASCII frame, its LRC last, add up to 0 (mod 256).
bool LrcGood(std::string_view bytes);

// The length an RTU answer will have once its first bytes are known: 0
// while that cannot be told yet, -1 for a function this link never asks.
int RtuAnswerLength(std::string_view head);

// The length of an RTU request from its first bytes: 8 for the reads and
// single writes, 9 plus the byte count for block writes; 0 while that cannot
// be told yet, -1 for any other function.
int RtuRequestLength(std::string_view head);

// The bytes the hex pairs of an ASCII frame (between ":" and the line end)
// stand for; nothing when a digit is missing or is not hex. Upper-case
// digits always count, lower-case ones only with lowerCaseToo.
std::optional<std::string> AsciiPairs(std::string_view digits, bool lowerCaseToo);

// The frame of a whole ASCII line, ":" to CR LF, holding at least address,
// function and LRC as hex pairs of either case; nothing when the line is cut
// short or holds anything else.
std::optional<ModbusFrame> AsciiAnswerLine(std::string_view line);

// Collects ASCII lines from a stream of characters: ":" starts a line (and
// drops an unfinished one), a line feed ends it, anything outside a line is
// passed over, and a line longer than any Modbus frame is dropped.
class AsciiLineCollector {
 public:
  enum class Step { More, Line, TooLong };
  static constexpr std::size_t kLongestLine = 1 + 2 * 256 + 2;

  // On Line and TooLong, `line` receives the characters from ":" on.
  Step push(char c, std::string& line);
  void reset() { text_.clear(); }

 private:
  std::string text_;  // from the ":" on; empty outside a line
};

// Assembles an RTU answer byte by byte across receive polls. The state lives
// in the received bytes themselves: a 0 in the address, function or byte
// count slot means that byte has not come yet.
//
//   Idle            (address slot 0)       own address        -> Address received
//   Address received (function slot 0)     1 or 3             -> Count expected
//                                          15 or 16           -> Collecting, 8 bytes
//                                          anything else      -> Idle
//   Count expected  (read, count slot 0)   the byte count     -> Collecting, count + 5
//   Collecting                             any byte; at the expected length the
//                                          frame is complete  -> Idle
class RtuAnswerAssembler {
 public:
  static constexpr int kCapacity = 51;

  // Takes one byte. Returns the frame it completes, if any. A frame longer
  // than the buffer throws std::length_error; the caller then resets.
  std::optional<ModbusFrame> push(std::uint8_t b, int ownAddress);

  void reset();
  int count() const { return count_; }
  bool idle() const { return bytes_[0] == 0; }

 private:
  std::array<std::uint8_t, kCapacity> bytes_{};
  int count_ = 0;
  int expectedLength_ = 0;
};

}  // namespace rbx14
