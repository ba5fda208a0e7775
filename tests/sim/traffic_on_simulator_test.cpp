// The traffic log behind the tap while the program reads the simulated
// device out on the virtual clock, with seeded drops and damaged answers:
// its counters agree with what the device says it heard, answered, dropped
// and damaged.

#include "session/config_core.h"
#include "link/frame_tap.h"
#include "link/traffic_log.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

// What the device says happened on its line.
struct DeviceTally {
  int requests = 0;
  int answered = 0;   // answers that went out, damaged or not
  int corrupted = 0;  // of those, damaged
  int dropped = 0;
};

struct FaultRun {
  const char* name;
  int modeListPosition;  // 0 ASCII, 1 RTU
  std::uint64_t seed;
};
std::ostream& operator<<(std::ostream& os, const FaultRun& run) { return os << run.name; }

class TrafficOnSimulator : public ::testing::TestWithParam<FaultRun> {
 protected:
  TrafficOnSimulator() : device(Settings()), core(clock, tap, messages) {
    device.setOnLineEvent([this](const LineEvent& event) {
      switch (event.kind) {
        case LineEvent::Kind::Request: ++tally.requests; break;
        case LineEvent::Kind::Dropped: ++tally.dropped; break;
        case LineEvent::Kind::Answer:
          ++tally.answered;
          if (event.note.contains(QStringLiteral("corrupted"))) ++tally.corrupted;
          break;
        default: break;
      }
    });
    tap.addObserver([this](const TappedFrame& frame) { log.append(frame); });
    core.Main();
  }

  static DeviceSettings Settings() {
    DeviceSettings settings;
    settings.faults.seed = GetParam().seed;
    settings.faults.dropRate = 0.08;
    settings.faults.corruptRate = 0.08;
    return settings;
  }

  // Opens the port; the probe's answer starts the read-out.
  void readOut() {
    core.form.Combo_Port[port_list::kMode].setListIndex(GetParam().modeListPosition);
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
    clock.advanceUntil([this] { return core.frmState.loaded(); }, 10000);
    clock.advanceUntil([this] { return core.globals.lJobState == 0 && !core.frmState.loaded(); }, 120000);
  }

  VirtualScheduler clock;
  SimulatedDevice device;
  SimulatedSerialPort simulated{clock, device};
  FrameTap tap{simulated, clock};
  rbx14::test::RecordingMessageBoxes messages;
  ConfigCore core;
  TrafficLog log;
  DeviceTally tally;
};

TEST_P(TrafficOnSimulator, CountersAgreeWithTheFaultsTheDeviceReports) {
  readOut();
  // The seed gives a run with both kinds of fault. (In RTU the program
  // drops a damaged answer and the read-out stalls there, so the seed has
  // the drop come first.)
  ASSERT_GT(tally.dropped, 0);
  ASSERT_GT(tally.corrupted, 0);
  const TrafficCounts& counts = log.counts();

  // Every request reached the device; every undamaged answer came back good.
  EXPECT_EQ(counts.requests, tally.requests);
  EXPECT_EQ(counts.answers, tally.answered - tally.corrupted);
  EXPECT_EQ(counts.otherAddresses, 0);
  // A dropped answer leaves its request unheard: a time-out once the next
  // request goes, which only the last request of the run may lack.
  EXPECT_LE(counts.timeouts, tally.dropped);
  EXPECT_GE(counts.timeouts, tally.dropped - 1);
  // The link sends an unanswered request again as it was.
  EXPECT_GT(counts.repeats, 0);
  if (GetParam().modeListPosition == 0) {
    // An ASCII frame keeps its shape when a character is damaged: one bad
    // frame per damaged answer.
    EXPECT_EQ(counts.checksumErrors, tally.corrupted);
  } else {
    // A damaged RTU length or function byte may cut the answer into pieces.
    EXPECT_GE(counts.checksumErrors, tally.corrupted);
  }
  // Nothing was paused or cleared: every frame is listed, in time order.
  ASSERT_LT(log.size(), TrafficLog::kCapacity);
  int sent = 0;
  int good = 0;
  for (int i = 0; i < log.size(); ++i) {
    const TappedFrame& frame = log.row(i);
    sent += frame.direction == TappedFrame::Direction::Sent ? 1 : 0;
    good += frame.direction == TappedFrame::Direction::Received && frame.check == TappedFrame::Check::Good;
    if (i > 0) {
      EXPECT_GE(frame.timeUs, log.row(i - 1).timeUs);
    }
  }
  EXPECT_EQ(sent, counts.requests);
  EXPECT_EQ(good, counts.answers);
}

INSTANTIATE_TEST_SUITE_P(Modes, TrafficOnSimulator,
                         ::testing::Values(FaultRun{"rtu", 1, 5}, FaultRun{"ascii", 0, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
