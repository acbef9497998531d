// The settings file at the window's start and close: defaults on a first
// start, every value read into its control and written back, the paths and
// the remembered log, the exclusion words that only grow, and the failures.

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "check_box.h"
#include "file_dialog.h"
#include "label.h"
#include "main_window.h"
#include "memo.h"
#include "profile_file.h"
#include "settings.h"
#include "spin_edit.h"
#include "status_line.h"
#include "test_support.h"

using junmaru::form::Control;
using junmaru::window::CheckBox;
using junmaru::window::FileDialog;
using junmaru::window::Label;
using junmaru::window::Memo;
using junmaru::window::MessageBox;
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

// Settings file text written as UTF-8 lines, stored as code page 932 with CR LF.
std::string IniText(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += Cp(line) + "\r\n";
  return text;
}

// What a control shows: a spin edit's or edit's text, a check box as 1 or 0.
QString Shown(QWidget* control) {
  if (auto* spin = qobject_cast<SpinEdit*>(control)) return spin->Editor()->text();
  if (auto* check = qobject_cast<CheckBox*>(control)) return check->isChecked() ? "1" : "0";
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
  return QString();
}

const char kLog[] =
    "10.0.0.1 - - [10/Oct/2004:13:55:36 +0900] \"GET /dl/a.lzh HTTP/1.1\" 200 1\r\n"
    "10.0.0.2 - - [10/Oct/2004:14:00:00 +0900] \"GET /dl/b.lzh HTTP/1.1\" 200 1\r\n"
    "10.0.0.3 - - [11/Oct/2004:08:00:05 +0900] \"GET /dl/a.lzh HTTP/1.1\" 200 1\r\n";

}  // namespace

class TestForm1Settings : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void settingsFileIsBesideTheProgram();
  void firstStartWithoutSettingsFile();
  void storedValueReadAndWrittenBack_data();
  void storedValueReadAndWrittenBack();
  void linkStoredOffLeavesPrefixDisabled();
  void rememberedLogIsLoadedAtStart();
  void japaneseFolderIsStoredInCodePage932();
  void rememberedPathsAreKept_data();
  void rememberedPathsAreKept();
  void failedRememberedLogStillReadsTheRest();
  void deletedWordComesBackInItsPlace();
  void memoLinesBecomeKeys_data();
  void memoLinesBecomeKeys();
  void writeFailureIsShown();
  void startToCloseCycleRestoresEverything();

 private:
  QString Path(const char* name) const { return folder_->filePath(QString::fromUtf8(name)); }
  void Start() { form_ = new TForm1(ini_); }
  void Close() {
    delete form_;
    form_ = nullptr;
  }
  std::string Stored(const char* section, const char* key) const {
    return junmaru::ProfileFile(ini_).ReadString(section, key, "<none>");
  }

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<BoxRecorder> boxes_;
  std::string ini_;
  TForm1* form_ = nullptr;
};

void TestForm1Settings::init() {
  folder_ = std::make_unique<QTemporaryDir>();
  QVERIFY(folder_->isValid());
  boxes_ = std::make_unique<BoxRecorder>();
  ini_ = Native(Path("junmaru_setting.ini"));
}

void TestForm1Settings::cleanup() {
  Close();
  FileDialog::ClearAnswers();
  boxes_.reset();
  folder_.reset();
}

void TestForm1Settings::settingsFileIsBesideTheProgram() {
  QCOMPARE(QString::fromStdString(junmaru::ProgramSettingsPath()),
           QCoreApplication::applicationDirPath() + QStringLiteral("/junmaru_setting.ini"));
}

