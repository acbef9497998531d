#pragma once

// The downloaders of each file: how many distinct clients its counted
// downloads came from, exactly. Files are the tally's entries, by number.
//
// The scan only writes each download down, one after the other (a set of
// every client and file met would miss the cache on almost every line);
// the few files the page shows are counted once the ranking is known.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "client_identity.h"

namespace junmaru {

class FileClients {
 public:
  // Room for this many downloads, so that the notes are not moved as they grow.
  void Reserve(std::size_t downloads) { downloads_.reserve(downloads); }
  // Notes a counted download of file by client.
  void Add(ClientKey client, std::uint32_t file) { downloads_.push_back({client, file}); }

  // The number of distinct clients of each of files, in their order.
  std::vector<std::int64_t> Count(const std::vector<std::uint32_t>& files) const;

 private:
  struct Download {
    ClientKey client;
    std::uint32_t file;
  };
  std::vector<Download> downloads_;
};

}  // namespace junmaru
