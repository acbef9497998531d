#include "terminal_view.h"

#include <algorithm>

#include "cp932.h"
#include "terminal.h"

namespace junmaru::batch {

namespace {
constexpr int kBarWidth = 40;
}

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

void TerminalView::PrintLine(const std::string& cp932_text) {
  ClearBar();
  std::fprintf(out_, "%s\n", TextForStream(out_, Cp932ToUtf8(cp932_text)).c_str());
  std::fflush(out_);
  DrawBar();
}

void TerminalView::ClearBar() {
  if (!bar_drawn_) return;
  std::fprintf(out_, "\r\033[K");
  std::fflush(out_);
  bar_drawn_ = false;
}

void TerminalView::DrawBar() {
  if (!show_bar_ || percent_ < 0) return;
  const int filled = static_cast<int>(percent_ * kBarWidth / 100);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
  std::fprintf(out_, "\r\033[K[%s] %3lld%% %s", bar.c_str(), percent_,
               TextForStream(out_, Cp932ToUtf8(status_)).c_str());
  std::fflush(out_);
  bar_drawn_ = true;
}

}  // namespace junmaru::batch
