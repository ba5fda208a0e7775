#pragma once
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

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace rbx14 {

struct RtuFrame {
  std::string hex;  // every byte as two hex digits, CRC included
  bool crcGood = false;
};

class RtuAssembly {
 public:
  static constexpr int kCapacity = 51;

  // Takes one byte. Returns the frame it completes, if any. A frame longer
  // than the buffer throws RuntimeError; the caller then resets.
  std::optional<RtuFrame> push(std::uint8_t b, int ownAddress);

  void reset();
  int count() const { return iRxCount; }
  bool idle() const { return iRxBytes[0] == 0; }

 private:
  std::array<std::uint8_t, kCapacity> iRxBytes{};
  int iRxCount = 0;
  int iExpectedLength = 0;
};

}  // namespace rbx14
