// The profile-file rules: what a file's text reads as, what a write makes
// of it, the key list, and how failures surface.

#include "profile_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <optional>
#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#ifndef _WIN32
#include "isolated_child.h"
#endif
#include "native_name.h"
#include "temp_folder.h"
#include "text_list.h"

namespace junmaru {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using namespace std::string_literals;

// ---- Reading texts --------------------------------------------------------

struct ReadCase {
  const char* name;
  std::string file;  // file bytes
  std::string section, key;
  std::string expected;  // "<default>" is the default passed
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadStringTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadStringTest, ValueOrDefault) {
  const ReadCase& c = GetParam();
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, c.file);
  EXPECT_EQ(ProfileFile(path).ReadString(c.section, c.key, "<default>"), c.expected);
}

const std::string kLongValue(3000, 'v');

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadStringTest,
    ::testing::Values(
        ReadCase{"Plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"SectionCaseIgnored", "[html]\r\nPrefix=x\r\n", "HTML", "Prefix", "x"},
        ReadCase{"KeyCaseIgnored", "[S]\r\nKEY=v\r\n", "S", "key", "v"},
        ReadCase{"FullWidthCaseIgnored", "[S]\r\n" + Sjis("ＡＢＣ") + "=v\r\n", "S", Sjis("ａｂｃ"), "v"},
        /* ア is 83 41, ヂ is 83 61: only the second bytes differ, by ASCII case. */
        ReadCase{"TrailByteNotCaseFolded", "[S]\r\n" + Sjis("ア") + "=v\r\n", "S", Sjis("ヂ"), "<default>"},
        ReadCase{"FirstEqualsSplits", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        ReadCase{"BlanksTrimmed", "[S]\r\n \t k \t=  v w \t\r\n", "S", "k", "v w"},
        ReadCase{"DoubleQuotesRemoved", "[S]\r\nk=\"  v \"\r\n", "S", "k", "  v "},
        ReadCase{"SingleQuotesRemoved", "[S]\r\nk='v'\r\n", "S", "k", "v"},
        ReadCase{"OnlyOnePairRemoved", "[S]\r\nk=\"\"v\"\"\r\n", "S", "k", "\"v\""},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"v'\r\n", "S", "k", "\"v'"},
        ReadCase{"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        ReadCase{"EmptyValueIsNotMissing", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"MissingKey", "[S]\r\nk=v\r\n", "S", "x", "<default>"},
        ReadCase{"MissingSection", "[S]\r\nk=v\r\n", "T", "k", "<default>"},
        ReadCase{"EntryBeforeFirstSectionBelongsToNone", "k=v\r\n[S]\r\n", "S", "k", "<default>"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\r\nk\r\n", "S", "k", "<default>"},
        ReadCase{"FirstOfDuplicateKeys", "[S]\r\nK=1\r\nk=2\r\n", "S", "k", "1"},
        ReadCase{"DuplicateSectionsAreOne", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2\r\n", "S", "b", "2"},
        ReadCase{"SectionNameTrimmed", "[ S ]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"TextAfterSectionBracket", "[S] ;note\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"BracketAsSecondByteIsNoEnd", "[" + Sjis("‐") + "]\r\nk=v\r\n", Sjis("‐"), "k", "v"},
        ReadCase{"BracketedKeyIsNoSection", "[S]\r\n[a]b=OK\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"LfOnly", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"LoneCr", "[S]\rk=v", "S", "k", "v"},
        ReadCase{"NoFinalLineBreak", "[S]\r\nk=v", "S", "k", "v"},
        ReadCase{"NulIsAnOrdinaryByte", "[S]\r\nk=a\0b\r\n"s, "S", "k", "a\0b"s},
        ReadCase{"NulDoesNotEndTheText", "[S]\r\n\0\r\nk=v\r\n"s, "S", "k", "v"},
        ReadCase{"ValueCutTo2047Bytes", "[S]\r\nk=" + kLongValue + "\r\n", "S", "k", std::string(2047, 'v')},
        ReadCase{"ValueCutAfterQuotesRemoved", "[S]\r\nk=\"" + std::string(2047, 'v') + "\"\r\n", "S", "k",
                 std::string(2047, 'v')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFileRead, MissingFileGivesDefaults) {
  TempFolder folder;
  ProfileFile file(folder.Path("none.ini"));
  EXPECT_EQ(file.ReadString("S", "k", "d"), "d");
  EXPECT_EQ(file.ReadInteger("S", "k", 7), 7);
  EXPECT_TRUE(file.ReadBool("S", "k", true));
}

TEST(ProfileFileRead, FolderGivesDefaults) {
  TempFolder folder;
  EXPECT_EQ(ProfileFile(folder.Path("")).ReadString("S", "k", "d"), "d");
}

// ---- Reading integers and booleans -----------------------------------------

struct IntegerCase {
  const char* name;
  std::string value;
  long long expected;  // with default -99
};
void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.name; }

class ReadIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ReadIntegerTest, ValueOrDefault) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, "[S]\r\nk=" + GetParam().value + "\r\n");
  EXPECT_EQ(ProfileFile(path).ReadInteger("S", "k", -99), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadIntegerTest,
    ::testing::Values(IntegerCase{"Decimal", "42", 42}, IntegerCase{"Negative", "-7", -7},
                      IntegerCase{"PlusSign", "+5", 5}, IntegerCase{"Hex", "0x50", 80}, IntegerCase{"HexUpperX", "0X1f", 31},
                      IntegerCase{"HexThreeCharacters", "0x0", 0}, IntegerCase{"BareHexPrefix", "0x", -99},
                      IntegerCase{"HexWithSign", "0x-5", -99}, IntegerCase{"HexGarbage", "0x5g", -99}, IntegerCase{"DollarHex", "$50", -99},
                      IntegerCase{"TrailingGarbage", "12abc", -99}, IntegerCase{"Word", "abc", -99},
                      IntegerCase{"Empty", "", -99}, IntegerCase{"TwoSigns", "+-5", -99}, IntegerCase{"BlanksTrimmed", "  12 ", 12},
                      IntegerCase{"Quoted", "'12'", 12}, IntegerCase{"Largest", "9223372036854775807", 9223372036854775807},
                      IntegerCase{"TooLarge", "9223372036854775808", -99},
                      IntegerCase{"HexTooLarge", "0xFFFFFFFFFFFFFFFF", -99}),
    [](const auto& info) { return std::string(info.param.name); });

struct BoolCase {
  const char* name;
  std::string value;
  bool default_value, expected;
};
void PrintTo(const BoolCase& c, std::ostream* os) { *os << c.name; }

class ReadBoolTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(ReadBoolTest, IntegerComparedWithZero) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, "[S]\r\nk=" + GetParam().value + "\r\n");
  EXPECT_EQ(ProfileFile(path).ReadBool("S", "k", GetParam().default_value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, ReadBoolTest,
                         ::testing::Values(BoolCase{"One", "1", false, true}, BoolCase{"Zero", "0", true, false},
                                           BoolCase{"Two", "2", false, true}, BoolCase{"MinusOne", "-1", false, true},
                                           BoolCase{"HexZero", "0x0", true, false},
                                           BoolCase{"WordGivesDefaultFalse", "yes", false, false},
                                           BoolCase{"WordGivesDefaultTrue", "no", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Writing ----------------------------------------------------------------

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // nothing: no file
  std::string section, key, value;
  std::string after;
};
void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class WriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteTest, FileAfterClose) {
  const WriteCase& c = GetParam();
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  if (c.before) WriteBytes(path, *c.before);
  ProfileFile file(path);
  file.WriteString(c.section, c.key, c.value);
  file.Close();
  EXPECT_EQ(ReadBytes(path), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WriteTest,
    ::testing::Values(
        WriteCase{"CreatesFile", std::nullopt, "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"EmptyFile", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"ReplacesInPlaceKeepingKeyCase", "[S]\r\nKey=old\r\nz=1\r\n", "s", "KEY", "new",
                  "[S]\r\nKey=new\r\nz=1\r\n"},
        WriteCase{"ReplacedLineLosesBlanks", "[S]\r\n  Key  =  old \r\n", "S", "key", "new", "[S]\r\nKey=new\r\n"},
        WriteCase{"NewKeyEndsItsSection", "[S]\r\na=1\r\n[T]\r\nb=2\r\n", "S", "c", "3",
                  "[S]\r\na=1\r\nc=3\r\n[T]\r\nb=2\r\n"},
        WriteCase{"NewKeyBeforeBlankLines", "[S]\r\na=1\r\n\r\n[T]\r\n", "S", "c", "3",
                  "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\n"},
        WriteCase{"NewKeyInEmptySection", "[S]\r\n[T]\r\n", "S", "c", "3", "[S]\r\nc=3\r\n[T]\r\n"},
        WriteCase{"NewSectionEndsFile", "[S]\r\na=1\r\n", "T", "b", "2", "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
        WriteCase{"NewKeyGoesToLastPartOfSection", "[S]\r\na=1\r\n[T]\r\n[S]\r\nb=2\r\n[U]\r\n", "S", "c", "3",
                  "[S]\r\na=1\r\n[T]\r\n[S]\r\nb=2\r\nc=3\r\n[U]\r\n"},
        WriteCase{"KeyOfSecondPartReplaced", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "9",
                  "[S]\r\na=1\r\n[S]\r\nb=9\r\n"},
        WriteCase{"FirstOfDuplicateKeysReplaced", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "9", "[S]\r\nk=9\r\nK=2\r\n"},
        WriteCase{"SameValueKeepsTheLineAsWritten", "[S]\r\n  Key = 'v' \r\nkey=w\r\n", "S", "key", "v",
                  "[S]\r\n  Key = 'v' \r\nkey=w\r\n"},
        WriteCase{"PreambleKeyUntouched", "k=1\r\n[S]\r\n", "S", "k", "2", "k=1\r\n[S]\r\nk=2\r\n"},
        WriteCase{"OtherLinesKeptByteForByte", "; note\r\n[S]\r\n x = y \r\nword\r\n\0\r\n"s, "S", "k", "v",
                  "; note\r\n[S]\r\n x = y \r\nword\r\n\0\r\nk=v\r\n"s},
        WriteCase{"NoFinalLineBreak", "[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"},
        WriteCase{"LfOnlyBecomesCrLf", "[S]\na=1\n", "S", "a", "2", "[S]\r\na=2\r\n"},
        WriteCase{"KeyCutAtEquals", "[S]\r\na=OK\r\n", "S", "a=b", "OK", "[S]\r\na=OK\r\n"},
        WriteCase{"KeyTrimmed", std::nullopt, "S", " \tw ", "OK", "[S]\r\nw=OK\r\n"},
        WriteCase{"EmptyKey", std::nullopt, "S", "", "OK", "[S]\r\n=OK\r\n"},
        WriteCase{"BracketedKey", std::nullopt, "S", "[a]b", "OK", "[S]\r\n[a]b=OK\r\n"},
        WriteCase{"JapaneseKeyCaseVariant", "[S]\r\n" + Sjis("Ａ語") + "=OK\r\n", "S", Sjis("ａ語"), "OK",
                  "[S]\r\n" + Sjis("Ａ語") + "=OK\r\n"},
        WriteCase{"ValueWithBlanksQuoted", std::nullopt, "S", "k", "/tmp/log ", "[S]\r\nk=\"/tmp/log \"\r\n"},
        WriteCase{"QuotedValueQuotedAgain", std::nullopt, "S", "k", "'a'", "[S]\r\nk=\"'a'\"\r\n"},
        WriteCase{"HalfQuotedValueAsIs", std::nullopt, "S", "k", "'a", "[S]\r\nk='a\r\n"},
        WriteCase{"ValueCutAtLineBreak", std::nullopt, "S", "k", "a\r\n[T]\r\nb=c", "[S]\r\nk=a\r\n"},
        WriteCase{"EmptyValue", std::nullopt, "S", "k", "", "[S]\r\nk=\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What a write stores reads back as written.
TEST(ProfileFileWrite, ValuesAndKeysReadBackAsStored) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  const std::vector<std::string> values = {" x ", "'q'", "\"d\"", "\"", "", Sjis("日本語 "), "a=b"};
  {
    ProfileFile file(path);
    for (std::size_t i = 0; i < values.size(); ++i) file.WriteString("S", "k" + std::to_string(i), values[i]);
    file.WriteString("K", "[a]b", "OK");
    file.WriteString("K", "c", "OK");
    file.Close();
  }
  ProfileFile file(path);
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(file.ReadString("S", "k" + std::to_string(i), "<default>"), values[i]) << i;
  TextList keys;
  file.ReadSection("K", keys);
  EXPECT_EQ(keys.Items(), (std::vector<std::string>{"[a]b", "c"}));
}

TEST(ProfileFileWrite, IntegersAndBooleans) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  ProfileFile file(path);
  file.WriteInteger("S", "a", -12);
  file.WriteInteger("S", "b", 10000);
  file.WriteBool("S", "c", true);
  file.WriteBool("S", "d", false);
  file.Close();
  EXPECT_EQ(ReadBytes(path), "[S]\r\na=-12\r\nb=10000\r\nc=1\r\nd=0\r\n");
}

TEST(ProfileFileWrite, ReadAfterWriteSeesTheWriteBeforeClose) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, "[S]\r\nk=old\r\n");
  ProfileFile file(path);
  EXPECT_EQ(file.ReadString("S", "k", ""), "old");
  file.WriteString("S", "k", "new");
  file.WriteString("S", "n", "1");
  EXPECT_EQ(file.ReadString("S", "k", ""), "new");
  EXPECT_EQ(file.ReadInteger("S", "n", 0), 1);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=old\r\n");  // nothing on disk before Close
}

TEST(ProfileFileWrite, NothingWrittenWithoutClose) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  { ProfileFile(path).WriteString("S", "k", "v"); }
  EXPECT_EQ(ReadBytes(path), std::nullopt);
}

TEST(ProfileFileWrite, CloseWithoutWritesTouchesNothing) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  ProfileFile file(path);
  file.ReadString("S", "k", "");
  file.Close();
  EXPECT_EQ(ReadBytes(path), std::nullopt);
}

// Two copies of the program: the later close must keep what the earlier
// one added, so writes apply to the file as it is at close.
TEST(ProfileFileWrite, CloseKeepsWhatAnotherCopyStoredMeanwhile) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, "[K]\r\na=OK\r\n");
  ProfileFile mine(path);
  EXPECT_EQ(mine.ReadString("K", "a", ""), "OK");
  WriteBytes(path, "[K]\r\na=OK\r\nb=OK\r\n");  // the other copy closes first
  mine.WriteString("K", "c", "OK");
  mine.Close();
  EXPECT_EQ(ReadBytes(path), "[K]\r\na=OK\r\nb=OK\r\nc=OK\r\n");
}

// ---- Failures -----------------------------------------------------------------

std::string CannotWriteMessage(const std::string& path) { return PathForMessage(path) + Sjis(" に書き込めません"); }

void ExpectCloseFails(ProfileFile& file) {
  try {
    file.Close();
    ADD_FAILURE() << "Close did not fail";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), CannotWriteMessage(file.Path()));
  }
}

