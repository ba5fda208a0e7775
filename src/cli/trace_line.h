#pragma once
// One line of the frame trace: milliseconds since the start with three
// decimals, the direction, the bytes (hex pairs, ASCII frames as text) and
// the check result.

#include "link/frame_tap.h"

#include <QString>

namespace rbx14 {

QString TraceLine(const TappedFrame& frame, std::int64_t startUs);

}  // namespace rbx14
