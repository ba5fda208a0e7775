// A short fault soak in both modes: every cycle that ran its chain to the
// end shows and holds exactly the device's data, a cycle that no fault hit
// always completes, and a silent device leaves the warning and a usable
// window. The long soak is bench/fault_soak.

#include "soak/fault_soak.h"

#include <gtest/gtest.h>

#include <iostream>

namespace rbx14::soak {
namespace {

struct SoakRow {
  const char* name;
  SoakSettings settings;
};
std::ostream& operator<<(std::ostream& os, const SoakRow& row) { return os << row.name; }

SoakSettings Faulty(sim::LineMode mode, bool damaging) {
  SoakSettings s;
  s.mode = mode;
  s.cycles = 60;
  s.seed = 7;
  s.silentEvery = 5;
  s.faults.seed = 11;
  s.faults.dropRate = 0.01;
  s.faults.splitRate = 0.05;
  s.faults.wrongAddressRate = 0.003;
  // Late, but before the request is repeated: a later answer would be taken
  // for the next block's.
  s.faults.lateRate = 0.01;
  s.faults.lateMs = 600;
  if (damaging) {
    // The ASCII link takes answers without checking their LRC, so damaged
    // answers are only part of the RTU soak.
    s.faults.corruptRate = 0.005;
    s.faults.collisionRate = 0.003;
  }
  return s;
}

class FaultSoak : public ::testing::TestWithParam<SoakRow> {};

TEST_P(FaultSoak, CompletedCyclesAreExactAndStallsCameFromFaults) {
  const SoakSettings& settings = GetParam().settings;
  const SoakCounts counts = RunFaultSoak(settings);
  std::cout << "[ soak " << GetParam().name << " ] " << counts.summary() << '\n';
  for (const std::string& failure : counts.failures) ADD_FAILURE() << failure;
  EXPECT_EQ(counts.cycles, settings.cycles);
  EXPECT_EQ(counts.completed + counts.stalled + counts.silentCycles, counts.cycles);
  EXPECT_EQ(counts.faultFreeStalls, 0);
  EXPECT_GT(counts.faultsInjected, 0);
  EXPECT_GT(counts.completed, counts.cycles / 2);
  EXPECT_GT(counts.writeBacks, 0);
  EXPECT_GT(counts.silentCycles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FaultSoak,
    ::testing::Values(SoakRow{"rtu", Faulty(sim::LineMode::Rtu, true)},
                      SoakRow{"ascii", Faulty(sim::LineMode::Ascii, false)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::soak
