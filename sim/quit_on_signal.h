#pragma once
// Ends the event loop on SIGINT or SIGTERM, so that the program cleans up
// (its link, its terminal) instead of dying mid-answer. The signal handler
// only writes a byte to a pipe; the loop picks it up.

namespace rbx14::sim {

// Returns false when the pipe or the handlers could not be set up.
bool QuitOnSignals();

}  // namespace rbx14::sim
