#pragma once

// The ranking page: its frame of fixed lines around the rows, and the bytes
// of the page's file.

#include <vector>

#include "byte_sink.h"
#include "log_lines.h"
#include "page_line.h"
#include "ranking_run.h"
#include "run_view.h"
#include "settings.h"

namespace junmaru {

// The page's lines in file order: head, heading with the period, note,
// then either the no-data line or the caption, table head, rows and table
// end, then the footer. Reads the two dates of the range (first and last
// line, asked twice in that order) and moves the gauge from 950 to 1000.
// The dates come from the log and are escaped; the colours are written as
// the keeper typed them, escaped and without control bytes. The rows hold
// the ranking's paths as views, escaped only as the page is written.
std::vector<PageLine> ComposeReport(const LogLines& lines, const Settings& settings, const Ranking& ranking,
                                    RunView& view);

// Writes the file's bytes: every line followed by CR LF, the last one
// included.
void WriteReport(const std::vector<PageLine>& report_lines, ByteSink& sink);

}  // namespace junmaru
