#pragma once
// One run of the command line over a core that is already started: check
// the file, choose the link settings as the window's lists do, run the
// batch, write the report. The program gives it the Qt event loop and a
// real or simulated port; tests give it the virtual clock.

#include "cli/batch_runner.h"
#include "cli/cli_options.h"

namespace rbx14 {

// portNumber is the window's port number the options' port stands for.
// Returns the exit status.
int RunCli(const CliOptions& options, int portNumber, ConfigCore& core, Waiter& waiter,
           const Scheduler& clock, const BatchSink& sink);

}  // namespace rbx14
