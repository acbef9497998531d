#pragma once

#include <string>

#include "cp932.h"
#include "error.h"
#include "log_lines.h"
#include "ranking_to_page.h"
#include "recording_view.h"

namespace junmaru::testing {

// The error message of a run to the page, in UTF-8; empty when it succeeded.
inline std::string RunFails(const LogLines& log, const Settings& settings, const std::string& out,
                            RecordingView& view, const RankingExports& exports = {}) {
  try {
    RunRankingToPage(log, settings, out, view, exports);
  } catch (const Error& e) {
    return Cp932ToUtf8(e.what());
  }
  return {};
}

}  // namespace junmaru::testing
