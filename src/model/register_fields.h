#pragma once
// Keeps each configuration field and its display in step: the list of an
// enumerated field, the read-only labels of device coding and firmware
// version, the window changes that follow the device type, the minimum
// response time, and the changed mark.

#include "base/globals.h"
#include "model/frm_config.h"

#include <optional>

namespace rbx14 {

// Field indices with rules of their own.
namespace cfg_field {
constexpr int kDeviceCoding = 0;
constexpr int kFirmwareVersion = 1;
constexpr int kDeviceType = 2;
constexpr int kResponseTime = 15;
}  // namespace cfg_field

// The device answers no faster than this, whatever the field's range admits.
inline constexpr int kMinResponseTimeMs = 5;

class RegisterFields {
 public:
  RegisterFields(Globals& globals, FrmConfig& form) : g_(globals), form_(form) {}

  // The user picked an item of list cmb_cfg(index): its code goes into the
  // field (which runs the field's change handler).
  void cmb_cfg_Click(int index);

  // The text of field `index` changed, whoever changed it: the typist, a
  // list, the arrows, the read-out or a parameter file.
  void txt_data_cfg_Change(int index);

 private:
  void ShowCodeInList(int index, double value);
  void ApplyDeviceType(std::optional<int> deviceType);
  void ApplyMinimumResponseTime(double value);

  Globals& g_;
  FrmConfig& form_;
};

}  // namespace rbx14
