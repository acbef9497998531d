#pragma once

// What a ranking run reports, shown on a terminal: a progress bar on stderr
// while it runs and one for each file fetched or published (bytes, rate;
// only when stderr is a terminal), and the run's warnings
// (the missing "gage.gif" notice, the log format error) as lines on stderr
// in UTF-8. Everything else the window would show has no use here.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

#include "remote.h"
#include "run_view.h"

namespace junmaru::batch {

class TerminalView : public RunView, public transfer::TransferProgress {
 public:
  // out is where the bar and the warnings go; the bar only when show_bar.
  TerminalView(std::FILE* out, bool show_bar);
  ~TerminalView() override;

  void SetStatusText(const std::string& text) override;
  void SetStatusColour(StatusColour colour) override;
  bool StatusShowsError() const override { return error_colour_; }
  void SetProgress(long long progress) override;
  void SetGaugeBackground(GaugeBackground) override {}
  void RepaintNow() override {}
  void EnableRun(bool) override {}
  void ShowMessage(const std::string& text) override;

  // what is an address as given on the command line.
  void Begin(const std::string& what) override;
  void Advance(std::uint64_t done, std::uint64_t total) override;
  void End() override;

  // A line on stderr (cp932 text, shown in UTF-8), with the bar moved
  // out of its way.
  void PrintLine(const std::string& cp932_text);
  // Takes the bar off the terminal.
  void ClearBar();

 private:
  void DrawBar();
  void DrawTransferBar();

  std::FILE* out_;
  bool show_bar_;
  bool bar_drawn_ = false;
  bool error_colour_ = false;
  // The next status text is the one that came with the error colour.
  bool error_text_pending_ = false;
  long long percent_ = -1;
  std::string status_;
  // The transfer under way: what moves, since when, and how far it is.
  bool transferring_ = false;
  std::string transfer_what_;
  std::chrono::steady_clock::time_point transfer_start_, transfer_drawn_;
  std::uint64_t transfer_done_ = 0, transfer_total_ = 0;
  // Each warning is shown once, though a run may raise it several times.
  std::set<std::string> warned_;
};

}  // namespace junmaru::batch
