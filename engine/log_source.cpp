#include "log_source.h"

#include <cstring>
#include <utility>

#include "byte_buffer.h"
#include "error.h"
#include "file_io.h"
#include "gzip_inflate.h"
#include "messages.h"

namespace junmaru {
namespace {

// Appends the text of one file, loaded as it lies, to out, ending its last
// line; the file's own bytes are let go before the next file comes in.
void AppendLog(FileBytes file, const std::string& path, ByteBuffer& out) {
  const std::size_t start = out.size();
  {
    const FileBytes taken = std::move(file);
    const std::string_view bytes = taken.view();
    if (IsGzip(bytes)) {
      InflateGzip(bytes, path, out);
    } else {
      if (!out.Reserve(start + bytes.size() + 1)) throw Error(messages::OutOfMemoryReading(PathForMessage(path)));
      std::memcpy(out.End(), bytes.data(), bytes.size());
      out.Grow(bytes.size());
    }
  }
  const std::string_view text = out.view().substr(start);
  if (const void* nul = std::memchr(text.data(), '\0', text.size()))
    out.Truncate(start + static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  if (out.size() > start && out.view().back() != '\n') {
    // After a CR this makes CR LF, still one break.
    if (!out.Reserve(out.size() + 1)) throw Error(messages::OutOfMemoryReading(PathForMessage(path)));
    *out.End() = '\n';
    out.Grow(1);
  }
}

}  // namespace

FileBytes LoadLogBytes(std::vector<LogInput> inputs) {
  ByteBuffer out;
  for (LogInput& input : inputs) {
    FileBytes file = input.bytes ? std::move(*input.bytes) : FileBytes::Load(input.name);
    if (inputs.size() == 1 && !IsGzip(file.view())) return file;
    AppendLog(std::move(file), input.name, out);
  }
  return out.Release();
}

}  // namespace junmaru
