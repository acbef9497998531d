// The Win32 file layer under Wine: what a save replaces and what it
// refuses, sharing while a log is read, paths whose code page 932
// characters end in the separator's byte, and the program's own folder.

#include <windows.h>
#undef ReplaceFile

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "code_page.h"
#include "error.h"
#include "file_bytes.h"
#include "file_messages.h"
#include "file_io.h"
#include "input_file.h"
#include "piece_writer.h"
#include "program_path.h"
#include "temp_dir.h"

namespace junmaru {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Win(const TempDir& dir, const std::string& name) { return dir.path() + "\\" + name; }

bool Refused(const std::string& path, const std::string& data) {
  try {
    ReplaceFile(path, data);
    return false;
  } catch (const Error& e) {
    return std::string(e.what()) == messages::CannotCreate(path);
  }
}

TEST(Win32ReplaceFile, NewAndExistingFilesGetTheBytesAndNoTemporaryFileStays) {
  TempDir dir;
  const std::string page = Win(dir, "ranking.html");
  ReplaceFile(page, "first");
  EXPECT_EQ(ReadBytes(page), "first");
  ReplaceFile(page, "second, longer");
  EXPECT_EQ(ReadBytes(page), "second, longer");
  EXPECT_EQ(dir.Entries(), "ranking.html");
}

// Bytes written in small pieces, several blocks in all, reach the file
// whole; a writer that throws midway leaves the old file and no temporary
// file.
TEST(Win32ReplaceFile, WriterInPiecesGivesTheWholeFileOrLeavesTheOldOne) {
  TempDir dir;
  const std::string page = Win(dir, "page.html");
  std::string data;
  for (int i = 0; data.size() < 3 * BlockSink::kBlockBytes; ++i) data += std::to_string(i) + ",";
  WriteBytes(page, "old");
  ReplaceFile(page, testing::PieceWriter(data));
  EXPECT_EQ(ReadBytes(page), data);
  EXPECT_THROW(ReplaceFile(page, testing::PieceWriter(data, 2 * BlockSink::kBlockBytes)), std::runtime_error);
  EXPECT_THROW(ReplaceFile(Win(dir, "new.html"), testing::PieceWriter(data, 0)), std::runtime_error);
  EXPECT_EQ(ReadBytes(page), data);
  EXPECT_EQ(dir.Entries(), "page.html");
}

TEST(Win32ReplaceFile, KeepsTheTargetsAttributes) {
  TempDir dir;
  const std::string page = Win(dir, "page.html");
  WriteBytes(page, "old");
  ASSERT_TRUE(SetFileAttributesA(page.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ReplaceFile(page, "new");
  EXPECT_EQ(ReadBytes(page), "new");
  EXPECT_TRUE(GetFileAttributesA(page.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// Where the folder takes no new file the page is overwritten in place.
// Saves that overlap there take turns (each holds the file locked while it
// writes), so every one goes through and the page ends as one of them
// wrote it, never a mix of two; a longer old page is cut to the new length.
TEST(Win32ReplaceFile, OverlappingInPlaceSavesTakeTurns) {
  constexpr int kSaves = 20;
  TempDir dir;
  const std::string page = Win(dir, "page.html");
  const std::vector<std::string> pages = testing::RivalPages(kSaves, 100u << 10);
  WriteBytes(page, std::string(1 << 20, 'o'));
  std::atomic<int> failed{0};
  std::vector<std::thread> saves;
  for (int i = 0; i < kSaves; ++i) {
    saves.emplace_back([&, i] {
      try {
        file_io_detail::OverwriteInPlace(page, page, testing::PieceWriter(pages[i]));
      } catch (const std::exception&) {
        ++failed;
      }
    });
  }
  for (std::thread& save : saves) save.join();
  EXPECT_EQ(failed.load(), 0);
  const std::string result = ReadBytes(page);
  EXPECT_NE(std::find(pages.begin(), pages.end(), result), pages.end()) << "a mix of saves, " << result.size() << " bytes";
  EXPECT_EQ(dir.Entries(), "page.html");
}

TEST(Win32ReplaceFile, RefusesReadOnlyFilesFoldersAndDevicesAndLeavesThem) {
  TempDir dir;
  const std::string read_only = Win(dir, "ro.html");
  WriteBytes(read_only, "kept");
  ASSERT_TRUE(SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(Refused(read_only, "new"));
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(read_only), "kept");

  const std::string folder = Win(dir, "folder");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_TRUE(Refused(folder, "new"));
  EXPECT_TRUE(Refused("NUL", "new"));
  EXPECT_TRUE(Refused(Win(dir, "missing\\page.html"), "new"));
  EXPECT_EQ(dir.Entries(), "folder ro.html");
}

TEST(Win32ReadWholeFile, RefusedWhileAWriterHasTheFileOpen) {
  TempDir dir;
  const std::string log = Win(dir, "access.log");
  WriteBytes(log, "line\r\n");
  HANDLE writer = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_THROW(ReadWholeFile(log), Error);
  CloseHandle(writer);
  EXPECT_EQ(ReadWholeFile(log), "line\r\n");
  EXPECT_THROW(ReadWholeFile("NUL"), Error);
  EXPECT_THROW(ReadWholeFile(dir.path()), Error);
}

// The window refuses a log that a program writes; the batch reads it, as
// far as it reached at the open, small (read) and large (mapped).
TEST(Win32InputFile, SharingWithWritersReadsTheLengthAtTheOpen) {
  TempDir dir;
  const std::string log = Win(dir, "access.log");
  for (std::size_t size : {std::size_t{100}, std::size_t{3} << 20}) {
    std::string bytes;
    for (int i = 0; bytes.size() < size; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    WriteBytes(log, bytes);
    HANDLE writer = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_THROW(InputFile(log, FileShare::kRefuseWriters), Error) << size;
    EXPECT_THROW(FileBytes::Load(log), Error) << size;
    InputFile file(log, FileShare::kShareWithWriters);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(writer, "more\r\n", 6, &written, nullptr));
    EXPECT_EQ(file.snapshot().size, bytes.size());
    EXPECT_TRUE(file.Bytes().view() == bytes) << size;
    CloseHandle(writer);
  }
}

TEST(Win32FileBytes, MappedLargeFileReadsAsItsBytes) {
  TempDir dir;
  const std::string log = Win(dir, "big.log");
  std::string bytes;
  for (int i = 0; bytes.size() <= (1u << 20); ++i) bytes += "line " + std::to_string(i) + "\r\n";
  WriteBytes(log, bytes);
  EXPECT_EQ(FileBytes::Load(log).view(), bytes);
  // A view keeps the file from being cut short, so it stays whole.
  FileBytes loaded = FileBytes::Load(log);
  HANDLE writer = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (writer != INVALID_HANDLE_VALUE) {
    SetFilePointer(writer, 10, nullptr, FILE_BEGIN);
    EXPECT_FALSE(SetEndOfFile(writer));
    CloseHandle(writer);
  }
  EXPECT_EQ(loaded.view(), bytes);
}

TEST(Win32Paths, SeparatorsAreFoundByCharacterNotByByte) {
  // ソ is 0x83 0x5C and 表 0x95 0x5C: their second byte is not a separator.
  const std::string so = Utf8ToCp932("ソフト表");
  struct Row {
    std::string path, folder;
  } rows[] = {
      {"C:\\logs\\access.log", "C:\\logs"},
      {"C:\\" + so + "\\access.log", "C:\\" + so},
      {so + "\\" + so, so},
      {so, "."},
      {"logs/access.log", "logs"},
      {"C:\\access.log", "C:\\"},
      {"\\access.log", "\\"},
      {"C:access.log", "C:"},
      {"\\\\server\\share\\access.log", "\\\\server\\share"},
  };
  for (const auto& row : rows) EXPECT_EQ(FolderOf(row.path), row.folder) << row.path;
  EXPECT_EQ(PathInFolder("C:\\" + so, "ranking.html"), "C:\\" + so + "\\ranking.html");
  EXPECT_EQ(PathInFolder("C:\\", "ranking.html"), "C:\\ranking.html");
  EXPECT_EQ(PathInFolder("C:", "ranking.html"), "C:ranking.html");
  EXPECT_EQ(PathInFolder("logs/", "ranking.html"), "logs/ranking.html");
}

TEST(Win32Paths, JapaneseFolderIsReadAndWritten) {
  TempDir dir;
  const std::string folder = Win(dir, Utf8ToCp932("ソフト表"));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string page = PathInFolder(folder, Utf8ToCp932("順位.html"));
  ReplaceFile(page, "page");
  EXPECT_TRUE(FileExists(page));
  EXPECT_EQ(ReadWholeFile(page), "page");
  EXPECT_EQ(FolderOf(page), folder);
}

TEST(Win32Identity, SameFileUnderTwoNamesOnlyWhenItIs) {
  TempDir dir;
  const std::string log = Win(dir, "access.log");
  const std::string other = Win(dir, "other.log");
  WriteBytes(log, "a");
  WriteBytes(other, "a");
  EXPECT_TRUE(IdentityOf(log).SameFileAs(IdentityOf(dir.path() + "/./access.log")));
  EXPECT_FALSE(IdentityOf(log).SameFileAs(IdentityOf(other)));
  EXPECT_FALSE(IdentityOf(Win(dir, "none.log")).known);
}

TEST(Win32ProgramPath, NamesThisExecutableAndItsFolder) {
  const std::string exe = ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(FileExists(exe));
  EXPECT_EQ(ProgramFolder(), FolderOf(exe));
}

}  // namespace
}  // namespace junmaru
