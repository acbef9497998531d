// The Settings record through the settings file: defaults, clamps, example
// words, the order of the written file, exclusion words, and failures.

#include "settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "family_index.h"
#include "file_io.h"
#ifndef _WIN32
#include "isolated_child.h"
#endif
#include "native_name.h"
#include "profile_file.h"
#include "settings_file.h"
#include "temp_folder.h"

namespace junmaru {
namespace {

using testing::FamilyIndex;
using testing::ReadBytes;
using testing::ReadSettingsFile;
using testing::WriteSettingsFile;
using testing::TempFolder;
using testing::WriteBytes;

auto Fields(const Settings& s) {
  return std::tie(s.ReadPass, s.SavePass, s.Families, s.TopCount, s.CBG, s.CBorder, s.CText1, s.CText2, s.CLink, s.ALink, s.VLink,
                  s.FontSize, s.NameMax, s.Link, s.Prefix, s.KinsiWord);
}

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  std::string path_ = folder_.Path("junmaru_setting.ini");

  Settings ReadWith(const std::string& section, const std::string& entry) {
    WriteBytes(path_, "[" + section + "]\r\n" + entry + "\r\n");
    return ReadSettingsFile(path_);
  }
};

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndExampleWords) {
  Settings expected;
  expected.KinsiWord = {Sjis("例)禁止ワード1"), Sjis("例)禁止ワード2")};
  EXPECT_EQ(Fields(ReadSettingsFile(path_)), Fields(expected));
  EXPECT_EQ(ReadBytes(path_), std::nullopt);  // reading creates nothing
}

// The first close creates the five sections, every key in its order.
TEST_F(SettingsFileTest, FirstWriteCreatesSectionsInOrder) {
  WriteSettingsFile(path_, ReadSettingsFile(path_));
  EXPECT_EQ(ReadBytes(path_),
            CrLfLines({"[FilePass]", "ReadPass=0", "SavePass=0", "[ExtentionFilter]", "CDouga=0", "COnsei=0",
                       "CSyoko=0", "CJpeg=0", "CGazou=1", "CText=1", "CExe=1", "CHtml=1", "CCss=1", "CCgi=1",
                       "[Ranking]", "TopCount=100", "[HTML]", "CBG=#000055", "CBorder=#5599CC", "CText1=#FFFFFF",
                       "CText2=#88F0AA", "CLink=#33CCCC", "ALink=#669966", "VLink=#CC3366", "FontSize=80",
                       "NameMax=40", "Link=1", "Prefix=./", "[KinsiWord]", Sjis("例)禁止ワード1") + "=OK",
                       Sjis("例)禁止ワード2") + "=OK"}));
}

TEST_F(SettingsFileTest, EveryValueSurvivesWriteAndRead) {
  Settings s;
  s.ReadPass = "/logs/access log ";  // a trailing blank is part of a file name
  s.SavePass = "/www/" + testing::NativeName("順位") + ".html";
  for (std::size_t i = 0; i < kFamilyCount; ++i) s.Families[i] = !kExtensionFamilies[i].on_at_first_start;
  s.TopCount = 30;
  s.CBG = "#000001";
  s.CBorder = "#000002";
  s.CText1 = "#000003";
  s.CText2 = "#000004";
  s.CLink = "#000005";
  s.ALink = "#000006";
  s.VLink = "#000007";
  s.FontSize = 120;
  s.NameMax = 60;
  s.Link = false;
  s.Prefix = "'http://example.jp/'";
  s.KinsiWord = {"admin", Sjis("秘密"), "[tmp]"};
  WriteSettingsFile(path_, s);
  EXPECT_EQ(Fields(ReadSettingsFile(path_)), Fields(s));
}