TEST(ProfileFileFailure, MissingFolder) {
  TempFolder folder;
  ProfileFile file(folder.Path(testing::NativeName("設定") + "/a.ini"));
  file.WriteString("S", "k", "v");
  ExpectCloseFails(file);
}

TEST(ProfileFileFailure, ParentIsAFile) {
  TempFolder folder;
  WriteBytes(folder.Path("plain"), "x");
  ProfileFile file(folder.Path("plain/a.ini"));
  file.WriteString("S", "k", "v");
  ExpectCloseFails(file);
}

#ifndef _WIN32  // write limits, forked children and flock are POSIX
// The new file cannot be written whole (a write limit below its size, in a
// child so the limit stays there): the old file stays as it was.
TEST(ProfileFileFailure, OldFileIntactWhenReplacingFails) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, "[S]\r\nk=old\r\n");
  auto outcome = testing::InChild([&]() -> std::string {
    if (!testing::LimitFileSize(8)) return "no limit";
    ProfileFile file(path);
    file.WriteString("S", "k", "new");
    try {
      file.Close();
    } catch (const Error& e) {
      return e.what();
    }
    return "written";
  });
  EXPECT_EQ(outcome.text, CannotWriteMessage(path));
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=old\r\n");
}

// A file that exists but cannot be read must not be replaced by the writes
// alone: that would drop everything else it holds.
TEST(ProfileFileFailure, UnreadableFileIsNotReplaced) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path, "[S]\r\nk=old\r\n[K]\r\nw=OK\r\n");
  int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);  // a writer holds it: reading is refused
  ProfileFile file(path);
  EXPECT_EQ(file.ReadString("S", "k", "d"), "d");
  file.WriteString("S", "k", "new");
  ExpectCloseFails(file);
  ::close(fd);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=old\r\n[K]\r\nw=OK\r\n");
  file.Close();  // the writes were kept: now they go through
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=new\r\n[K]\r\nw=OK\r\n");
}
#endif

