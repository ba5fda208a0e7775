#pragma once
// Many read-outs and write-backs of the program against the simulated device
// on the virtual clock, with seeded line faults. Every cycle must end with
// success: the read-out's last answer taken in, no warning, the window
// taking input again. A read-out that ends so must show exactly the device's
// image, and after a write-back the device must hold exactly what was
// written. A fault the link cannot ride out (the same request spoilt again
// and again for the whole time-out) counts as a failed cycle. Now and then
// the device stays silent for a whole cycle: that one must end with the
// warning label and a window that takes input again.
//
// The ctest runs a short soak; bench/ runs long ones.

#include "sim/fault_injector.h"
#include "sim/simulated_device.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace rbx14::soak {

struct SoakSettings {
  sim::LineMode mode = sim::LineMode::Rtu;
  int cycles = 20;
  std::uint64_t seed = 1;  // the changes a write-back makes
  sim::FaultSettings faults;
  int silentEvery = 0;  // every n-th cycle the device hears nothing; 0 never
};

struct SoakCounts {
  int cycles = 0;
  int readOuts = 0;
  int writeBacks = 0;
  int silentCycles = 0;
  int succeeded = 0;         // ended with success (and were checked)
  int failed = 0;            // did not: each is also among the failures
  int faulted = 0;           // cycles a fault hit (silent ones aside)
  int faultedSucceeded = 0;  // of those, ended with success
  int faultsInjected = 0;
  std::map<std::string, int> faultsByKind;
  int retransmissions = 0;
  std::int64_t virtualMs = 0;
  std::vector<std::string> failures;  // cycles that failed, data that differed

  std::string summary() const;
};

// About one answer in ten spoilt (damaged, late by lateMs, lost, from another
// address, after a stray byte, overlaid by a second device), some more split
// into chunks; every silentEvery-th cycle silent.
SoakSettings FaultyLine(sim::LineMode mode, int cycles, std::uint64_t seed, std::uint64_t faultSeed,
                        int silentEvery, int lateMs = 1500);

SoakCounts RunFaultSoak(const SoakSettings& settings);

}  // namespace rbx14::soak
