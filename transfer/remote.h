#pragma once

// The small interface behind which logs are fetched and pages published,
// so that the run and most tests need no network: CurlRemote speaks to real
// servers, tests give a folder of their own. Every operation either does
// all it says or throws Error with the system's message naming the
// address (never a password).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "remote_url.h"

namespace junmaru::transfer {

// Watches one transfer at a time. The caller names it (what, the address
// as messages show it); the Remote reports the bytes as they move.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  virtual void Begin(const std::string& what) = 0;
  // Bytes moved so far, of total (0 while the total is unknown).
  virtual void Advance(std::uint64_t done, std::uint64_t total) = 0;
  virtual void End() = 0;
};

// Begin on construction, End when the transfer is over, however it ends.
class ProgressScope {
 public:
  ProgressScope(TransferProgress& progress, const std::string& what) : progress_(progress) { progress_.Begin(what); }
  ~ProgressScope() { progress_.End(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  TransferProgress& progress_;
};

class Remote {
 public:
  virtual ~Remote() = default;
  // The file's bytes.
  virtual std::string Fetch(const RemoteUrl& file, TransferProgress& progress) = 0;
  // The names of the files in the folder, in the server's order.
  virtual std::vector<std::string> List(const RemoteUrl& folder) = 0;
  // Writes bytes as the file (created, or replaced in place); messages name
  // the file as shown_as (the page, rather than its temporary name).
  virtual void Upload(const RemoteUrl& file, const RemoteUrl& shown_as, std::string_view bytes,
                      TransferProgress& progress) = 0;
  // Renames the folder's file from to name to, replacing a file of that
  // name; messages name the file to.
  virtual void Rename(const RemoteUrl& folder, const std::string& from, const std::string& to) = 0;
  // Removes the folder's file name.
  virtual void Remove(const RemoteUrl& folder, const std::string& name) = 0;
};

}  // namespace junmaru::transfer
