#pragma once

// The download paths of a range of log lines, handed over in line order.
// On a large range the lines are read and their paths cut out on a second
// thread, ahead of the caller, which filters and counts them: the two
// halves of the work take about as long each, so they overlap. The
// hand-over goes through a few batches of fixed size, so memory does not
// grow with the log.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "log_lines.h"
#include "request_filter.h"

namespace junmaru {

// What a line gives: RequestFilter::DownloadPath of it.
using LinePath = std::optional<std::string_view>;

struct LinePathsOptions {
  std::size_t batch_lines = 4096;          // lines per hand-over
  std::size_t lines_for_thread = 1 << 18;  // shorter ranges stay on the calling thread
};

// Calls on_batch(paths, n) on the calling thread with the download paths of lines
// first, first + 1, ..., first + count - 1 (all inside lines), in order,
// n at a time. An exception from on_batch stops the reading and leaves
// this function once the second thread has ended.
void ForEachLinePath(const LogLines& lines, std::size_t first, std::size_t count,
                     const std::function<void(const LinePath* paths, std::size_t n)>& on_batch,
                     const LinePathsOptions& options = {});

}  // namespace junmaru
