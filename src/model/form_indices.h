#pragma once
// Positions in the main window's control arrays that code outside the
// window names.

namespace rbx14 {

// Positions of the settings lists in the Combo_Port array.
namespace port_list {
constexpr int kPort = 0;
constexpr int kBaud = 1;
constexpr int kParity = 2;
constexpr int kMode = 5;
constexpr int kOpenClose = 6;
}  // namespace port_list

// lbl_desc indices the link uses.
namespace desc {
constexpr int kCommWarning = 7;
constexpr int kPollCaption = 30;
}  // namespace desc

}  // namespace rbx14
