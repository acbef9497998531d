#include "log_source.h"

#include <cstring>
#include <memory>
#include <utility>

#include "byte_buffer.h"
#include "error.h"
#include "file_io.h"
#include "gzip_inflate.h"
#include "messages.h"

namespace junmaru {
namespace {

Error NoMemory(const std::string& path) { return Error(messages::OutOfMemoryReading(PathForMessage(path))); }
Error Changed(const std::string& path) { return Error(messages::LogChanged(PathForMessage(path))); }

// Ends the text that one log added to out from start: at its first NUL,
// and with a line break.
void EndText(ByteBuffer& out, std::size_t start, const std::string& path) {
  const std::string_view text = out.view().substr(start);
  if (const void* nul = std::memchr(text.data(), '\0', text.size()))
    out.Truncate(start + static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  if (out.size() > start && out.view().back() != '\n') {
    // After a CR this makes CR LF, still one break.
    if (!out.Reserve(out.size() + 1)) throw NoMemory(path);
    *out.End() = '\n';
    out.Grow(1);
  }
}

// Appends the text of one log's bytes, plain or gzip, to out.
void AppendBytes(std::string_view bytes, const std::string& path, ByteBuffer& out, std::size_t limit) {
  const std::size_t start = out.size();
  if (IsGzip(bytes)) {
    InflateGzip(bytes, path, out, limit);
  } else {
    if (bytes.size() >= limit - std::min(limit, start) || !out.Reserve(start + bytes.size() + 1)) throw NoMemory(path);
    std::memcpy(out.End(), bytes.data(), bytes.size());
    out.Grow(bytes.size());
  }
  EndText(out, start, path);
}

// Appends the text of one file to out; a plain file is read straight in.
void AppendFile(InputFile& file, ByteBuffer& out, std::size_t limit) {
  const std::string& path = file.path();
  const std::size_t size = static_cast<std::size_t>(file.snapshot().size);
  char head[2];
  if (file.ReadAt(0, head, 2) == 2 && IsGzip({head, 2})) {
    const FileBytes gzip = file.Bytes();
    if (gzip.view().size() < size) throw Changed(path);
    AppendBytes(gzip.view(), path, out, limit);
    if (!gzip.Intact()) throw Changed(path);
    return;
  }
  const std::size_t start = out.size();
  if (size >= limit - std::min(limit, start) || !out.Reserve(start + size + 1)) throw NoMemory(path);
  if (file.ReadAt(0, out.End(), size) < size) throw Changed(path);
  out.Grow(size);
  EndText(out, start, path);
}

}  // namespace

LoadedLog LoadLogBytes(std::vector<LogInput> sources, const LoadOptions& options) {
  // Of the memory there is, an eighth is left for the run that follows the
  // load and for the system.
  const std::uint64_t free_memory = AvailableMemory();
  const std::uint64_t available = options.memory_limit ? options.memory_limit : free_memory - free_memory / 8;
  const std::size_t limit = static_cast<std::size_t>(std::min<std::uint64_t>(available, SIZE_MAX));
  // Every file is opened first, so that the set is read as it stood at
  // one moment, and a file moved away meanwhile (a rotation, which would
  // leave a gap or a doubled file in the set) is caught.
  std::vector<std::unique_ptr<InputFile>> files(sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i)
    if (!sources[i].bytes) files[i] = std::make_unique<InputFile>(sources[i].name, options.share);
  for (const auto& file : files)
    if (file && sources.size() > 1 && !SnapshotOf(file->path()).identity.SameFileAs(file->snapshot().identity))
      throw Changed(file->path());

  LoadedLog log;
  for (std::size_t i = 0; i < sources.size(); ++i)
    log.sources.push_back({sources[i].name, files[i] ? files[i]->snapshot() : FileSnapshot{}, 0});
  if (sources.size() == 1) {
    // One plain log is taken as it lies, without a copy.
    FileBytes bytes = files[0] ? files[0]->Bytes() : std::move(*sources[0].bytes);
    if (files[0] && bytes.view().size() < files[0]->snapshot().size) throw Changed(sources[0].name);
    if (!IsGzip(bytes.view())) {
      log.bytes = std::move(bytes);
      return log;
    }
    ByteBuffer out;
    AppendBytes(bytes.view(), sources[0].name, out, limit);
    if (!bytes.Intact()) throw Changed(sources[0].name);
    log.bytes = out.Release();
    return log;
  }

  ByteBuffer out;
  // Room for the plain files at once; gzip files make room as they go.
  std::size_t plain = 0;
  for (const auto& file : files)
    if (file) plain += static_cast<std::size_t>(file->snapshot().size) + 1;
  if (plain < limit) out.Reserve(plain);
  for (std::size_t i = 0; i < sources.size(); ++i) {
    log.sources[i].text_begin = out.size();
    if (files[i]) {
      AppendFile(*files[i], out, limit);
      files[i].reset();
    } else {
      AppendBytes(sources[i].bytes->view(), sources[i].name, out, limit);
    }
  }
  log.bytes = out.Release();
  return log;
}

}  // namespace junmaru
