#pragma once

// The whole GO action without a window: the ranking run, then the report
// step that composes the ranking page, saves it to save_pass, checks for
// "gage.gif" beside it and sets the last status text. A save_pass that
// leads to the loaded log (by any name or link) is refused before the run
// starts; running out of memory while the page is made or saved fails
// with a message that names the page.

#include <string>

#include "log_lines.h"
#include "run_settings.h"
#include "run_view.h"

namespace junmaru {

void RunRankingToPage(const LogLines& lines, const RunSettings& settings, const std::string& save_pass,
                      RunView& view);

}  // namespace junmaru