// Nothing is loaded; Link ends up checked and the memo holds the example
// words; the close writes the five sections in order, every value at its
// default and both paths "0".
void TestForm1Settings::firstStartWithoutSettingsFile() {
  Start();
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("ログ未選択"));
  QCOMPARE(form_->Get<Label>(Control("PassRead"))->text(), Q("読込ログファイルパス"));
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(form_->Get<CheckBox>(Control("Link"))->isChecked());
  QVERIFY(form_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Active, QPalette::Base),
           QColor(Qt::white));
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->Lines(),
           (std::vector<std::string>{Cp("例)禁止ワード1"), Cp("例)禁止ワード2")}));
  QVERIFY(!QFile::exists(QString::fromStdString(ini_)));  // reading creates nothing
  Close();
  QCOMPARE(ReadBytes(QString::fromStdString(ini_)),
           IniText({"[FilePass]", "ReadPass=0", "SavePass=0", "[ExtentionFilter]", "CDouga=0", "COnsei=0",
                    "CSyoko=0", "CJpeg=0", "CGazou=1", "CText=1", "CExe=1", "CHtml=1", "CCss=1", "CCgi=1",
                    "[Ranking]", "TopCount=100", "[HTML]", "CBG=#000055", "CBorder=#5599CC", "CText1=#FFFFFF",
                    "CText2=#88F0AA", "CLink=#33CCCC", "ALink=#669966", "VLink=#CC3366", "FontSize=80",
                    "NameMax=40", "Link=1", "Prefix=./", "[KinsiWord]", "例)禁止ワード1=OK", "例)禁止ワード2=OK"}));
  QVERIFY(boxes_->boxes.empty());
}

void TestForm1Settings::storedValueReadAndWrittenBack_data() {
  QTest::addColumn<QString>("section");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("stored");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("written");
  auto row = [](const char* name, const char* section, const char* key, const char* stored, const char* shown,
                const char* written, const char* control = nullptr) {
    QTest::newRow(name) << QString(section) << QString(key) << QString(control ? control : key) << Q(stored)
                        << Q(shown) << Q(written);
  };
  row("TopCount 5 shows 10", "Ranking", "TopCount", "5", "10", "10", "PRank");
  row("TopCount a word shows 100", "Ranking", "TopCount", "many", "100", "100", "PRank");
  row("CDouga 2 is checked", "ExtentionFilter", "CDouga", "2", "1", "1");
  row("CDouga a word is the default", "ExtentionFilter", "CDouga", "yes", "0", "0");
  row("CCgi 0 is unchecked", "ExtentionFilter", "CCgi", "0", "0", "0");
  row("FontSize 0x50 is 80", "HTML", "FontSize", "0x50", "80", "80");
  row("NameMax beyond the limit", "HTML", "NameMax", "20000", "10000", "10000");
  row("a colour kept as text", "HTML", "CBG", "赤", "赤", "赤");
  row("a quoted prefix keeps its blanks", "HTML", "Prefix", "\" ../ \"", " ../ ", " ../ ");
  row("section and key in other case", "html", "fontsize", "120", "120", "120", "FontSize");
}

void TestForm1Settings::storedValueReadAndWrittenBack() {
  QFETCH(QString, section);
  QFETCH(QString, key);
  QFETCH(QString, control);
  QFETCH(QString, stored);
  QFETCH(QString, shown);
  QFETCH(QString, written);
  const std::string line = (key + "=" + stored).toStdString();
  QVERIFY(WriteBytes(QString::fromStdString(ini_),
                     IniText({("[" + section.toStdString() + "]").c_str(), line.c_str()})));
  Start();
  auto* widget = form_->findChild<QWidget*>(control);
  QVERIFY(widget);
  QCOMPARE(Shown(widget), shown);
  Close();
  QCOMPARE(Stored(section.toStdString().c_str(), key.toStdString().c_str()), Cp(written.toStdString().c_str()));
}

