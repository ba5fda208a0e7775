// The output registers follow what the tool writes and the clock, the same
// way every time.

#include "sim/live_model.h"

#include <gtest/gtest.h>

#include <functional>

namespace rbx14::sim {
namespace {

std::uint16_t W(int v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
int Out(const DeviceImage& image, int k) { return static_cast<std::int16_t>(image.reg(W(kOutputFirst + k))); }
void In(DeviceImage& image, int k, int v) { image.setReg(W(kInputFirst + k), W(v)); }

struct LiveRow {
  const char* name;
  std::function<void(DeviceImage&)> prepare;
  std::int64_t atMs;
  int output;    // output register offset
  int expected;  // signed value
};
std::ostream& operator<<(std::ostream& os, const LiveRow& row) { return os << row.name; }

class LiveModel : public ::testing::TestWithParam<LiveRow> {};

TEST_P(LiveModel, OutputFollowsTheImage) {
  DeviceImage image;
  GetParam().prepare(image);
  UpdateOutputs(image, GetParam().atMs);
  EXPECT_EQ(Out(image, GetParam().output), GetParam().expected);
}

const auto kFactory = [](DeviceImage&) {};

INSTANTIATE_TEST_SUITE_P(
    Rows, LiveModel,
    ::testing::Values(
        LiveRow{"temperature_at_start", kFactory, 0, 2, 200},
        LiveRow{"temperature_half_way_through_the_drift", kFactory, 300'000, 2, 230},
        LiveRow{"temperature_with_the_configured_offset", [](DeviceImage& i) { i.setReg(16, W(-15)); }, 0, 2, 185},
        LiveRow{"external_temperature_wins", [](DeviceImage& i) { In(i, 24, 237); }, 0, 2, 237},
        LiveRow{"offset_written", [](DeviceImage& i) { In(i, 11, 20); }, 0, 3, 20},
        LiveRow{"effective_setpoint_is_base_plus_offset", [](DeviceImage& i) { In(i, 11, 20); }, 0, 4, 230},
        LiveRow{"offset_limited_to_the_upper_range", [](DeviceImage& i) { In(i, 11, 50); }, 0, 3, 30},
        LiveRow{"offset_limited_to_the_lower_range", [](DeviceImage& i) { In(i, 11, -50); }, 0, 3, -30},
        LiveRow{"setpoint_2_effective", [](DeviceImage& i) { In(i, 12, -10); }, 0, 6, 230},
        LiveRow{"manual_fan_stage", [](DeviceImage& i) { In(i, 15, 2); }, 0, 7, 2},
        LiveRow{"manual_fan_stage_limited_to_the_stages", [](DeviceImage& i) { In(i, 15, 3); i.setReg(25, 1); }, 0, 7, 1},
        // 20.0 °C against 21.0 °C: one kelvin off asks for stage 2.
        LiveRow{"automatic_fan_stage", [](DeviceImage& i) { In(i, 15, 0xFF00); }, 0, 7, static_cast<std::int16_t>(0xFF02)},
        LiveRow{"occupancy", [](DeviceImage& i) { In(i, 16, 0); }, 0, 8, 0},
        LiveRow{"a_key_pressed", kFactory, 20'500, 0, 2},
        LiveRow{"no_key_pressed", kFactory, 1'500, 0, 0},
        LiveRow{"window_contact_open", kFactory, 100'000, 9, 1},
        LiveRow{"automatic_control_heats_when_cold", kFactory, 0, 13, 3},
        LiveRow{"automatic_control_cools_when_warm", [](DeviceImage& i) { In(i, 24, 250); }, 0, 13, 4},
        LiveRow{"no_controller_on_a_vx1", [](DeviceImage& i) { i.setReg(2, 1); }, 0, 13, 0},
        LiveRow{"controller_off_by_control_mode", [](DeviceImage& i) { i.setReg(43, 0); }, 0, 13, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14::sim
