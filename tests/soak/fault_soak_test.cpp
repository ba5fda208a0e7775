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

const char* Name(sim::LineMode mode) { return mode == sim::LineMode::Rtu ? "rtu" : "ascii"; }

class FaultSoak : public ::testing::TestWithParam<sim::LineMode> {};

TEST_P(FaultSoak, EveryCycleEndsWithSuccessAndShowsExactlyTheDevice) {
  // Late answers come after the repeat: the device answers both.
  const SoakSettings settings = FaultyLine(GetParam(), 40, 7, 11, 10);
  const SoakCounts counts = RunFaultSoak(settings);
  std::cout << "[ soak " << Name(GetParam()) << " ] " << counts.summary() << '\n';
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

INSTANTIATE_TEST_SUITE_P(Modes, FaultSoak, ::testing::Values(sim::LineMode::Rtu, sim::LineMode::Ascii),
                         [](const auto& info) { return std::string(Name(info.param)); });

}  // namespace
}  // namespace rbx14::soak
