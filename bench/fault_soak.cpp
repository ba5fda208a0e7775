// The long fault soak: many read-out and write-back cycles against the
// simulated device with seeded faults, in RTU and ASCII, with the counts.
//
//   rbx14-fault-soak [CYCLES] [SEED] [LATE_MS]
//
// Defaults: 400 cycles, seed 1, late answers 1500 ms late (after the
// request was repeated, so the device answers twice). About one answer in
// ten is spoilt: damaged, late, lost, from another address, after a stray
// byte or overlaid by a second device; some more come in chunks.
//
// Exits 1 when a cycle did not end with success, or one that did showed or
// wrote anything but the device's data.

#include "soak/fault_soak.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
  using namespace rbx14;
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 400;
  const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  const int lateMs = argc > 3 ? std::atoi(argv[3]) : 1500;
  int failures = 0;
  for (const auto mode : {sim::LineMode::Rtu, sim::LineMode::Ascii}) {
    const soak::SoakSettings s = soak::FaultyLine(mode, cycles, seed, seed * 7919 + 1, 25, lateMs);
    const soak::SoakCounts counts = soak::RunFaultSoak(s);
    std::cout << (mode == sim::LineMode::Rtu ? "RTU:   " : "ASCII: ") << counts.summary() << '\n';
    for (const std::string& f : counts.failures) std::cout << "  " << f << '\n';
    failures += static_cast<int>(counts.failures.size());
  }
  return failures == 0 ? 0 : 1;
}
