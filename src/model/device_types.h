#pragma once
// What the hardware variant (field 2) changes in the window: the controller
// frames, the fan-stage frames, the lists of inputs 3 and 4, and the
// captions of output registers 11 and 12 on the monitor tab.

#include <array>
#include <optional>

namespace rbx14 {

struct DeviceTypeRule {
  int deviceType;
  bool controller;    // frames frm_ctrl(1), (2), (4), the control type, the controller state
  bool fanStages;     // frames frm_VX9H and frm_VX9K
  bool inputs3And4;   // captions and lists of inputs 3 and 4
  int monitorCaption11;  // message table entry for lbl_read_out(11), -1: unchanged
  int monitorCaption12;  // the same for lbl_read_out(12)
};

inline constexpr std::array<DeviceTypeRule, 13> kDeviceTypeRules{{
    // type, controller, fan stages, inputs 3/4, monitor captions
    {0, false, false, false, 17, 18},  // temperature, setpoint
    {1, false, false, true, 19, 20},   // digital inputs 3 and 4
    {2, true, false, false, 21, 22},   // control outputs heating, cooling
    {3, true, false, false, 21, 22},
    {4, true, false, false, 21, 22},
    {5, true, false, false, 21, 22},
    {6, true, false, false, 21, 22},
    {7, false, false, false, 21, 22},
    {8, true, false, false, 23, 22},   // control output, cooling
    {9, true, true, false, 23, 29},    // control output, fan output
    {10, true, false, false, -1, -1},
    {11, true, false, false, -1, -1},
    {12, true, true, false, -1, -1},
}};

// A type without a row of its own (negative, above 12, not whole) shows the
// controller, hides the fan stages and inputs 3 and 4, and keeps the
// monitor captions.
inline constexpr DeviceTypeRule kOtherDeviceType{-1, true, false, false, -1, -1};

constexpr const DeviceTypeRule& DeviceTypeRuleFor(std::optional<int> deviceType) {
  for (const auto& rule : kDeviceTypeRules) {
    if (deviceType == rule.deviceType) return rule;
  }
  return kOtherDeviceType;
}

}  // namespace rbx14
