#pragma once

#include <string>
#include <string_view>

namespace junmaru {

// The whole file as bytes. The file is opened for reading only, and the
// open is refused while another program holds it locked for writing.
// Only a regular file is read; a folder, FIFO or device is refused without
// waiting. Fails with "ファイル %s は開けません".
std::string ReadWholeFile(const std::string& path);

// Replaces the file's contents with data, all or nothing: the bytes go to
// a temporary file beside it, which is then renamed over the target, so a
// failed save leaves the old file as it was. Fails with
// "ファイル %s を作成できません" when the file cannot be created and with
// "ストリームへの書き込みエラー" when the write falls short.
void ReplaceFile(const std::string& path, std::string_view data);

// True when path names an existing regular file (a folder does not count).
bool FileExists(const std::string& path);

// The folder part of a path ("." when it has none), and the file name.
std::string FolderOf(const std::string& path);

// The path of name inside folder: one separator between them, none added
// when the folder already ends in one (the root "/" gives "/name").
std::string PathInFolder(const std::string& folder, const std::string& name);

// path as it may appear inside a message: code page 932 text.
std::string PathForMessage(const std::string& path);

}  // namespace junmaru
