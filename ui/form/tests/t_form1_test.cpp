// TForm1's handlers on a window without a toolkit: loading a log, the
// range spinners, the link switch, the settings file at start and close,
// the two file choices and GO.

#include "t_form1.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <utility>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "file_messages.h"
#include "fake_control_set.h"
#include "gzip_writer.h"
#include "messages.h"
#include "report_path.h"
#include "temp_dir.h"

namespace junmaru::form {
namespace {

using testing::FakeControlSet;

constexpr ControlId kPassRead = Control("PassRead"), kLogLine = Control("LogLine"), kLogFirst = Control("LogFirst"),
                    kLogLast = Control("LogLast"), kLogStart = Control("LogStart"), kLogEnd = Control("LogEnd");
constexpr ControlId kPStart = Control("PStart"), kPEnd = Control("PEnd"), kPRank = Control("PRank"),
                    kFontSize = Control("FontSize");
constexpr ControlId kLink = Control("Link"), kPrefix = Control("Prefix"), kCBG = Control("CBG"),
                    kMarukin = Control("Marukin"), kCDouga = Control("CDouga");

std::string Cp(const char* utf8) { return Utf8ToCp932(utf8); }

// Line n (1-based) of a log: a download stamped 10 Oct 2004, 13:mm:ss, n
// seconds after 13:00:00.
std::string LogLine(int n) {
  char line[128];
  std::snprintf(line, sizeof line, "10.0.0.1 - - [10/Oct/2004:13:%02d:%02d +0900] \"GET /dl/f%d.zip HTTP/1.1\" 200 5\r\n",
                n / 60, n % 60, n % 3);
  return line;
}
std::string Log(int lines) {
  std::string log;
  for (int n = 1; n <= lines; ++n) log += LogLine(n);
  return log;
}
// The timestamp text of line n of that log.
std::string Stamp(int n) {
  char text[64];
  std::snprintf(text, sizeof text, "2004年10月10日 13時%02d分%02d秒", n / 60, n % 60);
  return Cp(text);
}

class TForm1Test : public ::testing::Test {
 protected:
  TForm1Test() { controls.form = &form; }

  std::string Load(const std::string& log_bytes) {
    const std::string log = folder.Write("access.log", log_bytes);
    form.DataSet(log, folder.File("ranking.html"));
    return log;
  }
  std::string& Caption(ControlId label) { return controls[label].text; }
  std::string SpinText(ControlId spin) { return controls.SpinText(spin); }

