#include "log_timestamp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "recording_view.h"

namespace junmaru {
namespace {

struct DateCase {
  const char* name;
  std::string line;
  const char* date;  // UTF-8
};

TEST(LogTimestamp, RendersTheBracketedTimestamp) {
  const DateCase cases[] = {
      {"common_log_format", "1.2.3.4 - - [10/Oct/2004:13:55:36 +0900] \"GET / HTTP/1.1\"",
       "2004年10月10日 13時55分36秒"},
      {"leading_zeros_remain", "x [01/Jan/2005:00:00:00 +0000]", "2005年01月01日 00時00分00秒"},
      {"december", "[31/Dec/1999:23:59:59 -0500]", "1999年12月31日 23時59分59秒"},
      {"lower_case_month_stays", "[10/oct/2004:13:55:36 +0900]", "2004年oct月10日 13時55分36秒"},
      {"only_bracket_is_last_byte", "no timestamp here [", "年月日 時分秒"},
      {"earlier_bracket_wins", "1.2.3.4 - [user] [10/Oct/2004:13:55:36 +0900]", "10/O年r] 月us日 t/時00分:1秒"},
      {"one_digit_day_shifts_fields", "[1/Oct/2004:13:55:36 +0900]", "004:年ct/月1/日 3:時5:分6 秒"},
      {"fields_cut_at_line_end", "[10/Oct/20", "20年10月10日 時分秒"},
  };
  for (const auto& c : cases) {
    const LogLines log = LogLines::FromBytes(c.line);
    testing::RecordingView view;
    EXPECT_EQ(Cp932ToUtf8(Date(log, 0, view)), c.date) << c.name;
    EXPECT_TRUE(view.events.empty()) << c.name;
  }
}

TEST(LogTimestamp, KanjiAreCodePage932Bytes) {
  const LogLines log = LogLines::FromBytes("[10/Oct/2004:13:55:36 +0900]");
  testing::RecordingView view;
  EXPECT_EQ(Date(log, 0, view), "2004\x94\x4E" "10\x8C\x8E" "10\x93\xFA 13\x8E\x9E" "55\x95\xAA" "36\x95\x62");
}

TEST(LogTimestamp, LineWithoutBracketIsTheLogFormatError) {
  for (const char* text : {"", "1.2.3.4 - - 10/Oct/2004 \"GET / HTTP/1.1\""}) {
    const LogLines log = LogLines::FromBytes(std::string(text) + "\n[01/Jan/2005:00:00:00 +0000]\n");
    testing::RecordingView view;
    EXPECT_EQ(Date(log, 0, view), "");
    EXPECT_EQ(view.events, (std::vector<std::string>{"colour error", "status エラー　ログファイルの形式がおかしいです",
                                                    "disable run"}));
  }
}

TEST(LogTimestamp, IndexOutsideTheLogFailsAndChangesNothing) {
  const LogLines log = LogLines::FromBytes("[01/Jan/2005:00:00:00 +0000]\n");
  testing::RecordingView view;
  EXPECT_THROW(Date(log, 1, view), Error);
  EXPECT_THROW(Date(LogLines(), 0, view), Error);
  EXPECT_TRUE(view.events.empty());
}

}  // namespace
}  // namespace junmaru
