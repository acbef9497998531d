// The line rules apply alike to the text list and to the log's lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "gzip_writer.h"
#include "log_lines.h"
#include "temp_dir.h"
#include "text_list.h"

namespace junmaru {
namespace {

using Lines = std::vector<std::string>;

struct LineCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

const LineCase kLineCases[] = {
    {"crlf", "a\r\nb", {"a", "b"}},
    {"lone_cr", "a\rb", {"a", "b"}},
    {"lone_lf", "a\nb", {"a", "b"}},
    {"lf_cr_is_two_breaks", "a\n\rb", {"a", "", "b"}},
    {"final_break_adds_no_line", "a\nb\n", {"a", "b"}},
    {"final_crlf_adds_no_line", "a\r\nb\r\n", {"a", "b"}},
    {"final_lf_cr_adds_one_empty_line", "a\n\r", {"a", ""}},
    {"empty_file_has_no_lines", "", {}},
    {"only_a_break_is_one_empty_line", "\n", {""}},
    {"only_crlf_is_one_empty_line", "\r\n", {""}},
    {"cr_then_crlf", "a\r\r\nb", {"a", "", "b"}},
    {"empty_lines_between", "a\n\n\nb", {"a", "", "", "b"}},
    {"nul_ends_the_text", std::string("a\nb\0c\nd", 7), {"a", "b"}},
    {"nul_first_gives_nothing", std::string("\0a\n", 3), {}},
    {"no_break_at_all", "abc", {"abc"}},
    {"mixed_endings", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
};

Lines LogLinesOf(const LogLines& log) {
  Lines lines;
  for (std::size_t i = 0; i < log.Count(); ++i) lines.emplace_back(log[i]);
  return lines;
}

TEST(LineRules, TextListAndLogLinesSplitAlike) {
  testing::TempDir dir;
  for (const auto& c : kLineCases) {
    const std::string path = dir.Write(c.name, c.bytes);
    TextList list;
    list.LoadFromFile(path);
    EXPECT_EQ(list.Items(), c.lines) << c.name;
    LogLines log;
    log.LoadFromFile(path);
    EXPECT_EQ(LogLinesOf(log), c.lines) << c.name;
  }
}

TEST(LineRules, GzippedLogSplitsAsThePlainFile) {
  testing::TempDir dir;
  for (const auto& c : kLineCases) {
    LogLines log;
    log.LoadFromFile(dir.Write(c.name, testing::Gzip(c.bytes)));
    EXPECT_EQ(LogLinesOf(log), c.lines) << c.name;
  }
}

TEST(LineRules, LineEndingVariantsGiveTheSameLines) {
  const Lines expected = {"one", "two", "three"};
  for (const char* text : {"one\ntwo\nthree\n", "one\rtwo\rthree\r", "one\r\ntwo\r\nthree\r\n", "one\ntwo\r\nthree"})
    EXPECT_EQ(LogLinesOf(LogLines::FromBytes(text)), expected) << text;
}

TEST(LineRules, FailedLoadKeepsWhatWasThere) {
  testing::TempDir dir;
  const std::string path = dir.Write("log", "first\nsecond\n");
  TextList list;
  list.LoadFromFile(path);
  LogLines log;
  log.LoadFromFile(path);
  const std::string missing = dir.File("missing.log");
  try {
    list.LoadFromFile(missing);
    FAIL() << "a missing file loads";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), Sjis("ファイル ") + missing + Sjis(" は開けません"));
  }
  EXPECT_THROW(log.LoadFromFile(missing), Error);
  EXPECT_THROW(log.LoadFromFile(dir.path()), Error) << "a folder is not a log";
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(LogLinesOf(log), (Lines{"first", "second"}));
}

TEST(LineRules, LogLineIndexOutsideTheLogFails) {
  const LogLines log = LogLines::FromBytes("a\nb\n");
  EXPECT_EQ(log.At(1), "b");
  for (long long index : {-1LL, 2LL, 1000LL}) {
    try {
      log.At(index);
      FAIL() << index;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), Sjis("リストのインデックスが範囲を超えています (") + std::to_string(index) + ")");
    }
  }
}

}  // namespace
}  // namespace junmaru
