#include "log_lines.h"

#include "error.h"
#include "messages.h"

namespace junmaru {

LogLines LogLines::Index(LoadedLog log) {
  LogLines lines;
  lines.bytes_ = std::move(log.bytes);
  lines.sources_ = std::move(log.sources);
  lines.index_ = LineIndex(lines.bytes_.view());
  return lines;
}

std::string_view LogLines::At(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) >= Count())
    throw Error(messages::ListIndexOutOfRange(index));
  return (*this)[static_cast<std::size_t>(index)];
}

void LogLines::LoadFromFile(const std::string& path) { LoadFromFiles({path}); }

void LogLines::LoadFromFiles(const std::vector<std::string>& paths) {
  std::vector<LogInput> inputs;
  for (const std::string& path : paths) inputs.push_back({path, std::nullopt});
  LoadFromInputs(std::move(inputs));
}

void LogLines::LoadFromInputs(std::vector<LogInput> inputs, const LoadOptions& options) {
  LogLines loaded = Index(LoadLogBytes(std::move(inputs), options));
  loaded.CheckUnchanged();
  *this = std::move(loaded);
}

std::string_view LogLines::SourceText(std::size_t i) const {
  const std::size_t text_size = index_.TextSize();
  const std::size_t begin = std::min(sources_[i].text_begin, text_size);
  const std::size_t end = i + 1 < sources_.size() ? std::min(sources_[i + 1].text_begin, text_size) : text_size;
  return bytes_.view().substr(begin, end - begin);
}

bool LogLines::LoadedFrom(const FileIdentity& file) const {
  for (const LoadedSource& source : sources_)
    if (source.snapshot.identity.SameFileAs(file)) return true;
  return false;
}

void LogLines::CheckUnchanged() const {
  // Only a mapped file can change under the lines: every other text is a
  // copy of its own.
  if (!bytes_.Mapped()) return;
  const LoadedSource& source = sources_.front();
  const FileSnapshot now = SnapshotOf(source.path);
  if (!bytes_.Intact() || (now.identity.SameFileAs(source.snapshot.identity) && now.size < source.snapshot.size))
    throw Error(messages::LogChanged(PathForMessage(source.path)));
}

}  // namespace junmaru
