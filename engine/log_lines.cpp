#include "log_lines.h"

#include "error.h"
#include "log_source.h"
#include "messages.h"

namespace junmaru {

LogLines LogLines::Index(FileBytes bytes) {
  LogLines lines;
  lines.bytes_ = std::move(bytes);
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

void LogLines::LoadFromInputs(std::vector<LogInput> inputs) {
  std::vector<std::string> files;
  for (const LogInput& input : inputs)
    if (!input.bytes) files.push_back(input.name);
  LogLines loaded = Index(LoadLogBytes(std::move(inputs)));
  for (const std::string& path : files) loaded.sources_.push_back(IdentityOf(path));
  *this = std::move(loaded);
}

bool LogLines::LoadedFrom(const FileIdentity& file) const {
  for (const FileIdentity& source : sources_)
    if (source.SameFileAs(file)) return true;
  return false;
}

}  // namespace junmaru
