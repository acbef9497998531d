#include "text_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "temp_dir.h"

namespace junmaru {
namespace {

using Lines = std::vector<std::string>;

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(TextList, SortedListIgnoringDuplicatesTellsNewFromRepeat) {
  TextList seen(true, TextList::Duplicates::kIgnore);
  seen.Add("/dl/Tool.lzh");
  seen.Add("/dl/a.zip");
  EXPECT_EQ(seen.Add("/dl/TOOL.lzh"), 1u) << "index of the equal item";
  EXPECT_EQ(seen.Items(), (Lines{"/dl/a.zip", "/dl/Tool.lzh"})) << "the first spelling stays";
}

TEST(TextList, SortedListAcceptingDuplicatesInsertsBeforeEqualItems) {
  TextList list(true, TextList::Duplicates::kAccept);
  list.Add("b");
  list.Add("a");
  list.Add("c");
  EXPECT_EQ(list.Add("A"), 0u);
  EXPECT_EQ(list.Items(), (Lines{"A", "a", "b", "c"}));
}

TEST(TextList, RefusesPositionalChangesWhileSorted) {
  TextList list(true, TextList::Duplicates::kAccept);
  list.Add("x");
  const std::string refused = Sjis("ソートされる文字列リストに対しては許されない動作です");
  EXPECT_EQ(MessageOf([&] { list.Set(0, "y"); }), refused);
  EXPECT_EQ(MessageOf([&] { list.Insert(0, "y"); }), refused);
  list.SetSorted(false);
  list.Set(0, "z");
  list.Insert(0, "y");
  list.Insert(2, "a");
  EXPECT_EQ(list.Items(), (Lines{"y", "z", "a"})) << "leaving sorted mode keeps the order";
  list.Sort();
  EXPECT_EQ(list.Items(), (Lines{"a", "y", "z"}));
  list.Delete(1);
  EXPECT_EQ(list.Items(), (Lines{"a", "z"}));
}

TEST(TextList, IndexOutsideTheListFailsWithTheIndex) {
  TextList list;
  list.Add("only");
  auto error = [](long long i) { return Sjis("リストのインデックスが範囲を超えています (") + std::to_string(i) + ")"; };
  EXPECT_EQ(MessageOf([&] { list.Get(1); }), error(1));
  EXPECT_EQ(MessageOf([&] { list.Get(-1); }), error(-1));
  EXPECT_EQ(MessageOf([&] { list.Set(5, "x"); }), error(5));
  EXPECT_EQ(MessageOf([&] { list.Delete(1); }), error(1));
  EXPECT_EQ(MessageOf([&] { list.Insert(2, "x"); }), error(2));
  EXPECT_EQ(list.Items(), (Lines{"only"}));
}

TEST(TextList, SaveWritesCrLfAfterEveryLine) {
  testing::TempDir dir;
  TextList list;
  list.Add("<html>");
  list.Add("");
  list.Add("\x83\x63");
  list.SaveToFile(dir.File("out.html"));
  EXPECT_EQ(testing::ReadBytes(dir.File("out.html")), "<html>\r\n\r\n\x83\x63\r\n");
  TextList empty;
  empty.SaveToFile(dir.File("out.html"));
  EXPECT_EQ(testing::ReadBytes(dir.File("out.html")), "") << "an existing file is emptied";
}

TEST(TextList, FailedSaveLeavesTheOldFileAndSaysWhy) {
  testing::TempDir dir;
  TextList list;
  list.Add("new");
  // A path below a regular file cannot be created, not even by root.
  const std::string blocked = dir.Write("plain", "old") + "/out.html";
  EXPECT_EQ(MessageOf([&] { list.SaveToFile(blocked); }), Sjis("ファイル ") + blocked + Sjis(" を作成できません"));
  EXPECT_EQ(testing::ReadBytes(dir.File("plain")), "old");
  EXPECT_EQ(MessageOf([&] { list.SaveToFile(dir.File("no/such/folder.html")); }),
            Sjis("ファイル ") + dir.File("no/such/folder.html") + Sjis(" を作成できません"));
}

TEST(TextList, LoadIntoSortedListSortsAndDropsDuplicates) {
  testing::TempDir dir;
  TextList list(true, TextList::Duplicates::kIgnore);
  list.LoadFromFile(dir.Write("words", "beta\nAlpha\nBETA\nalpha\n"));
  EXPECT_EQ(list.Items(), (Lines{"Alpha", "beta"}));
}

}  // namespace
}  // namespace junmaru
