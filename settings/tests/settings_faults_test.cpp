// The settings file in bad shape: read-only, unreadable, empty, binary,
// on a full disk, or holding 100,000 exclusion words. Reading never fails
// and gives defaults for what it cannot use; writing either goes through
// whole or fails with "%s に書き込めません" and leaves the file as it was.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "isolated_child.h"
#include "profile_file.h"
#include "settings_file.h"
#include "settings.h"
#include "temp_folder.h"

namespace junmaru {
namespace {

using testing::ReadBytes;
using testing::ReadSettingsFile;
using testing::WriteSettingsFile;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kStored = "[Ranking]\r\nTopCount=30\r\n[HTML]\r\nPrefix=/dl/\r\n[KinsiWord]\r\nbeta=OK\r\n";

std::string CannotWrite(const std::string& path) { return Utf8ToCp932(path) + Sjis(" に書き込めません"); }

// The record the stored file above gives.
Settings StoredSettings() {
  Settings s;
  s.TopCount = 30;
  s.Prefix = "/dl/";
  s.KinsiWord = {"beta"};
  return s;
}

// What writing the settings said ("" when it went through).
std::string WriteMessage(const std::string& path, const Settings& s) {
  try {
    WriteSettingsFile(path, s);
  } catch (const Error& e) {
    return e.what();
  }
  return {};
}

bool SameValues(const Settings& a, const Settings& b) {
  return a.ReadPass == b.ReadPass && a.SavePass == b.SavePass && a.TopCount == b.TopCount && a.Prefix == b.Prefix &&
         a.FontSize == b.FontSize && a.NameMax == b.NameMax && a.Link == b.Link && a.CBG == b.CBG &&
         a.Families == b.Families && a.KinsiWord == b.KinsiWord;
}

// File modes do not stop root: each case runs as an unprivileged user in a
// child, and reports what it read, what writing said, and the file after.
TEST(SettingsFaults, PermissionsDecideWhetherTheWriteGoesThrough) {
  struct Case {
    const char* name;
    mode_t file_mode;
    bool folder_writable;
    bool reads_stored;  // else the defaults
    bool write_goes_through;
  };
  for (const Case& c : std::vector<Case>{
           // A read-only file is kept as it is, though its folder would
           // let it be replaced; a writable file in a folder that takes
           // no new file is written in place.
           {"ReadOnlyFile", 0444, true, true, false},
           {"ReadOnlyFolder", 0644, false, true, true},
           // A file that cannot be read is never replaced by the writes
           // alone, or everything else in it would be lost.
           {"UnreadableFile", 0000, true, false, false},
           {"UnreadableFileInReadOnlyFolder", 0000, false, false, false},
       }) {
    TempFolder folder;
    const std::string path = folder.Path("junmaru_setting.ini");
    WriteBytes(path, kStored);
    const std::string dir = std::filesystem::path(path).parent_path();
    ASSERT_EQ(::chown(path.c_str(), testing::kNobody, testing::kNobody), 0);
    ASSERT_EQ(::chmod(path.c_str(), c.file_mode), 0);
    if (c.folder_writable) {
      ASSERT_EQ(::chown(dir.c_str(), testing::kNobody, testing::kNobody), 0);
    }
    ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);

    Settings changed = StoredSettings();
    changed.TopCount = 500;
    changed.KinsiWord = {"beta", "gamma"};
    auto outcome = testing::InChild([&]() -> std::string {
      if (!testing::DropToNobody()) return "cannot drop privileges";
      const bool stored = SameValues(ReadSettingsFile(path), StoredSettings());
      const bool defaults = SameValues(ReadSettingsFile(path), [] {
        Settings d;
        d.KinsiWord = ExampleWords();
        return d;
      }());
      return std::string(stored ? "stored" : defaults ? "defaults" : "other") + "|" + WriteMessage(path, changed);
    });
    ASSERT_EQ(outcome.how, "") << c.name;
    EXPECT_EQ(outcome.text, std::string(c.reads_stored ? "stored" : "defaults") + "|" +
                                (c.write_goes_through ? "" : CannotWrite(path)))
        << c.name;
    if (c.write_goes_through) {
      EXPECT_TRUE(SameValues(ReadSettingsFile(path), changed)) << c.name;
      struct stat st;
      ASSERT_EQ(::stat(path.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, c.file_mode) << c.name;
    } else {
      EXPECT_EQ(ReadBytes(path), kStored) << c.name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << c.name << ": temporary file left";
  }
}

TEST(SettingsFaults, EmptyOrBinaryFileReadsAsDefaultsAndTakesTheWrite) {
  std::mt19937 random(11);
  std::string binary(64 << 10, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  std::string binary_with_sections = binary;
  binary_with_sections.insert(20000, "\r\n[KinsiWord]\r\n\x83=OK\r\n\x83");
  struct Case {
    const char* name;
    std::string bytes;
  };
  for (const Case& c : std::vector<Case>{
           {"Empty", ""},
           {"OnlyLineBreaks", "\r\n\n\r\r\n"},
           {"NulBytes", std::string(4096, '\0')},
           {"Binary", binary},
           {"BinaryAroundASection", binary_with_sections},
           {"SectionLinesWithoutEnd", "[KinsiWord\r\n[HTML\r\nPrefix=x\r\n[\x83]\r\n"},
       }) {
    TempFolder folder;
    const std::string path = folder.Path("junmaru_setting.ini");
    WriteBytes(path, c.bytes);
    Settings read = ReadSettingsFile(path);  // must not fail; values are whatever the bytes hold
    Settings changed = StoredSettings();
    changed.KinsiWord = {"gamma"};
    EXPECT_EQ(WriteMessage(path, changed), "") << c.name;
    Settings back = ReadSettingsFile(path);
    EXPECT_EQ(back.TopCount, 30) << c.name;
    EXPECT_EQ(back.Prefix, "/dl/") << c.name;
    EXPECT_EQ(ProfileFile(path).ReadString("KinsiWord", "gamma", ""), "OK") << c.name;
    // Writing again changes nothing more: the file settled after one write.
    const std::string once = *ReadBytes(path);
    EXPECT_EQ(WriteMessage(path, changed), "") << c.name;
    EXPECT_EQ(*ReadBytes(path), once) << c.name;
  }
}

// 100,000 exclusion words: reading takes the first that fit in the
// 16384-byte key list (the last one cut), quickly; writing the words back
// keeps every stored word and goes through whole.
TEST(SettingsFaults, HundredThousandExclusionWords) {
  TempFolder folder;
  const std::string path = folder.Path("junmaru_setting.ini");
  std::string bytes = "[Ranking]\r\nTopCount=30\r\n[KinsiWord]\r\n";
  std::vector<std::string> words;
  for (int i = 0; i < 100000; ++i) {
    char word[16];
    std::snprintf(word, sizeof word, "word%06d", i);  // ten bytes, eleven in the key list
    words.push_back(word);
    bytes += std::string(word) + "=OK\r\n";
  }
  WriteBytes(path, bytes);

  const auto start = std::chrono::steady_clock::now();
  Settings s = ReadSettingsFile(path);
  // 16384 = 1489 * 11 + 5: 1489 whole words, then four bytes of the next.
  ASSERT_EQ(s.KinsiWord.size(), 1490u);
  EXPECT_EQ(s.KinsiWord.front(), words[0]);
  EXPECT_EQ(s.KinsiWord[1488], words[1488]);
  EXPECT_EQ(s.KinsiWord.back(), "word");

  s.TopCount = 20;
  EXPECT_EQ(WriteMessage(path, s), "");
  const std::string after = *ReadBytes(path);
  EXPECT_NE(after.find("word099999=OK\r\n"), std::string::npos);
  EXPECT_EQ(after.find("TopCount=30"), std::string::npos);
  // Every stored word is still there, in order; the cut word is a word of
  // its own now, stored after the others.
  EXPECT_NE(after.find(bytes.substr(bytes.find("[KinsiWord]")) + "word=OK\r\n"), std::string::npos);
  Settings again = ReadSettingsFile(path);
  EXPECT_EQ(again.TopCount, 20);
  EXPECT_EQ(again.KinsiWord, s.KinsiWord);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 30);
}

// One word longer than the whole key list: the key list holds its first
// 16383 bytes, and the word is the first 4096 of them, as the memo reads it.
TEST(SettingsFaults, ExclusionWordLongerThanTheKeyList) {
  TempFolder folder;
  const std::string path = folder.Path("junmaru_setting.ini");
  WriteBytes(path, "[KinsiWord]\r\n" + std::string(100000, 'k') + "=OK\r\nnext=OK\r\n");
  Settings s = ReadSettingsFile(path);
  EXPECT_EQ(s.KinsiWord, std::vector<std::string>{std::string(4096, 'k')});
  EXPECT_EQ(WriteMessage(path, s), "");
}

// On a full disk the write fails and the old file stays byte for byte.
TEST(SettingsFaults, FullFileSystemKeepsTheOldFile) {
  TempFolder folder;
  const std::string path = folder.Path("junmaru_setting.ini");
  const std::string dir = std::filesystem::path(path).parent_path();
  auto outcome = testing::InChild([&]() -> std::string {
    std::string how = "tmpfs";
    if (!testing::MountSmallTmpfs(dir, "64k")) {
      if (!testing::LimitFileSize(kStored.size())) return "no way to fill a disk";
      how = "limit";
    }
    WriteBytes(path, kStored);
    if (how == "tmpfs") {
      const int fd = ::open((dir + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
      while (::write(fd, "ffffffffffffffff", 16) > 0) {
      }
      ::close(fd);
    }
    Settings changed = StoredSettings();
    changed.TopCount = 500;
    const std::string message = WriteMessage(path, changed);
    return message + "|" + (*ReadBytes(path) == kStored ? "intact" : "changed");
  });
  ASSERT_EQ(outcome.how, "");
  EXPECT_EQ(outcome.text, CannotWrite(path) + "|intact");
}

}  // namespace
}  // namespace junmaru
