#pragma once
// The window takes no arguments for its work; `--help` and `--version` only
// print and end, before any window or display is needed, so that they run
// on a machine without a desktop and at build time for the manual page.

#include <optional>

namespace rbx14 {

// The exit code when the arguments ask for help or the version (printed on
// standard output), or nothing when the window is to start.
std::optional<int> AnswerInfoRequest(int argc, const char* const argv[]);

}  // namespace rbx14