#ifndef _WIN32  // on Windows a path is code page 932 already, and stored as it is
// The file is code page 932 on both systems: a Linux path is stored
// converted where that gives the same name back, and as its own bytes
// where it does not; what Windows or a keeper wrote is read converted.
struct PathCase {
  const char* name;
  std::string native;  // UTF-8, as Linux names files
  std::string stored;  // the bytes after "ReadPass="
  bool written_here = true;  // false: only read (another system wrote it)
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class StoredPathTest : public SettingsFileTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(StoredPathTest, CodePage932InTheFile) {
  const PathCase& c = GetParam();
  if (c.written_here) {
    Settings s;
    s.ReadPass = s.SavePass = c.native;
    WriteSettingsFile(path_, s);
    EXPECT_NE(ReadBytes(path_)->find("ReadPass=" + c.stored + "\r\nSavePass=" + c.stored + "\r\n"),
              std::string::npos);
  } else {
    WriteBytes(path_, "[FilePass]\r\nReadPass=" + c.stored + "\r\nSavePass=" + c.stored + "\r\n");
  }
  const Settings read = ReadSettingsFile(path_);
  EXPECT_EQ(read.ReadPass, c.native);
  EXPECT_EQ(read.SavePass, c.native);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StoredPathTest,
    ::testing::Values(
        PathCase{"Ascii", "/srv/logs/access log.1", "/srv/logs/access log.1"},
        PathCase{"JapaneseFolder", "/srv/ログ/access.log", "/srv/\x83\x8D\x83\x4F/access.log"},
        PathCase{"HalfWidthKatakana", "/srv/ｶﾅ.log", "/srv/\xB6\xC5.log"},
        // No code page 932 character: the UTF-8 bytes themselves.
        PathCase{"NotInTheCodePage", "/srv/café/𠮷.log", "/srv/café/𠮷.log"},
        // The wave dash is stored as the full-width tilde, which reads back
        // as another character: the name is kept as its bytes instead.
        PathCase{"WaveDash", "/srv/a〜b.log", "/srv/a〜b.log"},
        PathCase{"WrittenOnWindows", "C:\\ログ\\access.log", "C:\\\x83\x8D\x83\x4F\\access.log", false},
        PathCase{"WrittenByAnEarlierLinuxVersion", "/srv/ログ/access.log", "/srv/ログ/access.log", false},
        PathCase{"NoneChosen", "0", "0"}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

struct SpinCase {
  const char* name;
  std::string value;
  long long expected;
};
void PrintTo(const SpinCase& c, std::ostream* os) { *os << c.name; }

class SpinValueTest : public SettingsFileTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(SpinValueTest, ClampedOrDefault) {
  const SpinCase& c = GetParam();
  EXPECT_EQ(ReadWith("Ranking", "TopCount=" + c.value).TopCount, c.expected);
  Settings html = ReadWith("HTML", "FontSize=" + c.value + "\r\nNameMax=" + c.value);
  EXPECT_EQ(html.FontSize, c.value == "word" ? 80 : c.expected);
  EXPECT_EQ(html.NameMax, c.value == "word" ? 40 : c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, SpinValueTest,
                         ::testing::Values(SpinCase{"BelowMinimum", "5", 10}, SpinCase{"Negative", "-50", 10},
                                           SpinCase{"AboveMaximum", "20000", 10000}, SpinCase{"InRange", "250", 250},
                                           SpinCase{"Hex", "0x50", 80}, SpinCase{"Word", "word", 100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, TopCountFiveIsWrittenBackAsTen) {
  WriteBytes(path_, "[Ranking]\r\nTopCount=5\r\n");
  WriteSettingsFile(path_, ReadSettingsFile(path_));
  EXPECT_EQ(ProfileFile(path_).ReadString("Ranking", "TopCount", ""), "10");
}

TEST_F(SettingsFileTest, SwitchStoredAsTwoIsOnAndWrittenBackAsOne) {
  WriteBytes(path_, "[ExtentionFilter]\r\nCDouga=2\r\nCGazou=word\r\n");
  Settings s = ReadSettingsFile(path_);
  EXPECT_TRUE(s.Families[FamilyIndex("CDouga")]);
  EXPECT_TRUE(s.Families[FamilyIndex("CGazou")]);  // a word gives the default
  WriteSettingsFile(path_, s);
  EXPECT_EQ(ProfileFile(path_).ReadString("ExtentionFilter", "CDouga", ""), "1");
  EXPECT_FALSE(ReadWith("ExtentionFilter", "CDouga=word").Families[FamilyIndex("CDouga")]);
}

// Every family of the table has its switch in "ExtentionFilter" under its
// key: stored away from its first-start state, it alone reads so, and it
// is written back under the same key.
TEST_F(SettingsFileTest, EachFamilyIsStoredUnderItsKey) {
  for (std::size_t i = 0; i < kFamilyCount; ++i) {
    const ExtensionFamily& family = kExtensionFamilies[i];
    const bool stored = !family.on_at_first_start;
    Settings expected;
    expected.Families[i] = stored;
    const Settings read = ReadWith("ExtentionFilter", std::string(family.key) + "=" + (stored ? "1" : "0"));
    EXPECT_EQ(read.Families, expected.Families) << family.key;
    WriteSettingsFile(path_, read);
    EXPECT_EQ(ProfileFile(path_).ReadString("ExtentionFilter", family.key, ""), stored ? "1" : "0") << family.key;
  }
}

// The counting rules of [Count]: what each stored form reads as, which
// are problems (the rule then off), and that a file read and written back
// unchanged keeps its bytes, whatever it held.
struct CountCase {
  const char* name;
  std::string entries;  // the lines of [Count]
  bool any_http, once_per_client, bots, decode;
  std::string statuses;                 // as the list's text
  std::vector<std::string> problems;    // the keys told
};

TEST_F(SettingsFileTest, CountingRulesReadAsStoredAndMalformedOnesAreProblems) {
  const CountCase cases[] = {
      {"absent", "", false, false, false, false, "", {}},
      {"all_on", "AnyHttp=1\r\nStatus=200,206\r\nOncePerClient=1\r\nBots=1\r\nDecode=1", true, true, true, true,
       "200,206", {}},
      {"zeros_and_blank_status", "AnyHttp=0\r\nStatus=\r\nBots=0", false, false, false, false, "", {}},
      {"status_with_blanks", "Status= 200 , 304 ", false, false, false, false, "200 , 304", {}},
      {"switch_words", "AnyHttp=yes\r\nDecode=2\r\nBots=1", false, false, true, false, "", {"AnyHttp", "Decode"}},
      {"status_malformed", "Status=200;206", false, false, false, false, "", {"Status"}},
      {"status_two_digits", "Status=20", false, false, false, false, "", {"Status"}},
      {"status_empty_item", "Status=200,,206", false, false, false, false, "", {"Status"}},
  };
  for (const CountCase& c : cases) {
    const std::string count = "[Count]\r\n" + c.entries + (c.entries.empty() ? "" : "\r\n");
    const std::string bytes = count + "[HTML]\r\nLink=1\r\n";
    WriteBytes(path_, bytes);
    std::vector<SettingProblem> problems;
    const Settings s = ReadSettings(ProfileFile(path_), &problems);
    EXPECT_EQ(std::tie(s.AnyHttp, s.OncePerClient, s.Bots, s.Decode),
              std::tie(c.any_http, c.once_per_client, c.bots, c.decode))
        << c.name;
    EXPECT_EQ(s.Status.Text(), c.statuses) << c.name;
    std::vector<std::string> keys;
    for (const SettingProblem& p : problems) {
      keys.emplace_back(p.key);
      EXPECT_NE(p.message.find(path_), std::string::npos) << c.name;
      EXPECT_NE(p.message.find("[Count] " + std::string(p.key) + "="), std::string::npos) << c.name;
    }
    EXPECT_EQ(keys, c.problems) << c.name;
    // Closed without a change: the rules' lines stay as they were.
    ProfileFile file(path_);
    WriteSettings(file, s, s);
    file.Close();
    const std::string after = *ReadBytes(path_);
    EXPECT_EQ(after.substr(0, count.size()), count) << c.name;
  }
}

TEST_F(SettingsFileTest, ACountingRuleIsWrittenOnlyWhenChanged) {
  WriteSettingsFile(path_, ReadSettingsFile(path_));
  const std::string untouched = *ReadBytes(path_);
  EXPECT_EQ(untouched.find("[Count]"), std::string::npos);  // a first close writes no rule

  Settings as_read = ReadSettingsFile(path_);
  Settings changed = as_read;
  changed.Decode = true;
  changed.Status = *StatusList::Parse("200,206");
  ProfileFile file(path_);
  WriteSettings(file, changed, as_read);
  file.Close();
  EXPECT_EQ(*ReadBytes(path_), untouched + CrLfLines({"[Count]", "Status=200,206", "Decode=1"}));

  // Turned off again: written as off, the other left as it is.
  as_read = ReadSettingsFile(path_);
  changed = as_read;
  changed.Decode = false;
  changed.Status = *StatusList::Parse("206, 200");  // the same list
  ProfileFile again(path_);
  WriteSettings(again, changed, as_read);
  again.Close();
  EXPECT_EQ(*ReadBytes(path_), untouched + CrLfLines({"[Count]", "Status=200,206", "Decode=0"}));
}

// The page's extra columns and the window's exports are switches of the
// same kind in [HTML].
TEST_F(SettingsFileTest, PageColumnsAreWrittenOnlyWhenChanged) {
  WriteSettingsFile(path_, ReadSettingsFile(path_));
  EXPECT_EQ(ReadBytes(path_)->find("Trend"), std::string::npos);
  const Settings as_read = ReadSettingsFile(path_);
  Settings changed = as_read;
  changed.Trend = changed.Clients = changed.Export = true;
  ProfileFile file(path_);
  WriteSettings(file, changed, as_read);
  file.Close();
  EXPECT_NE(ReadBytes(path_)->find("Prefix=./\r\nTrend=1\r\nClients=1\r\nExport=1\r\n[KinsiWord]"), std::string::npos);
  std::vector<SettingProblem> problems;
  WriteBytes(path_, "[HTML]\r\nTrend=yes\r\n");
  EXPECT_FALSE(ReadSettings(ProfileFile(path_), &problems).Trend);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(Cp932ToUtf8(problems[0].message), "設定ファイル " + path_ + " の [HTML] Trend=yes は 0 か 1 で指定してください");
}

TEST_F(SettingsFileTest, LinkStoredAsZero) { EXPECT_FALSE(ReadWith("HTML", "Link=0").Link); }

// ---- Exclusion words ------------------------------------------------------------

TEST_F(SettingsFileTest, CaseVariantWordsAreOneKeyWithTheFirstStoredCase) {
  WriteBytes(path_, "[KinsiWord]\r\nSecret=OK\r\n");
  Settings s = ReadSettingsFile(path_);
  s.KinsiWord = {"SECRET", "Other", "OTHER", Sjis("ＡＢ"), Sjis("ａｂ")};
  WriteSettingsFile(path_, s);
  EXPECT_EQ(ReadSettingsFile(path_).KinsiWord, (std::vector<std::string>{"Secret", "Other", Sjis("ＡＢ")}));
}

// Words that differ only in letter case, as a keeper typed them into the
// file: each is a word (matching is case-sensitive), and closing with them
// unchanged leaves the file byte for byte as it was.
TEST_F(SettingsFileTest, HandEditedCaseTwinsAreTwoWordsAndStayAsTyped) {
  const std::string typed = "[KinsiWord]\r\nBeta=OK\r\nbeta = OK\r\nBETA\t=\r\n" + Sjis("ａｂ") + "=OK\r\n" +
                            Sjis("ＡＢ") + "=OK\r\n";
  WriteBytes(path_, typed);
  const Settings s = ReadSettingsFile(path_);
  EXPECT_EQ(s.KinsiWord, (std::vector<std::string>{"Beta", "beta", "BETA", Sjis("ａｂ"), Sjis("ＡＢ")}));
  WriteSettingsFile(path_, s);
  EXPECT_EQ(ReadBytes(path_)->substr(0, typed.size()), typed);
}

TEST_F(SettingsFileTest, WordWithEqualsOrBlanksComesBackCutAndTrimmed) {
  Settings s;
  s.KinsiWord = {"a=b", "  c  ", "\td"};
  WriteSettingsFile(path_, s);
  EXPECT_EQ(ReadSettingsFile(path_).KinsiWord, (std::vector<std::string>{"a", "c", "d"}));
  // Closing again with the same memo adds nothing: the file does not grow.
  std::optional<std::string> first = ReadBytes(path_);
  WriteSettingsFile(path_, s);
  EXPECT_EQ(ReadBytes(path_), first);
}

TEST_F(SettingsFileTest, DeletedWordComesBackInItsOldPlace) {
  Settings s;
  s.KinsiWord = {"a", "b", "c"};
  WriteSettingsFile(path_, s);
  s.KinsiWord = {"a", "c", "d"};
  WriteSettingsFile(path_, s);
  EXPECT_EQ(ReadSettingsFile(path_).KinsiWord, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(SettingsFileTest, EmptyMemoLineIsStoredButNotReadBack) {
  Settings s;
  s.KinsiWord = {"x", "", "y"};
  WriteSettingsFile(path_, s);
  EXPECT_NE(ReadBytes(path_)->find("\r\n=OK\r\n"), std::string::npos);
  EXPECT_EQ(ReadSettingsFile(path_).KinsiWord, (std::vector<std::string>{"x", "y"}));
}

// The window's memo reads a line up to 4096 bytes; the batch program reads
// the same word.
TEST_F(SettingsFileTest, LongWordIsCutAsTheMemoCutsIt) {
  const std::string whole = std::string(4096, 'a') + "tail";
  WriteBytes(path_, "[KinsiWord]\r\n" + whole + "=OK\r\nshort=OK\r\n");
  EXPECT_EQ(ReadSettingsFile(path_).KinsiWord, (std::vector<std::string>{std::string(4096, 'a'), "short"}));
}

TEST_F(SettingsFileTest, OnlyEmptyWordsGiveTheExampleWords) {
  EXPECT_EQ(ReadWith("KinsiWord", "=OK\r\nnovalue").KinsiWord, ExampleWords());
}

// ---- Failures -------------------------------------------------------------------

TEST_F(SettingsFileTest, WriteFailureMessageNamesTheFile) {
  std::string path = folder_.Path(testing::NativeName("設定なし") + "/junmaru_setting.ini");
  try {
    WriteSettingsFile(path, Settings{});
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), PathForMessage(path) + Sjis(" に書き込めません"));
  }
}

#ifndef _WIN32  // a write limit in a forked child is POSIX
TEST_F(SettingsFileTest, OldFileIntactAfterFailedWrite) {
  const std::string old = "[Ranking]\r\nTopCount=30\r\n[KinsiWord]\r\nw=OK\r\n";
  WriteBytes(path_, old);
  Settings s = ReadSettingsFile(path_);
  s.TopCount = 500;
  // A write limit below the new file's size, in a child so it stays there.
  auto outcome = testing::InChild([&]() -> std::string {
    if (!testing::LimitFileSize(old.size())) return "no limit";
    try {
      WriteSettingsFile(path_, s);
    } catch (const Error&) {
      return "failed";
    }
    return "written";
  });
  EXPECT_EQ(outcome.text, "failed");
  EXPECT_EQ(ReadBytes(path_), old);
}
#endif

}  // namespace
}  // namespace junmaru
