#pragma once

// One ranking run from the command line: settings, log and output path
// resolved as the window resolves them, the range checked before anything
// is written, then the same run and page as the window's GO.

#include <cstdio>
#include <string>

#include "batch_options.h"

namespace junmaru::batch {

enum ExitStatus { kSuccess = 0, kRunFailed = 1, kBadArguments = 2 };

// Runs with the parsed options; messages and the progress bar go to err.
// Returns the exit status.
int RunBatch(const BatchOptions& options, std::FILE* err);

}  // namespace junmaru::batch
