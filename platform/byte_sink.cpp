#include "byte_sink.h"

#include <utility>

namespace junmaru {

BlockSink::BlockSink(std::function<bool(std::string_view)> write_out) : write_out_(std::move(write_out)) {
  block_.reserve(kBlockBytes);
}

void BlockSink::Pass(std::string_view bytes) {
  if (!failed_ && !bytes.empty()) failed_ = !write_out_(bytes);
}

void BlockSink::Write(std::string_view bytes) {
  if (failed_) return;
  if (block_.size() + bytes.size() < kBlockBytes) {
    block_.append(bytes);
    return;
  }
  // Fill the block up and pass it on; a piece longer than a block goes on
  // whole rather than being copied first.
  const std::size_t fill = kBlockBytes - block_.size();
  block_.append(bytes.substr(0, fill));
  Pass(block_);
  block_.clear();
  bytes.remove_prefix(fill);
  if (bytes.size() >= kBlockBytes) Pass(bytes);
  else block_.append(bytes);
}

bool BlockSink::Finish() {
  Pass(block_);
  block_.clear();
  return !failed_;
}

}  // namespace junmaru
