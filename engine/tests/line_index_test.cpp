// The sparse line index and its reader against the plainest split that
// states the line rules: any line by random access, every line read on from
// any line, the first and the last line, and lines beyond 4 GB.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "line_index.h"
#include "log_lines.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace junmaru {
namespace {

// The rules, byte by byte: the text ends at the first NUL; CR LF, a lone CR
// and a lone LF each end a line; a break at the very end adds no line.
std::vector<std::string_view> PlainLines(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Pieces that put breaks, CR LF pairs and NULs on both sides of the 64-byte
// steps and the 4 KB blocks, lines longer than a block, and the control
// bytes below CR that are no break (tab, vertical tab, form feed).
const std::vector<std::string> kPieces = {
    "a", "\n", "\r", "\r\n", "\n\r", "\r\r\n", std::string(1, '\0'), "\x83\x0a", "\t", "\x01\x0b\x0c",
    std::string(63, 'y'), std::string(64, 'z'), std::string(1000, 'w'), std::string(5000, 'v'),
};

std::string RandomText(std::mt19937& rng, std::size_t max_pieces, bool with_nul) {
  std::uniform_int_distribution<std::size_t> count(0, max_pieces), pick(0, kPieces.size() - 1);
  std::string text;
  for (std::size_t n = count(rng); n > 0; --n) {
    const std::string& piece = kPieces[pick(rng)];
    if (with_nul || piece.find('\0') == std::string::npos) text += piece;
  }
  return text;
}

// Every way of reading the lines of bytes agrees with the plain split,
// whether the index is made in one pass or in two halves at once.
void ExpectPlainLines(std::string_view bytes, std::mt19937& rng, std::size_t bytes_for_thread) {
  const std::vector<std::string_view> expected = PlainLines(bytes);
  const LineIndex index(bytes, bytes_for_thread);
  ASSERT_EQ(index.Count(), expected.size()) << ::testing::PrintToString(std::string(bytes));
  if (expected.empty()) return;
  // The first and the last line, and every line on from the first.
  EXPECT_EQ(index.ReadFrom(bytes, 0).Next(), expected.front());
  EXPECT_EQ(index.ReadFrom(bytes, expected.size() - 1).Next(), expected.back());
  LineReader all = index.ReadFrom(bytes, 0);
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(all.Next(), expected[i]) << "line " << i;
  // Any line, in random order, and a few lines read on from it.
  std::uniform_int_distribution<std::size_t> any(0, expected.size() - 1);
  for (int n = 0; n < 40; ++n) {
    const std::size_t i = any(rng);
    LineReader reader = index.ReadFrom(bytes, i);
    for (std::size_t j = i; j < expected.size() && j < i + 3; ++j)
      ASSERT_EQ(reader.Next(), expected[j]) << "line " << j << " read on from " << i;
  }
}

TEST(LineIndex, AgreesWithThePlainSplit) {
  std::mt19937 rng(15);
  for (int i = 0; i < 3000; ++i) {
    const std::string bytes = RandomText(rng, i % 2 ? 12 : 200, i % 5 == 0);
    ExpectPlainLines(bytes, rng, i % 3 ? 1 : LineIndex::kBytesForThread);
  }
}

TEST(LineIndex, ShapesThatStrainAnIndex) {
  std::mt19937 rng(3);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"only_line_breaks", std::string(100000, '\n')},
      {"only_crlf", [] { std::string s; for (int i = 0; i < 30000; ++i) s += "\r\n"; return s; }()},
      {"one_line_of_a_megabyte", std::string(1 << 20, 'x')},
      {"long_lines_and_a_final_break", std::string(70000, 'a') + "\n" + std::string(9000, 'b') + "\n"},
      {"crlf_across_every_step", [] { std::string s; for (int i = 0; i < 5000; ++i) s += std::string(63, 'q') + "\r\n"; return s; }()},
      {"nul_after_many_lines", std::string(9000, '\n') + std::string(1, '\0') + "after\n"},
      // The halves of a two-part pass meet at byte 8192 of these.
      {"crlf_across_the_halves", std::string(8191, 'h') + "\r\n" + std::string(8191, 'i')},
      {"nul_in_the_first_half", std::string(100, '\n') + std::string(1, '\0') + std::string(16384, '\n')},
      {"nul_in_the_second_half", std::string(10000, '\n') + std::string(1, '\0') + std::string(7000, '\n')},
      {"no_break_in_the_second_half", std::string(16000, '\n') + std::string(9000, 'j')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPlainLines(c.bytes, rng, LineIndex::kBytesForThread);
    ExpectPlainLines(c.bytes, rng, 1);
  }
}

TEST(LineIndex, LogLinesReadTheSameLinesEveryWay) {
  std::mt19937 rng(8);
  const std::string bytes = RandomText(rng, 400, false) + "last";
  const std::vector<std::string_view> expected = PlainLines(bytes);
  const LogLines log = LogLines::FromBytes(bytes);
  ASSERT_EQ(log.Count(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(log[i], expected[i]) << i;
    ASSERT_EQ(log.At(static_cast<long long>(i)), expected[i]) << i;
    ASSERT_EQ(std::string_view(log.Begin(i), expected[i].size()), expected[i]) << i;
  }
}

#if defined(__linux__)
// More than 4 GB of text without the memory: the same 1,044,480 bytes of
// lines (255 pages, so that no copy ends at 4 GB) mapped again and again
// side by side.
TEST(LineIndex, LinesBeyondFourGigabytes) {
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t period = 255 * 4096;
  const std::size_t copies = (std::size_t{9} << 29) / period + 1;  // past 4.5 GB
  if (period % page != 0) GTEST_SKIP() << "page size " << page;
  std::string pattern;
  for (int n = 0; pattern.size() < period; ++n) {
    pattern += "line " + std::to_string(n) + std::string(static_cast<std::size_t>(n % 150), '.');
    pattern += n % 3 == 0 ? "\r\n" : "\n";
  }
  pattern.resize(period - 2, '-');
  pattern += "-\n";
  const std::vector<std::string_view> period_lines = PlainLines(pattern);

  const int fd = ::memfd_create("lines", 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, pattern.data(), period), static_cast<ssize_t>(period));
  const std::size_t size = period * copies;
  void* area = ::mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(area, MAP_FAILED);
  char* base = static_cast<char*>(area);
  bool mapped = true;
  for (std::size_t c = 0; c < copies && mapped; ++c)
    mapped = ::mmap(base + c * period, period, PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0) != MAP_FAILED;
  ::close(fd);
  ASSERT_TRUE(mapped);

  const std::string_view bytes(base, size);
  const LineIndex index(bytes);
  const std::size_t per = period_lines.size();
  EXPECT_EQ(index.Count(), per * copies);
  // Lines before, at and after the 4 GB mark, each where a copy puts it,
  // by random access and read on from one another; then the last line.
  const std::size_t four_gb = std::size_t{1} << 32;
  const std::size_t first = (four_gb / period) * per - 3;
  LineReader reader = index.ReadFrom(bytes, first);
  for (std::size_t i = first; i < first + 2 * per; ++i) {
    const std::string_view line = reader.Next();
    ASSERT_EQ(line, period_lines[i % per]) << "line " << i;
    if (i % 97 == 0) {
      ASSERT_EQ(index.ReadFrom(bytes, i).Next(), line) << "line " << i;
    }
  }
  EXPECT_GT(reader.Position(), four_gb + period);
  EXPECT_EQ(index.ReadFrom(bytes, index.Count() - 1).Next(), period_lines.back());
  EXPECT_EQ(static_cast<std::size_t>(index.ReadFrom(bytes, index.Count() - 1).Next().data() - base),
            size - 1 - period_lines.back().size());
  ::munmap(area, size);
}
#endif

}  // namespace
}  // namespace junmaru
