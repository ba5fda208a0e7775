#pragma once
// rbx14-cli monitor: open the port with one address (which reads the device
// out), tick "Poll Output Register" and print one CSV line per answer to the
// poll, the same lines the trend window exports. Ends after --count
// readings, on a signal (Ctrl+C), or when the device or the port fails; the
// output file is whole at every line.

#include "cli/batch_runner.h"
#include "cli/cli_options.h"

namespace rbx14 {

int RunMonitor(const CliOptions& options, ConfigCore& core, Waiter& waiter, const BatchSink& sink,
               bool english);

}  // namespace rbx14
