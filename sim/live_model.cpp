#include "sim/live_model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace rbx14::sim {
namespace {

// Output register offsets from 0x0100.
enum Output : std::uint16_t {
  kKeys = 0,
  kKeys2 = 1,
  kTemperature = 2,
  kOffset1 = 3,
  kEffective1 = 4,
  kOffset2 = 5,
  kEffective2 = 6,
  kFanStage = 7,
  kOccupancy = 8,
  kDigitalInput1 = 9,
  kController = 13,
};

// Input register offsets from 0x0200.
enum Input : std::uint16_t {
  kInOffset1 = 11,
  kInOffset2 = 12,
  kInBase1 = 13,
  kInBase2 = 14,
  kInFanStage = 15,
  kInOccupancy = 16,
  kInController = 21,
  kInTemperature = 24,
};

constexpr std::uint16_t kNoTemperature = 0x7FFF;
constexpr std::uint16_t kAutoFan = 0xFF00;
constexpr std::int64_t kDriftPeriodMs = 600'000;
constexpr std::int64_t kKeyPeriodMs = 20'000;
constexpr std::int64_t kKeyPressMs = 1'000;
constexpr std::int64_t kWindowPeriodMs = 90'000;

// The room: it loses heat to surroundings at 17 °C (plus the day's drift)
// with a time constant of ten minutes; full heating holds it 10 K above them,
// full cooling 10 K below. The controller's proportional band is 1 K. The
// room starts as cold as its surroundings, so that the controller has work.
constexpr double kSurroundings = 17.0;
constexpr double kRoomTimeConstantS = 600.0;
constexpr double kFullPowerK = 10.0;
constexpr double kProportionalBandK = 1.0;
// The room is brought up to date in steps of a second; after a long silence
// it has settled, and the last hour stands for all of it.
constexpr std::int64_t kStepMs = 1'000;
constexpr std::int64_t kLongestCatchUpMs = 3'600'000;

int Signed(std::uint16_t v) { return static_cast<std::int16_t>(v); }
std::uint16_t Word(int v) { return static_cast<std::uint16_t>(v & 0xFFFF); }

int In(const DeviceImage& image, Input k) {
  return Signed(image.reg(static_cast<std::uint16_t>(kInputFirst + k)));
}
int Cfg(const DeviceImage& image, int index) {
  return Signed(image.reg(static_cast<std::uint16_t>(kConfigFirst + index)));
}
void Out(DeviceImage& image, Output k, int value) {
  image.setReg(static_cast<std::uint16_t>(kOutputFirst + k), Word(value));
}

// The offset the device accepts lies between the lower and upper range.
int LimitedOffset(int offset, int lower, int upper) {
  if (lower > upper) std::swap(lower, upper);
  return std::clamp(offset, lower, upper);
}

// Fan stage the controller asks for at a given distance from the setpoint.
int DemandedStage(int distanceTenths, int stages) {
  const int d = std::abs(distanceTenths);
  const int stage = d < 5 ? 0 : d < 10 ? 1 : d < 20 ? 2 : 3;
  return std::min(stage, std::clamp(stages, 1, 3));
}

bool HasController(int deviceType) { return deviceType != 0 && deviceType != 1 && deviceType != 7; }

// The control output a proportional controller asks for in a mode (1
// heating, 2 cooling, 3 both), in % of full heating (negative: cooling).
double ControlOutput(int mode, double temperature, double setpoint) {
  const double demand = std::clamp((setpoint - temperature) / kProportionalBandK * 100.0, -100.0, 100.0);
  switch (mode) {
    case 1: return std::max(demand, 0.0);
    case 2: return std::min(demand, 0.0);
    case 3: return demand;
    default: return 0.0;
  }
}

// Brings the room from its last time to nowMs with the controller in `mode`
// holding `setpoint` (°C).
double Surroundings(std::int64_t nowMs) {
  return kSurroundings + (DriftingRoomTemperature(nowMs) - 215) / 10.0;
}

void AdvanceRoom(RoomState& room, std::int64_t nowMs, int mode, double setpoint) {
  if (!room.started) room = RoomState{true, nowMs, Surroundings(nowMs), 0.0};
  std::int64_t from = std::max(room.lastMs, nowMs - kLongestCatchUpMs);
  while (from < nowMs) {
    const std::int64_t step = std::min(kStepMs, nowMs - from);
    const double dt = static_cast<double>(step) / 1000.0;
    // The surroundings follow the day's drift around their mean.
    const double outside = Surroundings(from);
    room.output = ControlOutput(mode, room.temperature, setpoint);
    const double target = outside + room.output / 100.0 * kFullPowerK;
    room.temperature += (target - room.temperature) * dt / kRoomTimeConstantS;
    from += step;
  }
  room.lastMs = std::max(room.lastMs, nowMs);
}

// The fan stage in automatic mode follows the control output.
int StageForOutput(double outputPercent, int stages) {
  const double u = std::abs(outputPercent);
  const int stage = u < 10 ? 0 : u < 40 ? 1 : u < 70 ? 2 : 3;
  return std::min(stage, std::clamp(stages, 1, 3));
}

}  // namespace

