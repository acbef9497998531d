#pragma once

// Where the log's bytes come from before they are split into lines: one
// file or several read as one, each plain or gzip-compressed.

#include <optional>
#include <string>
#include <vector>

#include "file_bytes.h"

namespace junmaru {

// One log of a joined set: a file to read, or bytes already in memory (a
// log fetched from a server), with the name messages give it.
struct LogInput {
  std::string name;                // the file's path, or what the bytes came from
  std::optional<FileBytes> bytes;  // when absent, the file at name is read
};

// The bytes of the logs, in the order given, as one text with the
// same lines as the files' lines one after another:
// - a file whose contents begin with the gzip signature is decompressed;
// - each file's text ends at its own first NUL byte, and the end of a file
//   ends its last line (a break is added where the file has none, so a CR
//   at the end of one file and an LF at the start of the next stay two
//   breaks);
// - a single plain file is mapped or read as it is, without a copy.
// Fails with "ファイル %s は開けません", the damaged-gzip message or the
// memory message, each naming the file; nothing is kept then.
FileBytes LoadLogBytes(std::vector<LogInput> inputs);

}  // namespace junmaru
