// Loading logs: gzip-compressed files and several files read as one.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <tuple>
#include <fstream>
#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "gzip_writer.h"
#include "log_lines.h"
#include "temp_dir.h"

namespace junmaru {
namespace {

using Lines = std::vector<std::string>;
using testing::Gzip;

Lines LinesOf(const LogLines& log) {
  Lines lines;
  for (std::size_t i = 0; i < log.Count(); ++i) lines.emplace_back(log[i]);
  return lines;
}

std::string Damaged(const std::string& path) {
  return Sjis("ファイル ") + path + Sjis(" は gzip として展開できません（壊れているか途中で切れています）");
}

// Lines of some length, numbered, so that a lost or doubled piece shows.
std::string NumberedLines(int count, const char* ending = "\r\n") {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "192.0.2.1 - - [10/Oct/2004:13:55:36 +0900] \"GET /dl/" + std::to_string(i) + ".zip HTTP/1.1\" 200 1" + ending;
  return text;
}

TEST(GzipLog, ReadsWhatTheFileHolds) {
  testing::TempDir dir;
  const std::string big = NumberedLines(60000);  // several megabytes: mapped, and many inflate steps
  struct Case {
    const char* name;
    std::string file;
    std::string text;  // read as plain, it gives the expected lines
  };
  for (const Case& c : std::vector<Case>{
           {"OneMember", Gzip("a\r\nb\r\n"), "a\r\nb\r\n"},
           {"Empty", Gzip(""), ""},
           {"Stored", Gzip("a\nb", Z_NO_COMPRESSION), "a\nb"},
           {"Large", Gzip(big), big},
           // A later member goes on the same line: concatenated .gz files
           // are one text, as zcat gives it.
           {"TwoMembers", Gzip("a\nb") + Gzip("c\nd\n"), "a\nbc\nd\n"},
           // The length field holds only the last member: the room must grow.
           {"BigMemberThenSmall", Gzip(big) + Gzip("z\n"), big + "z\n"},
           {"EmptyMemberBetween", Gzip("a\n") + Gzip("") + Gzip("b\n"), "a\nb\n"},
           {"ZeroPaddingAfterTheLastMember", Gzip("a\n") + std::string(512, '\0'), "a\n"},
           // The text ends at its first NUL: what follows is not even read.
           {"NulEndsTheTextAndWhatFollowsIsNotRead", Gzip(std::string("a\nb\0c", 5)) + "junk", "a\nb"},
       }) {
    LogLines log;
    log.LoadFromFile(dir.Write(c.name, c.file));
    EXPECT_EQ(LinesOf(log), LinesOf(LogLines::FromBytes(c.text))) << c.name;
  }
}

TEST(GzipLog, DamagedFileFailsNamingItAndKeepsTheLoadedLog) {
  testing::TempDir dir;
  const std::string good = Gzip(NumberedLines(2000));
  std::string flipped = good;
  flipped[good.size() / 2] ^= 0x55;
  std::string bad_crc = good;
  bad_crc[good.size() - 8] ^= 1;
  struct Case {
    const char* name;
    std::string file;
  };
  std::vector<Case> cases = {
      {"SignatureOnly", "\x1f\x8b"},
      {"HeaderOnly", good.substr(0, 10)},
      {"CutInTheMiddle", good.substr(0, good.size() / 2)},
      {"CutInTheTrailer", good.substr(0, good.size() - 3)},
      {"FlippedByte", flipped},
      {"WrongChecksum", bad_crc},
      {"JunkAfterTheMember", good + "junk"},
      {"SecondMemberCut", good + good.substr(0, 20)},
      {"NotDeflate", "\x1f\x8b\x07\x00\x00\x00\x00\x00\x00\x03" + std::string(20, 'x')},
  };
  LogLines log = LogLines::FromBytes("kept\n");
  for (const Case& c : cases) {
    const std::string path = dir.Write(std::string(c.name) + ".gz", c.file);
    try {
      log.LoadFromFile(path);
      ADD_FAILURE() << c.name << " loaded";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), Damaged(path)) << c.name;
    }
    EXPECT_EQ(LinesOf(log), Lines{"kept"}) << c.name;
  }
}

TEST(GzipLog, OnlyTheSignatureMakesAFileGzip) {
  testing::TempDir dir;
  for (const std::string& text : {std::string("\x1f"), std::string("\x1f\x8c\n\x8b"), std::string("\x8b\x1f\n"),
                                   std::string(" \x1f\x8b")}) {
    LogLines log;
    log.LoadFromFile(dir.Write("plain.log", text));
    EXPECT_EQ(LinesOf(log), LinesOf(LogLines::FromBytes(text)));
  }
}

