#pragma once

// The ranking page: its frame of fixed lines around the rows, the bytes of
// the saved file, and what follows the save.

#include <string>
#include <vector>

#include "byte_sink.h"
#include "log_lines.h"
#include "page_line.h"
#include "ranking_run.h"
#include "run_settings.h"
#include "run_view.h"

namespace junmaru {

// The page's lines in file order: head, heading with the period, note,
// then either the no-data line or the caption, table head, rows and table
// end, then the footer. Reads the two dates of the range (first and last
// line, asked twice in that order) and moves the gauge from 950 to 1000.
// The dates come from the log and are escaped; the colours are written as
// the keeper typed them, escaped and without control bytes. The rows hold
// the ranking's paths as views, escaped only as the page is written.
std::vector<PageLine> ComposeReport(const LogLines& lines, const RunSettings& settings, const Ranking& ranking,
                                    RunView& view);

// Writes the file's bytes: every line followed by CR LF, the last one
// included.
void WriteReport(const std::vector<PageLine>& report_lines, ByteSink& sink);

// The file's bytes as one string.
std::string ReportBytes(const std::vector<PageLine>& report_lines);

// Saves the page whole, writing it a block at a time: a failed save leaves
// the previous file as it was. Fails with "ファイル %s を作成できません" or
// "ストリームへの書き込みエラー".
void SaveReport(const std::vector<PageLine>& report_lines, const std::string& save_pass);

// Where the page of a log goes unless the keeper chooses another file:
// "ranking.html" in the log's folder ("/ranking.html" for a log in "/").
std::string ReportPathFor(const std::string& log_path);

// Tells the keeper, through one message box, when no "gage.gif" lies in
// the folder of save_pass (a folder of that name does not count).
void CheckGaugeImage(const std::string& save_pass, RunView& view);

}  // namespace junmaru
