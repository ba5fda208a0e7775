#include "sim/fault_injector.h"

#include <algorithm>

namespace rbx14::sim {

FaultInjector::FaultInjector(FaultSettings settings)
    : settings_(settings), state_(settings.seed) {}

// SplitMix64: small, fast and fully specified, so a seed means the same
// sequence everywhere (unlike the standard library's distributions).
std::uint64_t FaultInjector::draw() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

bool FaultInjector::chance(double rate) {
  // Always draw, so that one fault's rate does not shift the others' dice.
  const double u = static_cast<double>(draw() >> 11) / 9007199254740992.0;  // [0, 1)
  return u < rate;
}

int FaultInjector::below(int bound) {
  return bound <= 1 ? 0 : static_cast<int>(draw() % static_cast<std::uint64_t>(bound));
}

FaultPlan FaultInjector::next(int frameLength) {
  FaultPlan plan;
  if (settings_.silentAfter >= 0 && answered_ >= settings_.silentAfter) {
    plan.drop = true;
    return plan;
  }
  ++answered_;
  plan.drop = chance(settings_.dropRate);
  const bool corrupt = chance(settings_.corruptRate);
  const bool late = chance(settings_.lateRate);
  plan.wrongAddress = chance(settings_.wrongAddressRate);
  const bool split = chance(settings_.splitRate);
  const int where = below(frameLength);
  const auto mask = static_cast<std::uint8_t>(1 + below(255));
  const int pieces = 2 + below(2);
  if (corrupt && frameLength > 0) {
    plan.corruptIndex = where;
    plan.corruptMask = mask;
  }
  if (late) plan.extraDelayMs = settings_.lateMs;
  if (split && frameLength >= 2) {
    for (int k = 1; k < pieces; ++k) plan.chunkEnds.push_back(k * frameLength / pieces);
    plan.chunkEnds.erase(std::unique(plan.chunkEnds.begin(), plan.chunkEnds.end()),
                         plan.chunkEnds.end());
    std::erase(plan.chunkEnds, 0);
  }
  // Drawn last and only when asked for, so that the other faults of a seed
  // stay what they were before collisions existed.
  if (settings_.collisionRate > 0) plan.collision = chance(settings_.collisionRate);
  if (settings_.strayRate > 0) plan.stray = chance(settings_.strayRate);
  return plan;
}

}  // namespace rbx14::sim
