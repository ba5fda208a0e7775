// The fast link on the virtual clock against the simulated device: the same
// frames in the same order as the standard timing, only sooner; never a
// request before the previous answer was handled; never less than 3.5
// characters of silence before an RTU request. Under faults both timings
// end with the device's data (core_on_simulator_test).

#include "session/config_core.h"
#include "link/link_timing.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/tapped_port.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rbx14::sim {
namespace {

struct Outcome {
  std::vector<QByteArray> frames;
  std::int64_t readOutMs = 0;
  std::int64_t writeMs = 0;
  bool warning = false;
  bool windowMatches = false;
  // The longest the line stood idle between an answer taken in and the next
  // request.
  std::int64_t longestIdleUs = 0;
};

struct Line {
  const char* name;
  int modePosition;  // 0 ASCII, 1 RTU
  int baudPosition;  // 0 9600, 1 19200, 2 57600
};
std::ostream& operator<<(std::ostream& os, const Line& line) { return os << line.name; }

class FastLink : public ::testing::TestWithParam<Line> {
 protected:
  // Opens, reads out, writes one change back, and reports what went over the
  // line; with `check` each request is checked against the answers before it.
  Outcome run(bool fast, FaultSettings faults = {}, bool check = true) {
    VirtualScheduler clock;
    DeviceSettings settings;
    settings.faults = faults;
    SimulatedDevice device(settings);
    SimulatedSerialPort simulated(clock, device);
    rbx14::test::TappedPort tap(simulated, clock);
    rbx14::test::RecordingMessageBoxes messages;
    ConfigCore core(clock, tap, messages);
    core.timing.setFast(fast);
    core.Main();
    core.form.Combo_Port[port_list::kMode].setListIndex(GetParam().modePosition);
    core.form.Combo_Port[port_list::kBaud].setListIndex(GetParam().baudPosition);
    const auto idle = [&] { return core.globals.lJobState == 0 && !core.frmState.loaded(); };

    Outcome result;
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
    clock.advanceUntil([&] { return core.frmState.loaded() || core.form.lbl_desc[desc::kCommWarning].visible(); }, 10000);
    clock.advanceUntil(idle, 60000);
    result.readOutMs = clock.nowMs();
    result.windowMatches = !AnyFieldMarked(core.form) &&
                           core.form.txt_data_cfg[42].text() == QString::number(device.image().reg(42));
    if (core.frmState.loaded() || core.globals.lJobState != 0 || core.form.lbl_desc[desc::kCommWarning].visible()) {
      result.warning = core.form.lbl_desc[desc::kCommWarning].visible();
    } else {
      const std::int64_t start = clock.nowMs();
      core.form.txt_data_cfg[42].setText(QStringLiteral("44"));
      // As after loading a file: the delay field counts as edited, so the
      // write retunes the job timers halfway.
      core.form.bDelayChanged = true;
      core.form.set_parameter.click();
      clock.advanceUntil([&] { return core.globals.lJobState == 1; }, 60000);
      clock.advanceUntil(idle, 60000);
      result.writeMs = clock.nowMs() - start;
    }
    for (const auto& e : tap.sent) result.frames.push_back(e.bytes);
    for (std::size_t i = 1; i < tap.sent.size(); ++i) {
      std::int64_t lastTaken = tap.sent[i - 1].us;
      for (const auto& t : tap.taken) {
        if (t.us > tap.sent[i - 1].us && t.us <= tap.sent[i].us) lastTaken = t.us;
      }
      result.longestIdleUs = std::max(result.longestIdleUs, tap.sent[i].us - lastTaken);
    }
    if (check) expectOrderlyLine(tap, core);
    return result;
  }

  void expectOrderlyLine(const rbx14::test::TappedPort& tap, const ConfigCore& core) {
    const bool rtu = GetParam().modePosition == 1;
    const auto line = ParsePortSettings(core.globals.settingsString());
    ASSERT_TRUE(line.has_value());
    const std::int64_t silence = LinkTiming::SilenceUs(*line);
    std::size_t answers = 0;
    for (std::size_t i = 1; i < tap.sent.size(); ++i) {
      // Something came back between two requests (a good line needs no repeat).
      std::int64_t lastTaken = -1;
      std::size_t takenBetween = 0;
      for (const auto& t : tap.taken) {
        if (t.us > tap.sent[i - 1].us && t.us <= tap.sent[i].us) {
          ++takenBetween;
          lastTaken = t.us;
        }
      }
      answers += takenBetween;
      EXPECT_GT(takenBetween, 0u) << "request " << i << " went out before any answer";
      if (rtu && lastTaken >= 0) {
        EXPECT_GE(tap.sent[i].us - lastTaken, silence) << "request " << i << " broke the silence";
      }
    }
    EXPECT_GT(answers, 0u);
  }
};

TEST_P(FastLink, SameFramesInTheSameOrderOnlySooner) {
  const Outcome slow = run(false, {}, false);
  const Outcome fast = run(true);
  ASSERT_TRUE(slow.windowMatches);
  ASSERT_TRUE(fast.windowMatches);
  EXPECT_EQ(fast.frames, slow.frames);
  EXPECT_LT(fast.readOutMs, slow.readOutMs);
  EXPECT_LT(fast.writeMs, slow.writeMs);
  // The silence (at most 4 ms at 9600) and a step of a millisecond; never a
  // job timer's interval.
  EXPECT_LE(fast.longestIdleUs, 6000) << "the fast link waited for nothing";
  std::printf("[ %s ] read-out %lld ms -> %lld ms, write-back %lld ms -> %lld ms (virtual)\n",
              GetParam().name, static_cast<long long>(slow.readOutMs),
              static_cast<long long>(fast.readOutMs), static_cast<long long>(slow.writeMs),
              static_cast<long long>(fast.writeMs));
}

INSTANTIATE_TEST_SUITE_P(Lines, FastLink,
                         ::testing::Values(Line{"rtu9600", 1, 0}, Line{"rtu57600", 1, 2},
                                           Line{"ascii9600", 0, 0}, Line{"ascii19200", 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
