// junmaru-batch: the ranking run without the window, for scheduled jobs.

#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "batch_options.h"
#include "batch_run.h"
#include "terminal.h"

int main(int argc, char** argv) {
  using namespace junmaru::batch;
  // A closed stderr (a pipe whose reader is gone) must not end the run:
  // its writes fail and the page is still written. An oversized page fails
  // as a write instead of ending the program.
#ifdef SIGPIPE  // Windows has neither signal
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
#endif
  const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.problem.empty()) {
    std::fprintf(stderr, "junmaru-batch: %s\n%s\n", parsed.problem.c_str(), kUsageLine);
    return kBadArguments;
  }
  if (parsed.options.help) {
    std::fputs(junmaru::TextForStream(stdout, kHelpText).c_str(), stdout);
    return kSuccess;
  }
  return RunBatch(parsed.options, stderr);
}
