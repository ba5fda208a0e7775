#pragma once
// Many read-outs and write-backs of the program against the simulated device
// on the virtual clock, with seeded line faults. A cycle that ran its chain
// to the end is checked: after a read-out the window shows exactly the
// device's image, after a write-back the device holds exactly what was
// written. A cycle that a fault stalled (a damaged RTU answer is dropped and
// nothing resumes the job until the state window's time budget closes it) is
// counted, and the next cycle starts over as the user would. Now and then the
// device stays silent for a whole cycle: that one must end with the warning
// label and a window that takes input again.
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
  int completed = 0;
  int stalled = 0;
  int faultsInjected = 0;
  std::map<std::string, int> faultsByKind;
  int retransmissions = 0;
  int recoveries = 0;        // completed although a fault hit the cycle
  int carriedStalls = 0;     // stalled by what a fault of an earlier cycle left behind
  int faultFreeStalls = 0;   // stalled with no fault since the last completed cycle: a defect
  std::int64_t virtualMs = 0;
  std::vector<std::string> failures;  // what a completed cycle got wrong

  std::string summary() const;
};

SoakCounts RunFaultSoak(const SoakSettings& settings);

}  // namespace rbx14::soak