// The length field holds the size modulo 4 GB; here it promises 4 MB. The
// log is taken whole all the same (the line index reaches past 4 GB).
TEST(GzipLog, MoreThanFourGigabytesDecompressedIsTakenWhole) {
  const std::uint64_t times = 4096 + 4;  // of a 1 MB chunk
  const std::size_t line_size = 1024;
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "4 GB through instrumented code takes minutes";
#endif
  if (AvailableMemory() < (times << 20) / 10 * 13) GTEST_SKIP() << "needs about 5.5 GB of free memory";
  std::string line = "192.0.2.1 - - [10/Oct/2004:13:55:36 +0900] \"GET /dl/big.zip HTTP/1.1\" 200 ";
  line.resize(line_size - 1, 'x');
  line += '\n';
  std::string chunk;
  for (std::size_t i = 0; i < (1u << 20) / line_size; ++i) chunk += line;
  testing::TempDir dir;
  const std::string path = dir.Write("huge.log.gz", testing::RepeatedGzip(chunk, times));
  LogLines log;
  log.LoadFromFile(path);
  ASSERT_EQ(log.Count(), (times << 20) / line_size);
  const std::string_view expected(line.data(), line_size - 1);
  const std::size_t past_4gb = (std::size_t{1} << 32) / line_size + 1;
  for (std::size_t i : {std::size_t{0}, past_4gb - 1, past_4gb, log.Count() - 1}) EXPECT_EQ(log[i], expected) << i;
}

// A .gz of NUL bytes is a small file that holds a huge text of nothing:
// its text ends at the first NUL, and no more is decompressed than the
// first step.
TEST(GzipLog, NulBytesEndTheTextWithoutDecompressingThem) {
  testing::TempDir dir;
  const std::string nuls = testing::RepeatedGzip(std::string(1 << 20, '\0'), 8192);  // 8 GB of NULs
  const std::string lines = Gzip("a\nb\n");
  LoadOptions small;
  small.memory_limit = 64 << 20;
  for (const auto& [name, file, expected] : std::vector<std::tuple<std::string, std::string, Lines>>{
           {"OnlyNuls", nuls, {}}, {"LinesThenNuls", lines + nuls, {"a", "b"}}}) {
    std::vector<LogInput> source;
    source.push_back(LogInput{dir.Write(name + ".gz", file), std::nullopt});
    LogLines log;
    log.LoadFromInputs(std::move(source), small);
    EXPECT_EQ(LinesOf(log), expected) << name;
  }
}

// A text larger than the memory there is fails with the message that names
// the file, before the system has to refuse the memory or end the program.
TEST(LogLoad, TextPastTheMemoryLimitFailsNamingTheFile) {
  testing::TempDir dir;
  const std::string big = NumberedLines(20000);  // about 1.4 MB
  const std::string gz = dir.Write("big.log.gz", Gzip(big)), plain = dir.Write("big.log", big);
  const std::string small = dir.Write("small.log", NumberedLines(10));
  LoadOptions limited;
  limited.memory_limit = big.size() / 2;
  for (const auto& [paths, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{gz}, gz}, {{small, gz}, gz}, {{small, plain}, plain}, {{plain, small}, plain}}) {
    std::vector<LogInput> sources;
    for (const std::string& path : paths) sources.push_back(LogInput{path, std::nullopt});
    LogLines log = LogLines::FromBytes("kept\n");
    try {
      log.LoadFromInputs(std::move(sources), limited);
      ADD_FAILURE() << named << " loaded";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), Sjis("メモリ不足のため ") + named + Sjis(" を読み込めません")) << named;
    }
    EXPECT_EQ(LinesOf(log), Lines{"kept"});
  }
  // A single plain file is mapped, not copied: no limit applies to it.
  std::vector<LogInput> source;
  source.push_back(LogInput{plain, std::nullopt});
  LogLines log;
  log.LoadFromInputs(std::move(source), limited);
  EXPECT_EQ(log.Count(), 20000u);
}

// Bytes already in memory (a fetched log) join files as a file would.
TEST(LogLoad, BytesGivenJoinTheFiles) {
  testing::TempDir dir;
  std::vector<LogInput> sources;
  sources.push_back(LogInput{dir.Write("a.log", "a\n"), std::nullopt});
  sources.push_back(LogInput{"fetched.gz", FileBytes(Gzip("b\nc"))});
  sources.push_back(LogInput{"fetched.log", FileBytes(std::string("d\0e", 3))});
  LogLines log;
  log.LoadFromInputs(std::move(sources));
  EXPECT_EQ(LinesOf(log), (Lines{"a", "b", "c", "d"}));
  ASSERT_EQ(log.Sources().size(), 3u);
  EXPECT_EQ(log.Sources()[1].path, "fetched.gz");
  EXPECT_EQ(log.SourceText(1), "b\nc\n");
  EXPECT_FALSE(log.Sources()[1].snapshot.identity.known);
}

