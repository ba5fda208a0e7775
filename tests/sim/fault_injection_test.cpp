// Faults come from the seed alone: the same seed gives the same spoilt
// answers, and each kind of fault spoils an answer the way its name says.

#include "sim_test_helpers.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

using test::Framed;
using test::Send;

const QByteArray kProbe = Framed("010300210001", LineMode::Rtu);
const QByteArray kProbeAnswer = Framed("0103020005", LineMode::Rtu);
constexpr int kDelayMs = 10;

SimulatedDevice DeviceWith(const FaultSettings& faults) {
  return SimulatedDevice(DeviceSettings{LineMode::Rtu, 1, kDelayMs, faults});
}

// Twenty probes a second apart; every answer with its byte times.
std::vector<test::Exchange> ProbeRun(SimulatedDevice& device, int requests = 20) {
  std::vector<test::Exchange> out;
  for (int k = 0; k < requests; ++k) out.push_back(Send(device, kProbe, std::int64_t{k} * 1'000'000));
  return out;
}

bool SameRun(const std::vector<test::Exchange>& a, const std::vector<test::Exchange>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].answer != b[k].answer || a[k].timed.size() != b[k].timed.size()) return false;
    for (std::size_t i = 0; i < a[k].timed.size(); ++i) {
      if (a[k].timed[i].dueUs != b[k].timed[i].dueUs) return false;
    }
  }
  return true;
}

FaultSettings EveryFaultSometimes(std::uint64_t seed) {
  FaultSettings f;
  f.seed = seed;
  f.dropRate = f.corruptRate = f.lateRate = f.wrongAddressRate = f.splitRate = 0.3;
  return f;
}

TEST(FaultInjection, TheSameSeedGivesTheSameFaults) {
  SimulatedDevice a = DeviceWith(EveryFaultSometimes(42));
  SimulatedDevice b = DeviceWith(EveryFaultSometimes(42));
  SimulatedDevice c = DeviceWith(EveryFaultSometimes(43));
  const auto runA = ProbeRun(a);
  EXPECT_TRUE(SameRun(runA, ProbeRun(b)));
  EXPECT_FALSE(SameRun(runA, ProbeRun(c)));
  // With faults this likely, some answers are spoilt and some are not.
  int clean = 0;
  for (const auto& e : runA) clean += e.answer == kProbeAnswer ? 1 : 0;
  EXPECT_GT(clean, 0);
  EXPECT_LT(clean, 20);
}

struct FaultRow {
  const char* name;
  FaultSettings settings;
  // Checks one answer to the probe (the first of the run).
  void (*check)(const test::Exchange& first, const std::vector<test::Exchange>& all);
};
std::ostream& operator<<(std::ostream& os, const FaultRow& row) { return os << row.name; }

FaultSettings Only(double FaultSettings::*rate) {
  FaultSettings f;
  f.*rate = 1.0;
  return f;
}

std::int64_t CleanStartUs() {
  SimulatedDevice clean = DeviceWith({});
  return Send(clean, kProbe).timed.front().dueUs;
}

class FaultKinds : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultKinds, SpoilTheAnswerAsNamed) {
  SimulatedDevice device = DeviceWith(GetParam().settings);
  const auto all = ProbeRun(device, 5);
  GetParam().check(all.front(), all);
}

INSTANTIATE_TEST_SUITE_P(
    Each, FaultKinds,
    ::testing::Values(
        FaultRow{"drop", Only(&FaultSettings::dropRate),
                 [](const test::Exchange& first, const auto&) { EXPECT_TRUE(first.answer.isEmpty()); }},
        FaultRow{"corrupt", Only(&FaultSettings::corruptRate),
                 [](const test::Exchange& first, const auto&) {
                   ASSERT_EQ(first.answer.size(), kProbeAnswer.size());
                   int differing = 0;
                   for (qsizetype i = 0; i < first.answer.size(); ++i) differing += first.answer[i] != kProbeAnswer[i];
                   EXPECT_EQ(differing, 1);
                 }},
        FaultRow{"late", [] { auto f = Only(&FaultSettings::lateRate); f.lateMs = 1500; return f; }(),
                 [](const test::Exchange& first, const auto&) {
                   EXPECT_EQ(first.answer, kProbeAnswer);
                   EXPECT_EQ(first.timed.front().dueUs - CleanStartUs(), 1'500'000);
                 }},
        FaultRow{"wrong_address", Only(&FaultSettings::wrongAddressRate),
                 [](const test::Exchange& first, const auto&) {
                   EXPECT_EQ(first.answer, Framed("0203020005", LineMode::Rtu));
                 }},
        FaultRow{"split", [] { auto f = Only(&FaultSettings::splitRate); f.splitGapMs = 60; return f; }(),
                 [](const test::Exchange& first, const auto&) {
                   EXPECT_EQ(first.answer, kProbeAnswer);
                   int gaps = 0;
                   for (std::size_t i = 1; i < first.timed.size(); ++i) {
                     gaps += first.timed[i].dueUs - first.timed[i - 1].dueUs >= 60'000 ? 1 : 0;
                   }
                   EXPECT_GE(gaps, 1);
                 }},
        FaultRow{"second_device", Only(&FaultSettings::collisionRate),
                 [](const test::Exchange& first, const auto&) {
                   // Address 1 and address 2 on the line at once: 0x01 & 0x02.
                   ASSERT_EQ(first.answer.size(), kProbeAnswer.size());
                   EXPECT_EQ(first.answer[0], 0);
                   EXPECT_EQ(first.answer.mid(1, 4), kProbeAnswer.mid(1, 4));
                 }},
        FaultRow{"silent_after_two", [] { FaultSettings f; f.silentAfter = 2; return f; }(),
                 [](const test::Exchange&, const std::vector<test::Exchange>& all) {
                   ASSERT_EQ(all.size(), 5u);
                   EXPECT_EQ(all[0].answer, kProbeAnswer);
                   EXPECT_EQ(all[1].answer, kProbeAnswer);
                   EXPECT_TRUE(all[2].answer.isEmpty());
                   EXPECT_TRUE(all[4].answer.isEmpty());
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaultInjection, AsciiCorruptionKeepsTheFrameButBreaksTheLrc) {
  SimulatedDevice device(DeviceSettings{LineMode::Ascii, 1, 0, Only(&FaultSettings::corruptRate)});
  const QByteArray got = Send(device, Framed("010300210001", LineMode::Ascii)).answer;
  const QByteArray clean = Framed("0103020005", LineMode::Ascii);
  ASSERT_EQ(got.size(), clean.size());
  EXPECT_NE(got, clean);
  EXPECT_TRUE(got.startsWith(':'));
  EXPECT_TRUE(got.endsWith("\r\n"));
  for (char c : got.mid(1, got.size() - 3)) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c))) << c;
}

}  // namespace
}  // namespace rbx14::sim