// The state does not change, so the click handler does not run.
void TestForm1Settings::linkStoredOffLeavesPrefixDisabled() {
  QVERIFY(WriteBytes(QString::fromStdString(ini_), IniText({"[HTML]", "Link=0", "Prefix=../"})));
  Start();
  QVERIFY(!form_->Get<CheckBox>(Control("Link"))->isChecked());
  QVERIFY(!form_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Disabled, QPalette::Base),
           QColor(0xCC, 0xCC, 0xCC));
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->text(), QStringLiteral("../"));
}

void TestForm1Settings::rememberedLogIsLoadedAtStart() {
  QVERIFY(WriteBytes(Path("access.log"), kLog));
  const std::string log = Native(Path("access.log"));
  const std::string report = Native(Path("site/ranking.html"));
  QVERIFY(WriteBytes(QString::fromStdString(ini_),
                     IniText({"[FilePass]", ("ReadPass=" + log).c_str(), ("SavePass=" + report).c_str(),
                              "[ExtentionFilter]", "CDouga=1"})));
  Start();
  QCOMPARE(form_->ReadPass(), log);
  QCOMPARE(form_->SavePass(), report);
  QCOMPARE(form_->Get<Label>(Control("PassRead"))->Caption(), log);
  QCOMPARE(form_->Get<Label>(Control("PassSave"))->Caption(), report);
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("3 行"));
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->Value(), 3);
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("待機中（ログ読み込み完了）"));
  QVERIFY(form_->Get<CheckBox>(Control("CDouga"))->isChecked());
}

// The file is code page 932 however the file system names things: a log in
// a Japanese folder, remembered as Windows writes it, loads, and the close
// stores both paths in code page 932 again.
void TestForm1Settings::japaneseFolderIsStoredInCodePage932() {
  QVERIFY(QDir(folder_->path()).mkdir(Q("ログ置き場")));
  QVERIFY(WriteBytes(Path("ログ置き場/access.log"), kLog));
  const std::string stored_log = Cp(Path("ログ置き場/access.log").toUtf8().constData());
  const std::string stored_page = Cp(Path("ログ置き場/ranking.html").toUtf8().constData());
  QVERIFY(WriteBytes(QString::fromStdString(ini_), "[FilePass]\r\nReadPass=" + stored_log + "\r\nSavePass=" +
                                                       stored_page + "\r\n"));
  Start();
  QCOMPARE(form_->ReadPass(), Native(Path("ログ置き場/access.log")));
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("3 行"));
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  Close();
  QCOMPARE(Stored("FilePass", "ReadPass"), stored_log);
  QCOMPARE(Stored("FilePass", "SavePass"), stored_page);
}

void TestForm1Settings::rememberedPathsAreKept_data() {
  QTest::addColumn<QString>("readPass");
  QTest::addColumn<QString>("savePass");
  QTest::addColumn<bool>("loadTried");  // the missing log is reported
  QTest::newRow("log set, report 0: nothing loaded") << "access.log" << "0" << false;
  QTest::newRow("log gone: reported, kept") << "gone.log" << "out.html" << true;
  QTest::newRow("log path empty: it is not 0") << "" << "out.html" << true;
  QTest::newRow("log 0, report set: nothing loaded") << "0" << "out.html" << false;
}

void TestForm1Settings::rememberedPathsAreKept() {
  QFETCH(QString, readPass);
  QFETCH(QString, savePass);
  QFETCH(bool, loadTried);
  QVERIFY(WriteBytes(Path("access.log"), kLog));
  auto full = [this](const QString& name) {
    return name.isEmpty() || name == "0" ? name.toStdString() : Native(folder_->filePath(name));
  };
  const std::string read = full(readPass), save = full(savePass);
  QVERIFY(WriteBytes(QString::fromStdString(ini_),
                     IniText({"[FilePass]", ("ReadPass=" + read).c_str(), ("SavePass=" + save).c_str()})));
  Start();
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("ログ未選択"));
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QCOMPARE(form_->StatusShowsError(), loadTried);
  if (loadTried) {
    QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("エラー\u3000読み込みファイルが選択先に存在しません"));
  } else {
    QCOMPARE(form_->Get<Label>(Control("PassRead"))->text(), Q("読込ログファイルパス"));
  }
  Close();
  QCOMPARE(Stored("FilePass", "ReadPass"), read);
  QCOMPARE(Stored("FilePass", "SavePass"), save);
}

