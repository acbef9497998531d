#include "terminal_view.h"

#include <algorithm>

#include "cp932.h"
#include "file_io.h"
#include "terminal.h"

namespace junmaru::batch {

namespace {
constexpr int kBarWidth = 40;

// A byte count as people read it: "512 B", "1.2 MB".
std::string Bytes(double n) {
  static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  int unit = 0;
  while (n >= 1024 && unit < 4) {
    n /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", n, kUnits[unit]);
  return text;
}

std::string Bar(long long percent) {
  const int filled = static_cast<int>(percent * kBarWidth / 100);
  return std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(kBarWidth - filled), '-');
}
}  // namespace

TerminalView::TerminalView(std::FILE* out, bool show_bar) : out_(out), show_bar_(show_bar) {}

TerminalView::~TerminalView() { ClearBar(); }

void TerminalView::SetStatusText(const std::string& text) {
  status_ = text;
  if (error_text_pending_) {
    error_text_pending_ = false;
    if (warned_.insert(text).second) PrintLine(text);
  }
  DrawBar();
}

void TerminalView::SetStatusColour(StatusColour colour) {
  error_colour_ = colour == StatusColour::kError;
  error_text_pending_ = error_colour_;
}

void TerminalView::SetProgress(long long progress) {
  const long long percent = std::clamp(progress, 0LL, 1000LL) / 10;
  if (percent == percent_) return;
  percent_ = percent;
  DrawBar();
}

void TerminalView::ShowMessage(const std::string& text) {
  if (warned_.insert(text).second) PrintLine(text);
}

void TerminalView::Begin(const std::string& what) {
  transferring_ = true;
  transfer_what_ = PathForMessage(what);
  transfer_start_ = transfer_drawn_ = std::chrono::steady_clock::now();
  transfer_done_ = transfer_total_ = 0;
  DrawTransferBar();
}

void TerminalView::Advance(std::uint64_t done, std::uint64_t total) {
  const auto now = std::chrono::steady_clock::now();
  const bool finished = total != 0 && done == total && transfer_done_ != done;
  transfer_done_ = done;
  transfer_total_ = total;
  // Redrawn a few times a second, and once at the end.
  if (!finished && now - transfer_drawn_ < std::chrono::milliseconds(200)) return;
  transfer_drawn_ = now;
  DrawTransferBar();
}

void TerminalView::End() {
  ClearBar();
  transferring_ = false;
}

void TerminalView::PrintLine(const std::string& cp932_text) {
  ClearBar();
  std::fprintf(out_, "%s\n", TextForStream(out_, Cp932ToUtf8(cp932_text)).c_str());
  std::fflush(out_);
  if (transferring_)
    DrawTransferBar();
  else
    DrawBar();
}

void TerminalView::ClearBar() {
  if (!bar_drawn_) return;
  std::fprintf(out_, "\r\033[K");
  std::fflush(out_);
  bar_drawn_ = false;
}

void TerminalView::DrawTransferBar() {
  if (!show_bar_) return;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - transfer_start_).count();
  const long long percent = transfer_total_ == 0 ? 0 : static_cast<long long>(transfer_done_ * 100 / transfer_total_);
  std::string amount = Bytes(static_cast<double>(transfer_done_));
  if (transfer_total_ != 0) amount += " / " + Bytes(static_cast<double>(transfer_total_));
  if (seconds > 0.2) amount += ", " + Bytes(static_cast<double>(transfer_done_) / seconds) + "/s";
  std::fprintf(out_, "\r\033[K[%s] %3lld%% %s %s", Bar(percent).c_str(), percent, amount.c_str(),
               TextForStream(out_, Cp932ToUtf8(transfer_what_)).c_str());
  std::fflush(out_);
  bar_drawn_ = true;
}

void TerminalView::DrawBar() {
  if (!show_bar_ || percent_ < 0) return;
  std::fprintf(out_, "\r\033[K[%s] %3lld%% %s", Bar(percent_).c_str(), percent_,
               TextForStream(out_, Cp932ToUtf8(status_)).c_str());
  std::fflush(out_);
  bar_drawn_ = true;
}

}  // namespace junmaru::batch
