#include "transactions/rtu_assembly.h"

#include "base/trap.h"
#include "link/codec.h"

namespace rbx14 {

void RtuAssembly::reset() {
  iRxBytes[0] = iRxBytes[1] = iRxBytes[2] = 0;
  iRxCount = 0;
}

std::optional<RtuFrame> RtuAssembly::push(std::uint8_t b, int ownAddress) {
  if (iRxBytes[0] == 0) {
    // Address 0 never matches: 0 marks the empty slot.
    if (b != 0 && b == ownAddress) {
      iRxBytes[0] = b;
      iRxCount = 1;
    }
    return std::nullopt;
  }
  if (iRxBytes[1] == 0) {
    if (b == 3 || b == 1) {
      iRxBytes[1] = b;
      ++iRxCount;
    } else if (b == 15 || b == 16) {
      iRxBytes[1] = b;
      ++iRxCount;
      iExpectedLength = 8;  // address, function, start, quantity, CRC
    } else {
      // Any other function, exception answers included: start over.
      iRxBytes[0] = 0;
      iRxCount = 0;
    }
    return std::nullopt;
  }
  if ((iRxBytes[1] == 3 || iRxBytes[1] == 1) && iRxBytes[2] == 0) {
    // A byte count of 0 leaves the slot empty, so the next byte is taken as
    // the count again.
    iRxBytes[2] = b;
    ++iRxCount;
    iExpectedLength = b + 5;
    return std::nullopt;
  }
  if (iRxCount >= kCapacity) throw RuntimeError("RTU answer longer than the receive buffer");
  iRxBytes[static_cast<std::size_t>(iRxCount)] = b;
  ++iRxCount;
  if (iRxCount != iExpectedLength) return std::nullopt;

  RtuFrame frame;
  std::string body;
  for (int i = 0; i < iExpectedLength; ++i) {
    const std::uint8_t byte = iRxBytes[static_cast<std::size_t>(i)];
    frame.hex += ByteToHexStr(byte);
    if (i < iExpectedLength - 2) body += static_cast<char>(byte);
  }
  const std::string crc = CalculateCRC(body);
  // The CRC travels low byte first.
  frame.crcGood = frame.hex.compare(frame.hex.size() - 4, 4, crc.substr(2, 2) + crc.substr(0, 2)) == 0;
  reset();
  return frame;
}

}  // namespace rbx14
