#pragma once

// Every line of the loaded log, without line terminators, in the compact
// form a large log needs: the file's bytes held once, plus a sparse index
// of where its lines lie (see LineIndex), so that the lines cost almost
// nothing beyond the bytes whatever their length. Any line can be read;
// a scan reads a range of lines one after another with ReadFrom.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_bytes.h"
#include "file_io.h"
#include "line_index.h"
#include "log_source.h"

namespace junmaru {

class LogLines {
 public:
  LogLines() = default;
  // The lines of a text by the file rules (for tests and callers that
  // already hold the bytes).
  static LogLines FromBytes(std::string bytes) { return Index({FileBytes(std::move(bytes)), {LoadedSource{}}}); }

  std::size_t Count() const { return index_.Count(); }
  bool Empty() const { return Count() == 0; }

  // Line index (0-based); fails with the list index error outside the list.
  std::string_view At(long long index) const;
  // Unchecked access; index < Count().
  std::string_view operator[](std::size_t index) const { return ReadFrom(index).Next(); }

  // Where line index (< Count()) begins in memory.
  const char* Begin(std::size_t index) const {
    return bytes_.view().data() + ReadFrom(index).Position();
  }

  // Reads lines index, index + 1, ... in turn (index < Count(); each Next
  // must have a line left to read). Reading on costs no search.
  LineReader ReadFrom(std::size_t index) const { return index_.ReadFrom(bytes_.view(), index); }

  // Replaces the lines with those of the file, decompressed when it is
  // gzip; on failure nothing changes. Fails with "ファイル %s は開けません"
  // or a message that names the file (damaged gzip, memory).
  void LoadFromFile(const std::string& path);
  // The same for several logs read as one, in the order given: line
  // numbers run on across them and the end of a file ends a line.
  void LoadFromFiles(const std::vector<std::string>& paths);
  // The same for logs of which some may be in memory already (fetched),
  // as LoadLogBytes reads them: messages name each by its name; only the
  // files count for LoadedFrom.
  void LoadFromInputs(std::vector<LogInput> inputs, const LoadOptions& options = {});

  // The logs the lines were loaded from, in order (one without a name for
  // lines made from bytes).
  const std::vector<LoadedSource>& Sources() const { return sources_; }
  // Source i's text: its lines with their breaks.
  std::string_view SourceText(std::size_t i) const;

  // True when file is one the lines were loaded from, under whichever
  // name (never for lines made from bytes): a page must never be saved
  // over it.
  bool LoadedFrom(const FileIdentity& file) const;

  // Fails with the changed-log message naming the file when the lines
  // read from a mapped file are no longer what it held (another program
  // cut it short since the load); a run asks after its scan.
  void CheckUnchanged() const;

 private:
  static LogLines Index(LoadedLog log);

  FileBytes bytes_;
  LineIndex index_;
  std::vector<LoadedSource> sources_;
};

}  // namespace junmaru
