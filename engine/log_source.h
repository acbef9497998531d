#pragma once

// Where the log's bytes come from before they are split into lines: one
// file or several read as one, each plain or gzip-compressed, or bytes
// already in memory (a log fetched from elsewhere).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "input_file.h"

namespace junmaru {

// One log of a joined set: a file to read, or bytes already in memory (a
// log fetched from a server), with the name messages give it.
struct LogInput {
  std::string name;                // the file's path, or what the bytes came from
  std::optional<FileBytes> bytes;  // when absent, the file at name is read
};

struct LoadOptions {
  FileShare share = FileShare::kRefuseWriters;
  // The most bytes the joined or decompressed text may take; 0 means seven
  // eighths of what the machine has available when the load begins
  // (AvailableMemory), the rest being left for the run and the system.
  std::uint64_t memory_limit = 0;
};

// One log of a load, as it was read.
struct LoadedSource {
  std::string path;
  FileSnapshot snapshot;       // at the open; an unknown identity for bytes given
  std::size_t text_begin = 0;  // where its text begins in the loaded text
};

struct LoadedLog {
  FileBytes bytes;
  std::vector<LoadedSource> sources;
};

// The text of the logs, in the order given, as one text with the same
// lines as the logs' lines one after another:
// - a log whose bytes begin with the gzip signature is decompressed;
// - each log's text ends at its own first NUL byte, and the end of a log
//   ends its last line (a break is added where it has none, so a CR at
//   the end of one and an LF at the start of the next stay two breaks);
// - a file is read as far as it reached when it was opened; every file is
//   opened before any is read;
// - a single plain file is mapped or read as it is, without a copy;
//   several are read straight into the joined text, so that the load
//   takes no more memory than that text and the largest .gz file.
// Fails with "ファイル %s は開けません", the damaged-gzip message, the
// memory message (also when the text would take more than the memory
// limit), or the changed-log message for a file cut short or replaced
// while it was opened and read, each naming the file; nothing is kept then.
LoadedLog LoadLogBytes(std::vector<LogInput> inputs, const LoadOptions& options = {});

}  // namespace junmaru
