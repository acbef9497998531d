// The window after things go wrong: a page that cannot be saved, a full
// disk under the page, a settings file that is binary or huge. Each error
// reaches the keeper as the program's own message, the previous page
// survives, and the window goes on working.

#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "check_box.h"
#include "main_window.h"
#include "memo.h"
#include "progress_gauge.h"
#include "spin_edit.h"
#include "status_line.h"
#include "test_support.h"

using junmaru::form::Control;
using junmaru::window::CheckBox;
using junmaru::window::Memo;
using junmaru::window::MessageBox;
using junmaru::window::ProgressGauge;
using junmaru::window::SpinEdit;
using junmaru::window::StatusLine;
using TForm1 = junmaru::window::MainWindow;
using junmaru::window::testing::BoxRecorder;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Native;
using junmaru::window::testing::Q;
using junmaru::window::testing::ReadBytes;
using junmaru::window::testing::WriteBytes;

namespace {

std::string Log(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i)
    text += "10.0.0.1 - - [10/Oct/2004:13:55:" + std::to_string(10 + i % 50) + " +0900] \"GET /dl/f" +
            std::to_string(i % 7) + ".zip HTTP/1.1\" 200 1\n";
  return text;
}

// Limits the size of any file this process writes while it lives, so that
// a save runs into a full disk without needing one.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

}  // namespace

class TestForm1Faults : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void pageThatCannotBeCreatedIsReportedAndGoStillWorks();
  void fullDiskKeepsThePreviousPage();
  void binarySettingsFileGivesTheDefaults();
  void hugeWordListStartsAndCloses();

 private:
  std::string Path(const char* name) const { return Native(folder_->filePath(Q(name))); }
  void StartWindow();
  void PressGo();

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<BoxRecorder> boxes_;
  std::unique_ptr<TForm1> form_;
};

void TestForm1Faults::init() {
  folder_ = std::make_unique<QTemporaryDir>();
  QVERIFY(folder_->isValid());
  boxes_ = std::make_unique<BoxRecorder>();
}

void TestForm1Faults::cleanup() {
  form_.reset();
  boxes_.reset();
  folder_.reset();
}

void TestForm1Faults::StartWindow() { form_ = std::make_unique<TForm1>(Path("junmaru_setting.ini")); }

// GO as the keeper presses it: through the button, so that an error takes
// the way every handler's error takes.
void TestForm1Faults::PressGo() { form_->Get<QPushButton>(Control("BtnGo"))->click(); }

void TestForm1Faults::pageThatCannotBeCreatedIsReportedAndGoStillWorks() {
  StartWindow();
  WriteBytes(folder_->filePath(QStringLiteral("access.log")), Log(30));
  WriteBytes(folder_->filePath(QStringLiteral("gage.gif")), "GIF89a");
  const std::string missing = Path("no-such-folder/ranking.html");
  form_->DataSet(Path("access.log"), missing);
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());

  PressGo();
  QCOMPARE(boxes_->boxes.size(), size_t{1});
  QCOMPARE(boxes_->boxes[0].kind, MessageBox::Kind::kError);
  QCOMPARE(boxes_->boxes[0].caption, Q("順位丸"));
  QCOMPARE(boxes_->boxes[0].text, Q("ファイル ") + QString::fromStdString(missing) + Q(" を作成できません."));
  // The status line names the failure and the gauge no longer stands full.
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(),
           Q("ファイル ") + QString::fromStdString(missing) + Q(" を作成できません."));
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->Progress(), 0);

  // The window is still usable: another place for the page, and GO again.
  form_->SavePass() = Path("ranking.html");
  PressGo();
  QCOMPARE(boxes_->boxes.size(), size_t{1});
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->Caption(), Cp("出力完了！"));
  QVERIFY(!form_->StatusShowsError());
  QVERIFY(ReadBytes(folder_->filePath(QStringLiteral("ranking.html"))).find("</html>\r\n") != std::string::npos);
}

void TestForm1Faults::fullDiskKeepsThePreviousPage() {
  StartWindow();
  WriteBytes(folder_->filePath(QStringLiteral("access.log")), Log(30));
  WriteBytes(folder_->filePath(QStringLiteral("gage.gif")), "GIF89a");
  const std::string previous = "<html>previous page</html>\r\n";
  WriteBytes(folder_->filePath(QStringLiteral("ranking.html")), previous);
  form_->DataSet(Path("access.log"), Path("ranking.html"));
  {
    FileSizeLimit limit(256);  // far less than the page
    PressGo();
  }
  QCOMPARE(boxes_->boxes.size(), size_t{1});
  QCOMPARE(boxes_->boxes[0].text, Q("ストリームへの書き込みエラー."));
  QCOMPARE(ReadBytes(folder_->filePath(QStringLiteral("ranking.html"))), previous);
  // No temporary file is left: only the log, the image and the page.
  QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden).size(), 3);

  PressGo();
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->Caption(), Cp("出力完了！"));
  QVERIFY(ReadBytes(folder_->filePath(QStringLiteral("ranking.html"))) != previous);
}

void TestForm1Faults::binarySettingsFileGivesTheDefaults() {
  std::string garbage;
  for (int i = 0; i < 65536; ++i) garbage.push_back(static_cast<char>((i * 7919) >> 3));
  WriteBytes(folder_->filePath(QStringLiteral("junmaru_setting.ini")), garbage);
  StartWindow();
  QCOMPARE(boxes_->boxes.size(), size_t{0});
  QCOMPARE(form_->Get<SpinEdit>(Control("PRank"))->Value(), 100);
  QCOMPARE(form_->Get<SpinEdit>(Control("FontSize"))->Value(), 80);
  QVERIFY(form_->Get<CheckBox>(Control("Link"))->isChecked());
  form_.reset();  // closing writes the settings into the file it found
  QCOMPARE(boxes_->boxes.size(), size_t{0});
  StartWindow();
  QCOMPARE(form_->Get<SpinEdit>(Control("PRank"))->Value(), 100);
}

void TestForm1Faults::hugeWordListStartsAndCloses() {
  std::string text = "[KinsiWord]\r\n";
  for (int i = 0; i < 100000; ++i) text += "word" + std::to_string(i) + "=OK\r\n";
  WriteBytes(folder_->filePath(QStringLiteral("junmaru_setting.ini")), text);
  StartWindow();
  const auto words = form_->Get<Memo>(Control("Marukin"))->Lines();
  QVERIFY(words.size() > 1000);
  QVERIFY2(words.size() < 100000, "only the keys that fit the key list are read");
  QCOMPARE(words.front(), std::string("word0"));
  form_.reset();
  QCOMPARE(boxes_->boxes.size(), size_t{0});
  const std::string after = ReadBytes(folder_->filePath(QStringLiteral("junmaru_setting.ini")));
  QVERIFY2(after.find("word99999=OK\r\n") != std::string::npos, "no stored word is lost");
}

QTEST_MAIN(TestForm1Faults)
#include "TestForm1Faults.moc"