  junmaru::testing::TempDir folder;
  FakeControlSet controls;
  TForm1 form{controls, folder.File("junmaru_setting.ini")};
};

TEST_F(TForm1Test, LoadShowsTheLogAndOffersAllOfItsLines) {
  Load(Log(100));
  EXPECT_EQ(Caption(kLogLine), Cp("100 行"));
  EXPECT_EQ(SpinText(kPStart), "1");
  EXPECT_EQ(controls.SpinMax(kPStart), 99);
  EXPECT_EQ(SpinText(kPEnd), "100");
  EXPECT_EQ(controls.SpinMax(kPEnd), 100);
  EXPECT_EQ(Caption(kLogStart), Stamp(1) + Cp(" から"));
  EXPECT_EQ(Caption(kLogEnd), Stamp(100) + Cp(" までを集計"));
  EXPECT_TRUE(controls.run_enabled);
  EXPECT_EQ(controls.status, Cp("待機中（ログ読み込み完了）"));
}

// Only the first and the last line are read, and the end is labelled anew
// although a log of the same length leaves PEnd's value as it was.
TEST_F(TForm1Test, LoadReadsOnlyTheFirstAndLastLine) {
  Load(Log(4));
  Load(LogLine(1) + "no stamp\r\nno stamp\r\n" + LogLine(59));
  EXPECT_FALSE(controls.status_error);
  EXPECT_TRUE(controls.run_enabled);
  EXPECT_EQ(Caption(kLogEnd), Stamp(59) + Cp(" までを集計"));
}

// A gzip-compressed log loads as the text it holds; a damaged one is
// named, and the log before stays loaded.
TEST_F(TForm1Test, GzipLogLoadsAsItsText) {
  const std::string packed = junmaru::testing::Gzip(Log(100));
  const std::string log = folder.Write("access.log.1.gz", packed);
  form.DataSet(log, folder.File("ranking.html"));
  EXPECT_EQ(Caption(kLogLine), Cp("100 行"));
  EXPECT_EQ(Caption(kLogFirst), Stamp(1));
  EXPECT_EQ(Caption(kLogLast), Stamp(100));
  EXPECT_TRUE(controls.run_enabled);

  const std::string cut = folder.Write("cut.gz", packed.substr(0, packed.size() / 2));
  try {
    form.DataSet(cut, folder.File("ranking.html"));
    ADD_FAILURE() << "a cut .gz loaded";
  } catch (const junmaru::Error& error) {
    EXPECT_NE(std::string(error.what()).find(PathForMessage(cut)), std::string::npos);
  }
  EXPECT_EQ(form.Lines().Count(), 100u);
}

TEST_F(TForm1Test, MissingLogKeepsTheLogBefore) {
  Load(Log(5));
  form.DataSet(folder.File("gone.log"), folder.File("other.html"));
  EXPECT_TRUE(controls.status_error);
  EXPECT_EQ(controls.status, messages::LogFileMissing());
  EXPECT_EQ(form.SavePass(), folder.File("other.html"));
  EXPECT_EQ(form.Lines().Count(), 5u);
  EXPECT_TRUE(controls.run_enabled);
}

// Logs that offer no range leave GO and the range spinners off, and the
// status line says why; a log too short for a range shows its lines in
// the range boxes.
TEST_F(TForm1Test, LogsWithoutARange) {
  struct Case {
    const char* name;
    std::string log;
    bool throws;
    const std::string& status;
    std::string start, end;  // the range boxes; the earlier log's when empty
  };
  const Case cases[] = {
      {"empty", "", true, messages::LogTooShort(), "0", "0"},
      {"one line", LogLine(1), false, messages::LogTooShort(), "1", "1"},
      {"first line without timestamp", "no stamp\r\n" + LogLine(2), false, messages::LogFormatError(), "1", "10"},
      {"last line without timestamp", LogLine(1) + "no stamp\r\n", false, messages::LogFormatError(), "1", "10"},
  };
  for (const Case& c : cases) {
    FakeControlSet controls;
    TForm1 form(controls, folder.File("junmaru_setting.ini"));
    controls.form = &form;
    form.DataSet(folder.Write("access.log", Log(10)), folder.File("ranking.html"));  // a range to lose
    const std::string log = folder.Write("access.log", c.log);
    if (c.throws) {
      EXPECT_THROW(form.DataSet(log, folder.File("ranking.html")), Error) << c.name;
    } else {
      form.DataSet(log, folder.File("ranking.html"));
    }
    EXPECT_FALSE(controls.run_enabled) << c.name;
    EXPECT_TRUE(controls.status_error) << c.name;
    EXPECT_EQ(controls.status, c.status) << c.name;
    EXPECT_EQ(controls[kPStart].text, c.start) << c.name;
    EXPECT_EQ(controls[kPEnd].text, c.end) << c.name;
  }
}

// Each row types into PEnd, PStart, then PEnd on a freshly loaded log
// ("" types nothing), then reads both spinners and the lines their labels name.
TEST_F(TForm1Test, RangeSpinnersKeepTheStartBelowTheEnd) {
  struct Case {
    const char* name;
    int lines;
    const char *end_first, *start, *end;
    const char *shown_start, *shown_end;
    int start_label, end_label;
  };
  const Case cases[] = {
      {"end lowered to the start pulls the start", 100, "50", "40", "40", "39", "40", 39, 40},
      {"start raised to the end pushes the end", 100, "50", "50", "", "50", "51", 50, 51},
      {"start typed beyond its maximum is left alone", 100, "", "100", "", "100", "100", 1, 100},
      {"two lines: start stepped to 2 comes back", 2, "", "2", "", "1", "2", 1, 2},
      {"two lines: end stepped to 3 comes back", 2, "", "", "3", "1", "2", 1, 2},
  };
  for (const Case& c : cases) {
    Load(Log(c.lines));
    for (auto [spin, text] : {std::pair{kPEnd, c.end_first}, {kPStart, c.start}, {kPEnd, c.end}}) {
      if (*text) controls.SetSpinText(spin, text);
    }
    EXPECT_EQ(SpinText(kPStart), c.shown_start) << c.name;
    EXPECT_EQ(SpinText(kPEnd), c.shown_end) << c.name;
    EXPECT_EQ(Caption(kLogStart), Stamp(c.start_label) + Cp(" から")) << c.name;
    EXPECT_EQ(Caption(kLogEnd), Stamp(c.end_label) + Cp(" までを集計")) << c.name;
  }
  EXPECT_TRUE(controls.errors.empty());
}

TEST_F(TForm1Test, RangeOnALineWithoutTimestampIsTheFormatError) {
  Load(LogLine(1) + LogLine(2) + "no stamp\r\n" + LogLine(4) + LogLine(5));
  controls.SetSpinValue(kPEnd, 3);
  EXPECT_EQ(Caption(kLogEnd), Cp(" までを集計"));
  EXPECT_TRUE(controls.status_error);
  EXPECT_FALSE(controls.run_enabled);
}

TEST_F(TForm1Test, LinkSwitchesThePrefix) {
  controls.SetEditText(kPrefix, "../");
  controls.SetChecked(kLink, true);
  EXPECT_TRUE(controls[kPrefix].enabled);
  EXPECT_EQ(controls[kPrefix].colour, colours::kWhite);
  controls.SetChecked(kLink, false);
  EXPECT_FALSE(controls[kPrefix].enabled);
  EXPECT_EQ(controls[kPrefix].colour, colours::kGaugeIdle);
  EXPECT_EQ(controls.EditText(kPrefix), "../");
}

TEST_F(TForm1Test, ChoosingTheLogPutsTheReportBesideIt) {
  const std::string log = folder.Write("access.log", Log(5));
  controls.dialog_answers = {folder.File("elsewhere.html"), log, std::nullopt};
  controls.Run(&TForm1::BtnSaveClick);
  EXPECT_EQ(form.SavePass(), folder.File("elsewhere.html"));
  controls.Run(&TForm1::BtnReadClick);
  EXPECT_EQ(form.SavePass(), ReportPathFor(log));  // beside the log, replacing the one chosen
  EXPECT_EQ(form.Lines().Count(), 5u);
  controls.Run(&TForm1::BtnReadClick);  // cancelled
  EXPECT_EQ(form.ReadPass(), log);
  EXPECT_EQ(controls.dialogs_shown,
            (std::vector<ControlId>{Control("SaveDialog"), Control("OpenDialog"), Control("OpenDialog")}));
}

// GO reads its settings from the controls: here the memo's word drops
// f1.zip and the range leaves out the first line.
TEST_F(TForm1Test, GoWritesThePageFromTheControls) {
  Load(Log(9));
  controls[kMarukin].lines = {"f1"};
  controls.SetSpinValue(kPStart, 2);
  controls.Run(&TForm1::BtnGoClick);
  ASSERT_TRUE(controls.errors.empty());
  EXPECT_EQ(controls.status, Cp("出力完了！"));
  EXPECT_EQ(controls.progress, 1000);
  const std::string page = junmaru::testing::ReadBytes(folder.File("ranking.html"));
  EXPECT_NE(page.find(Cp("13時00分02秒～")), std::string::npos);
  EXPECT_NE(page.find("/dl/f2.zip"), std::string::npos);
  EXPECT_EQ(page.find("/dl/f1.zip"), std::string::npos);
}

// A run started from the keyboard while a spin edit holds a typed value
// outside its limits: the value is taken first, as leaving the box takes it.
TEST_F(TForm1Test, GoTakesAValueTypedBeyondItsLimitsFirst) {
  struct Case {
    ControlId spin;
    const char* typed;
    const char* start;
    const char* end;
  };
  const Case cases[] = {
      {kPEnd, "300", "1", "9"},
      {kPEnd, "1", "1", "2"},
      {kPStart, "0", "1", "9"},
      {kPStart, "300", "8", "9"},
  };
  for (const Case& c : cases) {
    Load(Log(9));
    controls.SetSpinText(c.spin, c.typed);  // typed: the handler leaves it for now
    ASSERT_EQ(SpinText(c.spin), c.typed);
    controls.Run(&TForm1::BtnGoClick);
    ASSERT_TRUE(controls.errors.empty()) << c.typed;
    EXPECT_EQ(SpinText(kPStart), c.start) << c.typed;
    EXPECT_EQ(SpinText(kPEnd), c.end) << c.typed;
    EXPECT_EQ(controls.status, Cp("出力完了！")) << c.typed;
  }
}

// A run that fails says so on the status line, in the error colour, with
// the gauge back at 0 on grey; the next run that succeeds clears the colour.
TEST_F(TForm1Test, FailedRunLeavesItsErrorOnTheStatusLine) {
  Load(Log(9));
  controls[kPEnd].text = "12";  // a range past the log's end
  controls[kPEnd].maximum = 12;
  controls.Run(&TForm1::BtnGoClick);
  ASSERT_EQ(controls.errors.size(), 1u);
  EXPECT_EQ(controls.errors[0], messages::ListIndexOutOfRange(9));
  EXPECT_EQ(controls.status, controls.errors[0]);
  EXPECT_TRUE(controls.status_error);
  EXPECT_EQ(controls.progress, 0);
  EXPECT_EQ(controls.gauge_back, colours::kGaugeIdle);

  controls[kPEnd].text = "9";
  controls[kPEnd].maximum = 9;
  controls.Run(&TForm1::BtnGoClick);
  EXPECT_EQ(controls.status, Cp("出力完了！"));
  EXPECT_FALSE(controls.status_error);
}

// A load's status line speaks of that load only.
TEST_F(TForm1Test, LoadClearsTheEarlierStatusText) {
  form.DataSet(folder.File("gone.log"), folder.File("ranking.html"));
  ASSERT_EQ(controls.status, messages::LogFileMissing());
  EXPECT_THROW(Load(""), Error);
  EXPECT_EQ(controls.status, messages::LogTooShort());
}

TEST_F(TForm1Test, GoWithoutARangeWritesNothing) {
  Load(Log(1));
  controls.Run(&TForm1::BtnGoClick);
  EXPECT_EQ(junmaru::testing::ReadBytes(folder.File("ranking.html")), "");
  EXPECT_EQ(controls.progress, 0);
}

TEST_F(TForm1Test, FirstStartWithoutSettingsFile) {
  form.FormCreate();
  EXPECT_EQ(Caption(kPassRead), DesignText(kPassRead));  // nothing loaded
  EXPECT_TRUE(controls.Checked(kLink));
  EXPECT_TRUE(controls[kPrefix].enabled);
  EXPECT_EQ(controls[kMarukin].lines, (std::vector<std::string>{Cp("例)禁止ワード1"), Cp("例)禁止ワード2")}));
  form.FormDestroy();
  const std::string ini = junmaru::testing::ReadBytes(folder.File("junmaru_setting.ini"));
  EXPECT_EQ(ini.find("[FilePass]\r\nReadPass=0\r\nSavePass=0\r\n[ExtentionFilter]\r\n"), 0u) << ini;
}

// Stored values reach the controls through their rules and go back as the
// controls read them.
TEST_F(TForm1Test, StoredValuesComeBackThroughTheControls) {
  folder.Write("junmaru_setting.ini",
               "[ExtentionFilter]\r\nCDouga=2\r\n[Ranking]\r\nTopCount=5\r\n"
               "[HTML]\r\nFontSize=0x50\r\nLink=0\r\nCBG=red\r\n[KinsiWord]\r\nadmin=OK\r\n");
  form.FormCreate();
  EXPECT_TRUE(controls.Checked(kCDouga));
  EXPECT_EQ(SpinText(kPRank), "10");
  EXPECT_EQ(SpinText(kFontSize), "80");
  EXPECT_FALSE(controls.Checked(kLink));
  EXPECT_FALSE(controls[kPrefix].enabled);
  EXPECT_EQ(controls.EditText(kCBG), "red");
  EXPECT_EQ(controls[kMarukin].lines, std::vector<std::string>{"admin"});
  controls[kMarukin].lines.push_back("spam");
  form.FormDestroy();
  const std::string ini = junmaru::testing::ReadBytes(folder.File("junmaru_setting.ini"));
  EXPECT_NE(ini.find("CDouga=1\r\n"), std::string::npos);
  EXPECT_NE(ini.find("TopCount=10\r\n"), std::string::npos);
  EXPECT_NE(ini.find("[KinsiWord]\r\nadmin=OK\r\nspam=OK\r\n"), std::string::npos) << ini;
}

// The counting rules of [Count] reach the run; one stored malformed is
// shown and that rule is off; the close writes none of them back, as none
// was changed.
TEST_F(TForm1Test, StoredCountingRulesRunAndStayAsStored) {
  const std::string line = "10.0.0.1 - - [10/Oct/2004:13:00:01 +0900] \"GET /dl/a.zip HTTP/2.0\" ";
  const std::string log = folder.Write("access.log", line + "200 5\r\n" + line + "206 5\r\n" + line + "404 5\r\n");
  const std::string count = "[Count]\r\nAnyHttp=1\r\nStatus=200;206\r\nBots=1\r\n";
  const std::string ini = folder.Write("junmaru_setting.ini", count + "[FilePass]\r\nReadPass=" + log +
                                                                "\r\nSavePass=" + folder.File("r.html") + "\r\n");
  form.FormCreate();
  // The crawler list lies beside the test programs as beside the window.
  EXPECT_EQ(controls.errors,
            std::vector<std::string>{messages::StatusListBad(ini, "200;206") + messages::CountRuleTurnedOff("Status")});
  controls.Run(&TForm1::BtnGoClick);
  EXPECT_NE(junmaru::testing::ReadBytes(folder.File("r.html")).find("<td>3</td>"), std::string::npos);
  form.FormDestroy();
  EXPECT_EQ(junmaru::testing::ReadBytes(ini).substr(0, count.size()), count);
}

// A switch stored in the settings file (the rank changes) drives GO
// without the dialog ever being opened, and is written back as it was.
TEST_F(TForm1Test, StoredSwitchDrivesGoAndIsKept) {
  folder.Write("junmaru_setting.ini", "[HTML]\r\nTrend=1\r\n");
  form.FormCreate();
  Load(Log(9));
  controls.SetSpinValue(kPStart, 5);
  controls.Run(&TForm1::BtnGoClick);
  ASSERT_TRUE(controls.errors.empty());
  // Lines 5 to 9 span 13:00:05 to 13:00:09; the log begins after 13:00:00.
  EXPECT_NE(junmaru::testing::ReadBytes(folder.File("ranking.html")).find(Cp("前回（データ不足）")), std::string::npos);
  form.FormDestroy();
  EXPECT_NE(junmaru::testing::ReadBytes(folder.File("junmaru_setting.ini")).find("Trend=1\r\n"), std::string::npos);
}

// With Export on, GO writes the ranking also as ranking.csv (code page
// 932, CR LF) and ranking.json beside the page, whatever the page's name;
// off, neither. An export that cannot be written is named on the status
// line and in the error display, and the page stays as it was.
TEST_F(TForm1Test, ExportWritesCsvAndJsonBesideThePage) {
  const std::string log = folder.Write("access.log", Log(9));
  folder.Write("junmaru_setting.ini", "[FilePass]\r\nReadPass=" + log + "\r\nSavePass=" + folder.File("r.html") + "\r\n");
  form.FormCreate();
  controls.Run(&TForm1::BtnGoClick);
  EXPECT_EQ(folder.Entries(), "access.log junmaru_setting.ini r.html");

  controls.SetChecked(Control("Export"), true);
  controls.Run(&TForm1::BtnGoClick);
  ASSERT_TRUE(controls.errors.empty()) << controls.errors[0];
  EXPECT_EQ(folder.Entries(), "access.log junmaru_setting.ini r.html ranking.csv ranking.json");
  EXPECT_EQ(junmaru::testing::ReadBytes(folder.File("ranking.csv")),
            Cp("順位,パス,ファイル名,DL数\r\n1,/dl/f2.zip,/dl/f2.zip,3\r\n1,/dl/f1.zip,/dl/f1.zip,3\r\n1,/dl/f0.zip,/dl/f0.zip,3\r\n"));
  EXPECT_NE(junmaru::testing::ReadBytes(folder.File("ranking.json")).find("\"path\":\"/dl/f2.zip\""), std::string::npos);

  const std::string page = junmaru::testing::ReadBytes(folder.File("r.html"));
  const std::string json = PathInFolder(folder.path(), "ranking.json");
  std::filesystem::remove(json);
  std::filesystem::create_directory(json);
  controls.SetEditText(Control("CBG"), "#123456");
  controls.Run(&TForm1::BtnGoClick);
  EXPECT_EQ(controls.errors, std::vector<std::string>{messages::CannotCreate(PathForMessage(json)) + "."});
  EXPECT_TRUE(controls.status_error);
  EXPECT_EQ(junmaru::testing::ReadBytes(folder.File("r.html")), page);
}

// A remembered log that fails to load is shown, and the other stored
// values are still read, so the close does not store design values.
TEST_F(TForm1Test, RememberedLogThatFailsStillReadsTheRest) {
  const std::string log = folder.Write("access.log", "");
  folder.Write("junmaru_setting.ini", "[FilePass]\r\nReadPass=" + log + "\r\nSavePass=" + folder.File("r.html") +
                                          "\r\n[Ranking]\r\nTopCount=300\r\n");
  form.FormCreate();
  EXPECT_EQ(controls.errors, std::vector<std::string>{messages::ListIndexOutOfRange(0)});
  EXPECT_EQ(SpinText(kPRank), "300");
}

// The dialog of the counting rules: OK takes its values for the next GO
// once the status list reads well (a list that does not is named and the
// dialog stays open), Cancel puts back what it held, and the close writes
// the rules that changed.
TEST_F(TForm1Test, CountDialogTakesItsValuesOnOkOnly) {
  const ControlId any_http = Control("AnyHttp"), status = Control("Status");
  const std::string line = "10.0.0.1 - - [10/Oct/2004:13:00:01 +0900] \"GET /dl/a.zip HTTP/2.0\" ";
  const std::string log = folder.Write("access.log", line + "200 5\r\n" + line + "206 5\r\n" + line + "404 5\r\n");
  folder.Write("junmaru_setting.ini",
               "[FilePass]\r\nReadPass=" + log + "\r\nSavePass=" + folder.File("r.html") + "\r\n");
  form.FormCreate();
  auto go_count = [&] {
    controls.Run(&TForm1::BtnGoClick);
    const std::string page = junmaru::testing::ReadBytes(folder.File("r.html"));
    return page.find("/dl/a.zip") == std::string::npos ? "none" : page.substr(page.rfind("<td>", page.rfind("</td>")), 10);
  };
  EXPECT_EQ(go_count(), "none");  // HTTP/2 is not read by default

  using Answer = FakeControlSet::ModalAnswer;
  controls.modal_answers = {
      Answer{[&](FakeControlSet& c) {
               c.SetChecked(any_http, true);
               c.SetEditText(status, "20x");
             },
             true},
      Answer{[&](FakeControlSet& c) { c.SetEditText(status, " 200, 404 "); }, true},
  };
  controls.Run(&TForm1::BtnCountClick);
  EXPECT_EQ(controls.errors, std::vector<std::string>{messages::StatusListTyped("20x")});
  EXPECT_EQ(controls.dialogs_shown, std::vector<ControlId>{kCountDialog.window});
  EXPECT_EQ(go_count(), "<td>2</td>");

  controls.modal_answers = {Answer{[&](FakeControlSet& c) {
                                     c.SetChecked(any_http, false);
                                     c.SetEditText(status, "20x");
                                   },
                                   false}};
  controls.Run(&TForm1::BtnCountClick);
  EXPECT_TRUE(controls.Checked(any_http));
  EXPECT_EQ(controls.EditText(status), "200, 404");  // as the list reads it, without blanks at either end
  EXPECT_EQ(go_count(), "<td>2</td>");

  form.FormDestroy();
  const std::string ini = junmaru::testing::ReadBytes(folder.File("junmaru_setting.ini"));
  EXPECT_NE(ini.find("[Count]\r\nAnyHttp=1\r\nStatus=200, 404\r\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("Bots"), std::string::npos) << ini;
}

}  // namespace
}  // namespace junmaru::form