// The remembered log has no lines: the error is shown, and the stored
// settings still reach the window, so the close keeps them.
void TestForm1Settings::failedRememberedLogStillReadsTheRest() {
  QVERIFY(WriteBytes(Path("empty.log"), ""));
  const std::string log = Native(Path("empty.log"));
  QVERIFY(WriteBytes(QString::fromStdString(ini_),
                     IniText({"[FilePass]", ("ReadPass=" + log).c_str(), "SavePass=/x/ranking.html",
                              "[ExtentionFilter]", "CDouga=1", "CCgi=0", "[Ranking]", "TopCount=30", "[HTML]",
                              "CBG=#123456", "Link=0", "Prefix=../", "[KinsiWord]", "admin=OK"})));
  Start();
  QCOMPARE(boxes_->boxes.size(), std::size_t{1});
  QCOMPARE(boxes_->boxes[0].text, Q("リストのインデックスが範囲を超えています (0)"));
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("0 行"));
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(form_->Get<CheckBox>(Control("CDouga"))->isChecked());
  QVERIFY(!form_->Get<CheckBox>(Control("CCgi"))->isChecked());
  QCOMPARE(form_->Get<SpinEdit>(Control("PRank"))->Value(), 30);
  QCOMPARE(form_->Get<QLineEdit>(Control("CBG"))->text(), QStringLiteral("#123456"));
  QVERIFY(!form_->Get<CheckBox>(Control("Link"))->isChecked());
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->Lines(), std::vector<std::string>{"admin"});
  Close();
  QCOMPARE(Stored("ExtentionFilter", "CDouga"), "1");
  QCOMPARE(Stored("ExtentionFilter", "CCgi"), "0");
  QCOMPARE(Stored("Ranking", "TopCount"), "30");
  QCOMPARE(Stored("HTML", "CBG"), "#123456");
  QCOMPARE(Stored("HTML", "Link"), "0");
  QCOMPARE(Stored("HTML", "Prefix"), "../");
  QCOMPARE(Stored("FilePass", "ReadPass"), log);
}