struct JoinCase {
  const char* name;
  std::vector<std::string> files;
  Lines lines;
};

TEST(JoinedLogs, FilesFollowOneAnotherAndEachEndsALine) {
  testing::TempDir dir;
  for (const JoinCase& c : std::vector<JoinCase>{
           {"FinalBreaks", {"a\nb\n", "c\r\n", "d\r"}, {"a", "b", "c", "d"}},
           {"NoFinalBreak", {"a\r\nb", "c\n", "d"}, {"a", "b", "c", "d"}},
           {"CrLfAcrossFiles", {"a\r", "\nb"}, {"a", "", "b"}},
           {"LfCrAtTheEnd", {"a\n\r", "b"}, {"a", "", "b"}},
           {"EmptyFilesAddNothing", {"", "a\n", "", "b", ""}, {"a", "b"}},
           {"OnlyABreak", {"\n", "\n"}, {"", ""}},
           {"NulEndsItsOwnFileOnly", {std::string("a\nb\0c\n", 6), "d\n", std::string("\0e", 2), "f"},
            {"a", "b", "d", "f"}},
           {"GzipAmongPlain", {Gzip("a\nb"), "c\n", Gzip("d\r") }, {"a", "b", "c", "d"}},
           {"GzipCrThenPlainLf", {Gzip("a\r"), "\nb"}, {"a", "", "b"}},
           {"AllEmpty", {"", Gzip("")}, {}},
       }) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < c.files.size(); ++i)
      paths.push_back(dir.Write(std::string(c.name) + "." + std::to_string(i), c.files[i]));
    LogLines log;
    log.LoadFromFiles(paths);
    EXPECT_EQ(LinesOf(log), c.lines) << c.name;
  }
}

TEST(JoinedLogs, LargeFilesJoinAsTheirText) {
  testing::TempDir dir;
  const std::string first = NumberedLines(30000, "\n"), second = NumberedLines(20000, "\r");
  const std::string third = NumberedLines(10000);
  LogLines log;
  log.LoadFromFiles({dir.Write("a.gz", Gzip(first)), dir.Write("b", second), dir.Write("c", third)});
  EXPECT_EQ(LinesOf(log), LinesOf(LogLines::FromBytes(first + second + third)));
}

TEST(JoinedLogs, AnyFileFailingLeavesTheLoadedLog) {
  testing::TempDir dir;
  const std::string good = dir.Write("good", "a\n");
  const std::string bad = dir.Write("bad.gz", Gzip("b\n").substr(0, 12));
  const std::string missing = dir.File("missing");
  LogLines log = LogLines::FromBytes("kept\n");
  try {
    log.LoadFromFiles({good, missing, bad});
    ADD_FAILURE() << "a missing log loads";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), Sjis("ファイル ") + missing + Sjis(" は開けません"));
  }
  try {
    log.LoadFromFiles({good, bad});
    ADD_FAILURE() << "a damaged log loads";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), Damaged(bad));
  }
  EXPECT_EQ(LinesOf(log), Lines{"kept"});
}

// Logs already in memory (fetched from a server) join files as files do;
// messages name them by the name given, and only files are "the log".
TEST(JoinedLogs, LogsInMemoryJoinFilesUnderTheirNames) {
  testing::TempDir dir;
  const std::string file = dir.Write("access.log", "c\n");
  std::vector<LogInput> inputs;
  inputs.push_back({"sftp://host/logs/a.gz", FileBytes(Gzip("a\nb"))});
  inputs.push_back({file, std::nullopt});
  LogLines log;
  log.LoadFromInputs(std::move(inputs));
  EXPECT_EQ(LinesOf(log), (Lines{"a", "b", "c"}));
  EXPECT_TRUE(log.LoadedFrom(IdentityOf(file)));

  inputs.clear();
  inputs.push_back({"ftps://host/logs/b.gz", FileBytes(Gzip("b\n").substr(0, 12))});
  try {
    log.LoadFromInputs(std::move(inputs));
    ADD_FAILURE() << "a damaged fetched log loads";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), Damaged("ftps://host/logs/b.gz"));
  }
  EXPECT_EQ(LinesOf(log), (Lines{"a", "b", "c"}));
}

}  // namespace
}  // namespace junmaru
