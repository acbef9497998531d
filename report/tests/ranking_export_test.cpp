// The ranking as CSV and JSON: the page's places, ranks, names and counts,
// with the quoting, the encodings and the marks of bytes the code page
// does not map.

#include "ranking_export.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "byte_sink.h"
#include "cp932.h"
#include "download_log.h"

namespace junmaru {
namespace {

using testing::LogLine;

Ranking RankingOf(std::vector<RankedEntry> best_first) {
  Ranking ranking;
  ranking.entries.assign(best_first.rbegin(), best_first.rend());
  return ranking;
}

std::string Csv(const Ranking& ranking, const Settings& settings, CsvEncoding encoding = CsvEncoding::kCp932) {
  std::string bytes;
  StringSink sink(bytes);
  WriteRankingCsv(ranking, settings, encoding, sink);
  return bytes;
}

std::string Json(const LogLines& log, const Settings& settings, const Ranking& ranking) {
  std::string bytes;
  StringSink sink(bytes);
  WriteRankingJson(log, settings, ranking, sink);
  return bytes;
}

const std::string kHead = Sjis("順位,パス,ファイル名,DL数") + "\r\n";

struct CsvCase {
  const char* name;
  std::vector<RankedEntry> best_first;
  long long top, name_max;
  std::string rows;  // the lines after the head, code page 932
};

class CsvTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvTest, Lines) {
  const CsvCase& c = GetParam();
  Settings settings;
  settings.TopCount = c.top;
  settings.NameMax = c.name_max;
  EXPECT_EQ(Csv(RankingOf(c.best_first), settings), kHead + c.rows);
}

const std::string kLong = "/" + std::string(24, 'a') + ".zip";  // 29 bytes

INSTANTIATE_TEST_SUITE_P(
    Table, CsvTest,
    ::testing::Values(
        CsvCase{"NoPlacesHeadOnly", {}, 100, 40, ""},
        CsvCase{"CompetitionRanksAsThePage", {{9, "/a"}, {9, "/b"}, {7, "/c"}, {7, "/d"}, {4, "/e"}}, 100, 40,
                "1,/a,/a,9\r\n1,/b,/b,9\r\n3,/c,/c,7\r\n3,/d,/d,7\r\n5,/e,/e,4\r\n"},
        CsvCase{"OnlyThePlacesShown", {{3, "/a"}, {2, "/b"}, {2, "/c"}}, 2, 40, "1,/a,/a,3\r\n2,/b,/b,2\r\n"},
        CsvCase{"NameShortenedAsShown", {{1, kLong}}, 100, 10,
                "1," + kLong + "," + Sjis("(略)...") + kLong.substr(9) + ",1\r\n"},
        CsvCase{"JapaneseBytesAsLogged", {{2, "/\x95\x5C.zip"}}, 100, 40, "1,/\x95\x5C.zip,/\x95\x5C.zip,2\r\n"},
        CsvCase{"CommaAndQuoteQuoted", {{1, "/a,\"b\".zip"}}, 100, 40,
                "1,\"/a,\"\"b\"\".zip\",\"/a,\"\"b\"\".zip\",1\r\n"},
        CsvCase{"FormulaStaysText", {{4, "=1+1"}, {3, "+1"}, {2, "-1"}, {1, "@x"}}, 100, 40,
                "1,'=1+1,'=1+1,4\r\n2,'+1,'+1,3\r\n3,'-1,'-1,2\r\n4,'@x,'@x,1\r\n"},
        CsvCase{"FormulaWithCommaQuotedWithItsMark", {{1, "=a,b"}}, 100, 40, "1,\"'=a,b\",\"'=a,b\",1\r\n"},
        CsvCase{"TabFirstStaysText", {{1, "\tx"}}, 100, 40, "1,'\tx,'\tx,1\r\n"},
        CsvCase{"CountsBeyondFiveDigits", {{1234567890123, "/a"}}, 100, 40, "1,/a,/a,1234567890123\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvTest, RankChangesAndDownloadersAsThePageShowsThem) {
  Ranking ranking = RankingOf({{9, "/a"}, {9, "/b"}, {7, "/c"}});
  ranking.previous_ranks = {3, 0, 3};
  ranking.clients = {4, 9, 1};
  Settings settings;
  settings.Trend = true;
  settings.Clients = true;
  EXPECT_EQ(Csv(ranking, settings), Sjis("順位,パス,ファイル名,DL数,前回,DL人数\r\n1,/a,/a,9,▲2,4\r\n1,/b,/b,9,NEW,9\r\n"
                                         "3,/c,/c,7,→,1\r\n"));
}

TEST(CsvUtf8Test, ByteOrderMarkThenConvertedTextAndReplacements) {
  const Ranking ranking = RankingOf({{2, "/\x95\x5C.zip"}, {1, "/\x80.zip"}});
  EXPECT_EQ(Csv(ranking, Settings(), CsvEncoding::kUtf8),
            "\xEF\xBB\xBF順位,パス,ファイル名,DL数\r\n1,/表.zip,/表.zip,2\r\n2,/\xEF\xBF\xBD.zip,/\xEF\xBF\xBD.zip,1\r\n");
}

// A log whose lines give the page its period.
LogLines Stamped(const std::vector<std::string>& stamps) {
  std::string text;
  for (const std::string& stamp : stamps) text += (stamp.empty() ? "no time here" : LogLine("/a.zip", stamp)) + "\n";
  return LogLines::FromBytes(text);
}

TEST(JsonTest, HeaderRowsAndOneRowPerLine) {
  const LogLines log = Stamped({"10/Oct/2004:13:55:36 +0900", "11/Oct/2004:01:02:03 +0900"});
  Settings settings;
  settings.PStart = 1;
  settings.PEnd = 2;
  settings.TopCount = 2;
  Ranking ranking = RankingOf({{9, "/\x95\x5C.zip"}, {9, "/b.zip"}, {7, "/c.zip"}});
  ranking.top_total = 18;
  const std::string text = Json(log, settings, ranking);
  EXPECT_EQ(text,
            "{\"header\":{\"period\":{\"from\":\"2004-10-10 13:55:36\",\"to\":\"2004-10-11 01:02:03\"},"
            "\"top\":2,\"top_total\":18},\n"
            "\"rows\":[\n"
            "{\"rank\":1,\"path\":\"/表.zip\",\"name\":\"/表.zip\",\"count\":9},\n"
            "{\"rank\":1,\"path\":\"/b.zip\",\"name\":\"/b.zip\",\"count\":9}\n"
            "]}\n");
}

TEST(JsonTest, RankChangesAndDownloaders) {
  const LogLines log = Stamped({"10/Oct/2004:13:55:36 +0900"});
  Settings settings;
  settings.PEnd = 1;
  settings.Trend = true;
  settings.Clients = true;
  auto previous = std::make_shared<PreviousPeriod>();
  previous->period = {20041009000000, 20041009235959};
  settings.Previous = previous;
  Ranking ranking = RankingOf({{9, "/a"}, {8, "/b"}});
  ranking.previous_ranks = {2, 0};
  ranking.clients = {3, 1};
  const nlohmann::json parsed = nlohmann::json::parse(Json(log, settings, ranking));
  EXPECT_EQ(parsed["header"]["previous"],
            nlohmann::json({{"from", "2004-10-09 00:00:00"}, {"to", "2004-10-09 23:59:59"}, {"complete", false}}));
  EXPECT_EQ(parsed["rows"][0], nlohmann::json({{"rank", 1}, {"path", "/a"}, {"name", "/a"}, {"count", 9},
                                               {"previous_rank", 2}, {"change", "▲1"}, {"downloaders", 3}}));
  EXPECT_EQ(parsed["rows"][1]["previous_rank"], nullptr);
  EXPECT_EQ(parsed["rows"][1]["change"], "NEW");
}

TEST(JsonTest, BytesWithoutACharacterAreEscapedReplacementsWithTheRawPathBeside) {
  const LogLines log = Stamped({"10/Oct/2004:13:55:36 +0900"});
  Settings settings;
  settings.PEnd = 1;
  // A lone 0x80, a lead byte before a byte that cannot trail, a control
  // byte, a quote and a percent sign.
  const std::string path = "/\x80\x81\x01\"%.zip";
  const nlohmann::json parsed = nlohmann::json::parse(Json(log, settings, RankingOf({{1, path}})));
  const auto& row = parsed["rows"].at(0);
  EXPECT_EQ(row["path"], "/\xEF\xBF\xBD\xEF\xBF\xBD\x01\"%.zip");
  EXPECT_EQ(row["path_bytes"], "/%80%81%01\"%25.zip");
  EXPECT_NE(Json(log, settings, RankingOf({{1, path}})).find("\"/\\ufffd\\ufffd\\u0001\\\"%.zip\""), std::string::npos);
}

TEST(JsonTest, EmptyRankingAndLinesWithoutTimeGiveNulls) {
  const LogLines log = Stamped({"", "10/Oct/2004:13:55:36 +0900", ""});
  Settings settings;
  settings.PStart = 1;
  settings.PEnd = 3;
  const nlohmann::json parsed = nlohmann::json::parse(Json(log, settings, Ranking()));
  EXPECT_TRUE(parsed["header"]["period"]["from"].is_null());
  EXPECT_TRUE(parsed["header"]["period"]["to"].is_null());
  EXPECT_EQ(parsed["header"]["top_total"], 0);
  EXPECT_TRUE(parsed["rows"].empty());
}

TEST(JsonTest, APeriodNamesTheTimesOfItsLines) {
  const LogLines log = Stamped({"", ""});
  Settings settings;
  auto period = std::make_shared<PeriodLines>();
  period->times = TimeSpan{20241001000000, 20241031235959};
  settings.Period = period;
  const nlohmann::json parsed = nlohmann::json::parse(Json(log, settings, Ranking()));
  EXPECT_EQ(parsed["header"]["period"], nlohmann::json({{"from", "2024-10-01 00:00:00"}, {"to", "2024-10-31 23:59:59"}}));
}

}  // namespace
}  // namespace junmaru
