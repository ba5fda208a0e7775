// A short fault soak in both modes over every fault: with about one answer
// in ten spoilt (damaged, late past the repeat, lost, from another address,
// after a stray byte, overlaid, split), every cycle ends with success and
// every successful one shows and holds exactly the device's data; a silent
// device leaves the warning and a usable window. The long soak is
// bench/fault_soak.

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

SoakSettings Faulty(sim::LineMode mode) {
  SoakSettings s;
  s.mode = mode;
  s.cycles = 40;
  s.seed = 7;
  s.silentEvery = 10;
  s.faults.seed = 11;
  s.faults.dropRate = 0.02;
  s.faults.corruptRate = 0.02;
  s.faults.lateRate = 0.02;
  s.faults.lateMs = 1500;  // after the repeat: the device answers both
  s.faults.wrongAddressRate = 0.01;
  s.faults.strayRate = 0.01;
  s.faults.collisionRate = 0.01;
  s.faults.splitRate = 0.05;
  return s;
}

class FaultSoak : public ::testing::TestWithParam<SoakRow> {};

TEST_P(FaultSoak, EveryCycleEndsWithSuccessAndShowsExactlyTheDevice) {
  const SoakSettings& settings = GetParam().settings;
  const SoakCounts counts = RunFaultSoak(settings);
  std::cout << "[ soak " << GetParam().name << " ] " << counts.summary() << '\n';
  for (const std::string& failure : counts.failures) ADD_FAILURE() << failure;
  EXPECT_EQ(counts.cycles, settings.cycles);
  EXPECT_EQ(counts.succeeded + counts.silentCycles, counts.cycles);
  EXPECT_GT(counts.faulted, counts.cycles / 2);
  EXPECT_EQ(counts.faultedSucceeded, counts.faulted);
  for (const char* kind : {"dropped", "corrupted", "late", "another address", "stray byte", "second device"}) {
    EXPECT_GT(counts.faultsByKind.count(kind), 0u) << kind;
  }
  EXPECT_GT(counts.writeBacks, 0);
  EXPECT_GT(counts.silentCycles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FaultSoak,
    ::testing::Values(SoakRow{"rtu", Faulty(sim::LineMode::Rtu)},
                      SoakRow{"ascii", Faulty(sim::LineMode::Ascii)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::soak