// ---- Key lists -----------------------------------------------------------------

TEST(ProfileFileSection, KeysInFileOrder) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  WriteBytes(path,
             "[K]\r\nb=OK\r\n a =x\r\nplain\r\n=OK\r\nB=OK\r\nb=OK\r\n[T]\r\nt=1\r\n[k]\r\nc\t=OK\r\n" + Sjis("語") +
                 "=\r\n");
  TextList keys;
  keys.Add("stale");
  ProfileFile(path).ReadSection("K", keys);
  EXPECT_EQ(keys.Items(), (std::vector<std::string>{"b", "a", "B", "c", Sjis("語")}));
  ProfileFile(path).ReadSection("none", keys);
  EXPECT_EQ(keys.Count(), 0u);
}

struct KeyListCase {
  const char* name;
  std::vector<std::size_t> key_lengths;
  std::vector<std::size_t> expected_lengths;
};
void PrintTo(const KeyListCase& c, std::ostream* os) { *os << c.name; }

class KeyListLimitTest : public ::testing::TestWithParam<KeyListCase> {};

TEST_P(KeyListLimitTest, KeysThatFit) {
  TempFolder folder;
  std::string path = folder.Path("a.ini");
  std::string text = "[K]\r\n";
  for (std::size_t i = 0; i < GetParam().key_lengths.size(); ++i) {
    std::string key = static_cast<char>('A' + i % 26) + std::to_string(i);  // distinct keys
    key.resize(GetParam().key_lengths[i], 'x');
    text += key + "=OK\r\n";
  }
  WriteBytes(path, text);
  TextList keys;
  ProfileFile(path).ReadSection("K", keys);
  std::vector<std::size_t> lengths;
  for (const std::string& k : keys.Items()) lengths.push_back(k.size());
  EXPECT_EQ(lengths, GetParam().expected_lengths);
}

std::vector<std::size_t> Repeat(std::size_t count, std::size_t length, std::vector<std::size_t> tail = {}) {
  std::vector<std::size_t> v(count, length);
  v.insert(v.end(), tail.begin(), tail.end());
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Limit, KeyListLimitTest,
    ::testing::Values(
        // 162 keys of 101 bytes take 16362; 22 are left: the next key is cut to 21.
        KeyListCase{"LastKeyCut", Repeat(170, 100), Repeat(162, 100, {21})},
        // Exactly 16384 bytes: every key whole, the next one not read at all.
        KeyListCase{"ExactFit", Repeat(16, 1023, {5}), Repeat(16, 1023)},
        // One byte left: no room for a cut key.
        KeyListCase{"OneByteLeft", Repeat(15, 1023, {1022, 5}), Repeat(15, 1023, {1022})},
        KeyListCase{"OneHugeKey", {20000}, {16383}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace junmaru
