#include "remote_logs.h"

#include <gtest/gtest.h>

#include "fake_remote.h"

namespace junmaru::transfer {
namespace {

TEST(RemoteLogsTest, GlobMatchesAsAShellDoes) {
  struct Row {
    const char* glob;
    const char* name;
    bool matches;
  };
  const Row rows[] = {
      {"access_log_*.gz", "access_log_20241001.gz", true},
      {"access_log_*.gz", "access_log_20241001", false},
      {"access_log_*.gz", "xaccess_log_1.gz", false},
      {"*", "", true},
      {"*.gz", ".gz", true},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYbZ", false},
      {"log.?", "log.1", true},
      {"log.?", "log.10", false},
      {"log.[0-9]", "log.7", true},
      {"log.[!0-9]", "log.7", false},
      {"log.[!0-9]", "log.x", true},
      {"log.[", "log.[", true},
      {"[!]", "[!]", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.glob) + " / " + row.name);
    EXPECT_EQ(MatchesGlob(row.glob, row.name), row.matches);
  }
}

TEST(RemoteLogsTest, ListsTheMatchingLogsOldestFirstAndFetchesThemByAddress) {
  FakeRemote remote;
  for (const char* name : {"access_log_20241003.gz", "error_log", "access_log_20241001.gz", "access_log_20241002.gz"})
    remote.files[name] = name;
  const RemoteUrl folder = *ParseRemoteUrl("sftp://host/logs/").url;
  const std::vector<RemoteUrl> logs = ListLogs(remote, folder, "access_log_*.gz");
  ASSERT_EQ(logs.size(), 3u);
  EXPECT_EQ(logs[0].text, "sftp://host/logs/access_log_20241001.gz");
  EXPECT_EQ(logs[2].text, "sftp://host/logs/access_log_20241003.gz");
  RecordingProgress progress;
  const LogInput input = FetchLog(remote, logs[1], progress);
  EXPECT_EQ(input.name, "sftp://host/logs/access_log_20241002.gz");
  EXPECT_EQ(input.bytes->view(), "access_log_20241002.gz");
  EXPECT_EQ(progress.seen, "begin sftp://host/logs/access_log_20241002.gz;end;");
}

}  // namespace
}  // namespace junmaru::transfer