int DriftingRoomTemperature(std::int64_t nowMs) {
  // A triangle of +-1.5 K around 21.5 °C over ten minutes.
  const std::int64_t phase = ((nowMs % kDriftPeriodMs) + kDriftPeriodMs) % kDriftPeriodMs;
  const std::int64_t half = kDriftPeriodMs / 2;
  const std::int64_t rise = phase < half ? phase : kDriftPeriodMs - phase;
  return static_cast<int>(215 - 15 + rise * 30 / half);
}

void UpdateOutputs(DeviceImage& image, std::int64_t nowMs) {
  const std::int64_t t = std::max<std::int64_t>(nowMs, 0);

  // Now and then someone presses a key, one after the other.
  const bool pressed = t % kKeyPeriodMs < kKeyPressMs;
  const int key = static_cast<int>((t / kKeyPeriodMs) % 4);
  Out(image, kKeys, pressed ? 1 << key : 0);
  Out(image, kKeys2, 0);

  const int offset1 = LimitedOffset(In(image, kInOffset1), Cfg(image, 18), Cfg(image, 17));
  const int effective1 = In(image, kInBase1) + offset1;
  const int offset2 = LimitedOffset(In(image, kInOffset2), Cfg(image, 22), Cfg(image, 21));
  Out(image, kOffset1, offset1);
  Out(image, kEffective1, effective1);
  Out(image, kOffset2, offset2);
  Out(image, kEffective2, In(image, kInBase2) + offset2);

  // The controller at work: heating (1), cooling (2), or both (3).
  const bool controlled = HasController(Cfg(image, 2)) && Cfg(image, 43) != 0;
  const int mode = controlled ? In(image, kInController) : 0;
  const bool regulating = mode >= 1 && mode <= 3;
  const int drifting = DriftingRoomTemperature(t) + Cfg(image, 16);
  AdvanceRoom(image.room, t, regulating ? mode : 0, effective1 / 10.0);
  const std::uint16_t external = image.reg(kInputFirst + kInTemperature);
  int temperature = drifting;
  if (external != kNoTemperature) {
    temperature = Signed(external);
  } else if (regulating) {
    temperature = static_cast<int>(std::lround(image.room.temperature * 10.0)) + Cfg(image, 16);
  }
  Out(image, kTemperature, temperature);

  const auto fan = static_cast<std::uint16_t>(In(image, kInFanStage));
  const int stages = Cfg(image, 25);
  int fanOut = 0;
  if (fan <= 3) {
    fanOut = std::min<int>(fan, std::clamp(stages, 1, 3));
  } else if (fan >= kAutoFan && fan <= kAutoFan + 3) {
    // With the controller at work the stage follows its output, else the
    // distance from the setpoint.
    fanOut = kAutoFan + (regulating ? StageForOutput(image.room.output, stages)
                                    : DemandedStage(temperature - effective1, stages));
  }
  Out(image, kFanStage, fanOut);

  Out(image, kOccupancy, In(image, kInOccupancy) == 1 ? 1 : 0);

  // Digital input 1 is a window contact that opens for a while now and then.
  Out(image, kDigitalInput1, static_cast<int>((t / kWindowPeriodMs) % 2));
  for (int k = 1; k < 4; ++k) Out(image, static_cast<Output>(kDigitalInput1 + k), 0);

  int controller = 0;
  if (controlled) {
    switch (In(image, kInController)) {
      case 1: controller = 1; break;
      case 2: controller = 2; break;
      case 3: controller = temperature < effective1 ? 3 : 4; break;
      default: controller = 0; break;
    }
  }
  Out(image, kController, controller);
  for (int k = kController + 1; k < kOutputCount; ++k) Out(image, static_cast<Output>(k), 0);
}

}  // namespace rbx14::sim
