#include "link/link_timing.h"

#include <cmath>

namespace rbx14 {

std::int64_t LinkTiming::SilenceUs(const PortSettings& line) {
  if (line.baudRate > 19200) return 1750;
  return static_cast<std::int64_t>(std::ceil(3.5 * CharacterTimeUs(line)));
}

std::int64_t LinkTiming::waitBeforeSendUs(std::int64_t nowUs, bool rtu, const PortSettings& line) const {
  if (!fast_ || !rtu || lastArrivalUs_ < 0) return 0;
  const std::int64_t quietFrom = lastArrivalUs_ + SilenceUs(line);
  return quietFrom > nowUs ? quietFrom - nowUs : 0;
}

}  // namespace rbx14
