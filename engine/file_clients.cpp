#include "file_clients.h"

#include <algorithm>
#include <future>
#include <limits>
#include <system_error>
#include <thread>

namespace junmaru {
namespace {

constexpr std::size_t kClientsForThread = 1 << 18;  // fewer are sorted on one thread

}  // namespace

std::vector<std::int64_t> FileClients::Count(const std::vector<std::uint32_t>& files) const {
  // Each file's place in files; files are the tally's entries, numbered densely.
  constexpr std::uint32_t kNotShown = std::numeric_limits<std::uint32_t>::max();
  std::uint32_t last_file = 0;
  for (std::uint32_t file : files) last_file = std::max(last_file, file);
  std::vector<std::uint32_t> place_of(files.empty() ? 0 : std::size_t{last_file} + 1, kNotShown);
  for (std::uint32_t place = 0; place < files.size(); ++place) place_of[files[place]] = place;
  const auto place_of_download = [&](const Download& download) {
    return download.file < place_of.size() ? place_of[download.file] : kNotShown;
  };

  // The clients of those files' downloads, gathered place by place, so that
  // each place's clients are sorted apart, in the cache.
  std::vector<std::size_t> start(files.size() + 1, 0);
  for (const Download& download : downloads_)
    if (const std::uint32_t place = place_of_download(download); place != kNotShown) ++start[place + 1];
  for (std::size_t place = 0; place < files.size(); ++place) start[place + 1] += start[place];
  std::vector<std::uint64_t> clients(start.back());
  std::vector<std::size_t> next(start.begin(), start.end() - 1);
  for (const Download& download : downloads_)
    if (const std::uint32_t place = place_of_download(download); place != kNotShown)
      clients[next[place]++] = std::uint64_t{download.client.address} << 32 | download.client.agent;

  std::vector<std::int64_t> counts(files.size(), 0);
  const auto count_places = [&](std::size_t from, std::size_t to) {
    for (std::size_t place = from; place < to; ++place) {
      const auto first = clients.begin() + static_cast<std::ptrdiff_t>(start[place]);
      const auto last = clients.begin() + static_cast<std::ptrdiff_t>(start[place + 1]);
      std::sort(first, last);
      counts[place] = std::unique(first, last) - first;
    }
  };
  // Many clients are sorted in two parts at once, split between places
  // where half of them lie; the later places go to a second thread.
  std::size_t split = files.size();
  std::future<void> later;
  if (clients.size() >= kClientsForThread && std::thread::hardware_concurrency() > 1) {
    split = static_cast<std::size_t>(std::lower_bound(start.begin(), start.end() - 1, clients.size() / 2) - start.begin());
    try {
      later = std::async(std::launch::async, count_places, split, files.size());
    } catch (const std::system_error&) {
      split = files.size();  // no second thread to be had: all are sorted here
    }
  }
  count_places(0, split);
  if (later.valid()) later.get();
  return counts;
}

}  // namespace junmaru
