#include "publish.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake_remote.h"

namespace junmaru::transfer {
namespace {

class PublishTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("junmaru-publish-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    Write("ranking.html", "new page");
    Write("gage.gif", "GIF89a");
    Write("ranking.csv", "new csv");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void Write(const std::string& name, const std::string& bytes) { std::ofstream(dir_ / name, std::ios::binary) << bytes; }
  PublishFile File(const std::string& name, bool only_when_missing = false) {
    return {(dir_ / name).string(), name, only_when_missing};
  }
  void Publish(std::vector<PublishFile> files) {
    transfer::Publish(remote_, *ParseRemoteUrl("ftps://site/www/").url, files, progress_);
  }
  // The site's files, temporary names made plain.
  std::string Site() const {
    std::string listing;
    for (const auto& [name, bytes] : remote_.files) listing += FakeRemote::Plain(name) + "=" + bytes + ";";
    return listing;
  }

  std::filesystem::path dir_;
  FakeRemote remote_;
  RecordingProgress progress_;
};

TEST_F(PublishTest, EachFileGoesUpUnderATemporaryNameAndThenTakesItsOwnPageLast) {
  remote_.files["ranking.html"] = "old page";
  Publish({File("ranking.csv"), File("gage.gif", true), File("ranking.html")});
  EXPECT_EQ(Site(), "gage.gif=GIF89a;ranking.csv=new csv;ranking.html=new page;");
  EXPECT_EQ(remote_.log,
            "list;upload .junmaru-*-ranking.csv;upload .junmaru-*-gage.gif;upload .junmaru-*-ranking.html;"
            "rename .junmaru-*-ranking.csv ranking.csv;rename .junmaru-*-gage.gif gage.gif;"
            "rename .junmaru-*-ranking.html ranking.html;");
  EXPECT_EQ(progress_.seen,
            "begin ftps://site/www/ranking.csv;end;begin ftps://site/www/gage.gif;end;"
            "begin ftps://site/www/ranking.html;end;");
}

TEST_F(PublishTest, TheSitesOwnBarImageIsLeftAlone) {
  remote_.files["gage.gif"] = "the site's own";
  Publish({File("gage.gif", true), File("ranking.html")});
  EXPECT_EQ(Site(), "gage.gif=the site's own;ranking.html=new page;");
}

TEST_F(PublishTest, AFailedStepLeavesTheOldFilesAndNoTemporaryOne) {
  struct Row {
    const char* name;
    int failing_upload;
    int failing_rename;
    const char* site;
  };
  const Row rows[] = {
      {"first upload cut", 0, -1, "ranking.html=old page;"},
      {"page upload cut", 1, -1, "ranking.html=old page;"},
      {"first rename refused", -1, 0, "ranking.html=old page;"},
      // The CSV is already in place when the page's rename fails.
      {"page rename refused", -1, 1, "ranking.csv=new csv;ranking.html=old page;"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    remote_.files = {{"ranking.html", "old page"}};
    remote_.uploads_before_failure = row.failing_upload;
    remote_.renames_before_failure = row.failing_rename;
    EXPECT_THROW(Publish({File("ranking.csv"), File("ranking.html")}), Error);
    EXPECT_EQ(Site(), row.site);
  }
}

TEST_F(PublishTest, AMissingLocalFileStopsBeforeAnythingIsRenamed) {
  remote_.files["ranking.html"] = "old page";
  EXPECT_THROW(Publish({File("ranking.csv"), File("absent.json"), File("ranking.html")}), Error);
  EXPECT_EQ(Site(), "ranking.html=old page;");
}

}  // namespace
}  // namespace junmaru::transfer
