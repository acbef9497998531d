#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "byte_sink.h"

namespace junmaru {

// The whole file as bytes. The file is opened for reading only, and the
// open is refused while another program holds it locked for writing.
// Only a regular file is read; a folder, FIFO or device is refused without
// waiting. Fails with "ファイル %s は開けません".
std::string ReadWholeFile(const std::string& path);

// Writes the bytes of a file, in order, into the sink it is given. A save
// may call it more than once (to count the bytes first, or to start again
// another way), and it writes the same bytes every time.
using FileWriter = std::function<void(ByteSink&)>;

// Replaces the file's contents with the bytes writer writes, all or
// nothing. They reach the file through a buffer of one block
// (BlockSink::kBlockBytes), so a writer that writes a large file a piece at
// a time needs no memory the size of the file.
//
// Symbolic links are followed, as the file's name and as folders of its
// path: the file at the end of the links is replaced and the links stay
// links (a dangling link creates its target). Two kinds of link are not
// followed, and the save is refused: for the superuser, a link that
// another user owns; for anyone, a link in a sticky folder that everyone
// may write unless it is the user's own or the folder owner's.
// The bytes go to a temporary file in that file's folder, which takes the
// old file's owner, group, mode, POSIX ACL and user.* extended attributes
// and is then renamed over it; a name with several hard links is replaced
// under this name only. Only a regular file
// or a name that does not exist yet is written; anything else, and a file
// the user may not write (or, for the superuser, one without any write
// bit), is refused and left as it was.
//
// When the folder refuses a new file but the file itself may be written,
// the file is overwritten in place; that write alone is not atomic.
// In-place writes that overlap take turns (each holds the file locked), and
// as the file itself is written, every hard-link name of it shows them.
// SIGINT, SIGTERM and SIGHUP during a save remove the temporary file before
// the program ends by that signal, and SIGXFSZ is ignored meanwhile, so an
// oversized write fails as a write.
//
// Fails with "ファイル %s を作成できません" when the file cannot be created
// or may not be written, and with "ストリームへの書き込みエラー" when the
// write falls short. An exception thrown by the writer goes on to the
// caller and leaves no temporary file; only an in-place write it breaks
// off leaves the file partly written.
void ReplaceFile(const std::string& path, const FileWriter& writer);

// The same for bytes already at hand.
void ReplaceFile(const std::string& path, std::string_view data);

// The same file, under whichever name or link it is reached.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool known = false;  // false for a name that leads to no file
  bool SameFileAs(const FileIdentity& other) const {
    return known && other.known && device == other.device && inode == other.inode;
  }
};

// The identity of the file that path leads to, links followed.
FileIdentity IdentityOf(const std::string& path);

// True when path names an existing regular file (a folder does not count).
bool FileExists(const std::string& path);

// The folder part of a path ("." when it has none), and the file name.
std::string FolderOf(const std::string& path);

// The path of name inside folder: one separator between them, none added
// when the folder already ends in one (the root "/" gives "/name").
std::string PathInFolder(const std::string& folder, const std::string& name);

// path as it may appear inside a message: code page 932 text.
std::string PathForMessage(const std::string& path);

namespace file_io_detail {
// How ReplaceFile makes its temporary file: unnamed until it is complete
// (O_TMPFILE, where the file system offers it), else named from the start.
// Tests use kNamedOnly to exercise the second way on any file system.
enum class TempFileKind { kUnnamedFirst, kNamedOnly };
void ReplaceFile(const std::string& path, const FileWriter& writer, TempFileKind kind);
// Windows: the in-place write of the file target (path names it in
// messages), which ReplaceFile makes when the folder takes no new file.
// Tests reach it here, as no folder refuses a new file under Wine.
void OverwriteInPlace(const std::string& target, const std::string& path, const FileWriter& writer);
}  // namespace file_io_detail

}  // namespace junmaru