void TestForm1Settings::deletedWordComesBackInItsPlace() {
  QVERIFY(WriteBytes(QString::fromStdString(ini_), IniText({"[KinsiWord]", "alpha=OK", "beta=OK", "gamma=OK"})));
  Start();
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->Lines(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  form_->Get<Memo>(Control("Marukin"))->setPlainText(QStringLiteral("alpha\ngamma\ndelta"));
  Close();
  Start();
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->Lines(),
           (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
}

void TestForm1Settings::memoLinesBecomeKeys_data() {
  QTest::addColumn<QString>("memo");
  QTest::addColumn<QStringList>("next");  // the memo at the next start
  QTest::newRow("case variants are one key, the first spelling stays")
      << "Admin\nADMIN\nadmin" << QStringList{"Admin"};
  QTest::newRow("full-width case variants too") << Q("ＡＢＣ\nａｂｃ") << QStringList{Q("ＡＢＣ")};
  QTest::newRow("a word holding = comes back cut") << "a=b\nc" << QStringList{"a", "c"};
  QTest::newRow("blanks around a word go") << "  spaced word  \nx" << QStringList{"spaced word", "x"};
  QTest::newRow("an empty line does not come back") << "x\n\ny" << QStringList{"x", "y"};
}

void TestForm1Settings::memoLinesBecomeKeys() {
  QFETCH(QString, memo);
  QFETCH(QStringList, next);
  Start();
  form_->Get<Memo>(Control("Marukin"))->setPlainText(memo);
  Close();
  Start();
  std::vector<std::string> expected;
  for (const QString& word : next) expected.push_back(junmaru::Utf8ToCp932(word.toStdString()));
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->Lines(), expected);
}

// The close cannot write: the error display names the file, with a full
// stop, and no file is left behind.
void TestForm1Settings::writeFailureIsShown() {
  ini_ = Native(Path("missing-folder/junmaru_setting.ini"));
  Start();
  Close();
  QCOMPARE(boxes_->boxes.size(), std::size_t{1});
  QCOMPARE(boxes_->boxes[0].kind, MessageBox::Kind::kError);
  QCOMPARE(boxes_->boxes[0].caption, Q("順位丸"));
  QCOMPARE(boxes_->boxes[0].text, QString::fromStdString(ini_) + Q(" に書き込めません."));
  QVERIFY(QDir(Path("missing-folder")).isEmpty());
}

// Everything the user sets survives a close and a start, and a second
// close writes the same file.
void TestForm1Settings::startToCloseCycleRestoresEverything() {
  QVERIFY(WriteBytes(Path("access.log"), kLog));
  const std::string log = Native(Path("access.log"));
  const std::string report = Native(Path("site/top.html"));
  const QStringList switches = {"CDouga", "COnsei", "CSyoko", "CJpeg", "CGazou",
                                "CText",  "CExe",   "CHtml",  "CCss",  "CCgi"};
  const QStringList colours = {"CBG", "CBorder", "CText1", "CText2", "CLink", "ALink", "VLink"};
  Start();
  FileDialog::QueueAnswer(log);
  form_->BtnReadClick();
  FileDialog::QueueAnswer(report);
  form_->BtnSaveClick();
  for (const QString& name : switches) {
    CheckBox* box = form_->findChild<CheckBox*>(name);
    box->setChecked(!box->isChecked());
  }
  form_->Get<SpinEdit>(Control("PRank"))->SetValue(250);
  for (const QString& name : colours) form_->findChild<QLineEdit*>(name)->setText(name + Q("色"));
  form_->Get<SpinEdit>(Control("FontSize"))->SetValue(150);
  form_->Get<SpinEdit>(Control("NameMax"))->SetValue(60);
  form_->Get<CheckBox>(Control("Link"))->setChecked(false);
  form_->Get<QLineEdit>(Control("Prefix"))->setText(Q("../ダウンロード/"));
  form_->Get<Memo>(Control("Marukin"))->setPlainText(Q("admin\n秘密"));
  Close();
  QVERIFY(boxes_->boxes.empty());
  const std::string first_close = ReadBytes(QString::fromStdString(ini_));

  Start();
  QCOMPARE(form_->ReadPass(), log);
  QCOMPARE(form_->SavePass(), report);
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("3 行"));
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  const bool design[] = {false, false, false, false, true, true, true, true, true, true};
  for (qsizetype i = 0; i < switches.size(); ++i)
    QCOMPARE(form_->findChild<CheckBox*>(switches[i])->isChecked(), !design[i]);
  QCOMPARE(form_->Get<SpinEdit>(Control("PRank"))->Value(), 250);
  for (const QString& name : colours) QCOMPARE(form_->findChild<QLineEdit*>(name)->text(), name + Q("色"));
  QCOMPARE(form_->Get<SpinEdit>(Control("FontSize"))->Value(), 150);
  QCOMPARE(form_->Get<SpinEdit>(Control("NameMax"))->Value(), 60);
  QVERIFY(!form_->Get<CheckBox>(Control("Link"))->isChecked());
  QVERIFY(!form_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->text(), Q("../ダウンロード/"));
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->Lines(), (std::vector<std::string>{"admin", Cp("秘密")}));
  Close();
  QCOMPARE(ReadBytes(QString::fromStdString(ini_)), first_close);
}

QTEST_MAIN(TestForm1Settings)
#include "TestForm1Settings.moc"
