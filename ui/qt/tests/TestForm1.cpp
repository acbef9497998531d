// The main window: design values and the state at start, focus order,
// check box click semantics, the status line, the values a run reads, a
// whole GO run onto a page, and a picture of the window.

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "check_box.h"
#include "family_index.h"
#include "form_controls.h"
#include "form_settings.h"
#include "label.h"
#include "main_window.h"
#include "memo.h"
#include "progress_gauge.h"
#include "spin_edit.h"
#include "status_line.h"
#include "test_support.h"

using junmaru::form::Control;
using junmaru::window::CheckBox;
using junmaru::window::Label;
using junmaru::window::Memo;
using junmaru::window::MessageBox;
using junmaru::window::ProgressGauge;
using junmaru::window::SpinEdit;
using junmaru::window::StatusLine;
using TForm1 = junmaru::window::MainWindow;
using junmaru::window::testing::BoxRecorder;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Q;
using junmaru::window::testing::ReadBytes;

namespace {

// The caption, text or value a control shows.
QString ShownText(QWidget* widget) {
  if (auto* spin = qobject_cast<SpinEdit*>(widget)) return spin->Editor()->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  return QString();
}

// A small log: two downloads of one file, one of another, one request that
// is not a download and one image that the default filters leave out.
const char kLog[] =
    "10.0.0.1 - - [10/Oct/2004:13:55:36 +0900] \"GET /dl/tool.lzh HTTP/1.1\" 200 5120\r\n"
    "10.0.0.2 - - [10/Oct/2004:14:02:11 +0900] \"POST /cgi/form.cgi HTTP/1.1\" 200 10\r\n"
    "10.0.0.3 - - [10/Oct/2004:18:40:00 +0900] \"GET /dl/tool.lzh HTTP/1.0\" 200 5120\r\n"
    "10.0.0.4 - - [11/Oct/2004:07:15:09 +0900] \"GET /img/top.gif HTTP/1.1\" 200 99\r\n"
    "10.0.0.5 - - [11/Oct/2004:08:00:05 +0900] \"GET /dl/song.mp3 HTTP/1.1\" 200 4096\r\n";

// The page that log gives with the window's design values.
std::string ExpectedPage() {
  const char* lines[] = {
      "<html>",
      "<head><title>2004年10月10日 13時55分36秒～2004年10月11日 08時00分05秒までのダウンロードランキング</title></head>",
      "<BODY bgcolor=\"#000055\" text=\"#88F0AA\" link=\"#33CCCC\" alink=\"#669966\" vlink=\"#CC3366\">",
      "<center><BR><BR>",
      "<font color=\"#FFFFFF\" size=\"+1\"><b>2004年10月10日 13時55分36秒～2004年10月11日 08時00分05秒までの<BR>",
      "ファイルダウンロード数ランキング（TOP 100）</b></font><BR><BR>",
      "<font color=\"#FFFFFF\">※管理人の手動更新なので更新を押しても無駄です</font><br><br>",
      "<Caption><font color=\"#FFFFFF\">100位までの総DLファイル数：3</font></Caption>",
      "<TABLE border=\"1\" cellpadding=\"5\" cellspacing=\"0\" bordercolor=\"#5599CC\" style=\"font-size:80%\">",
      "<tr><td><font color=\"#FFFFFF\">順位</font></td>",
      "<td><font color=\"#FFFFFF\">ファイル名</font></td>",
      "<td width=\"150\"><font color=\"#FFFFFF\">DLゲージ</font></td>",
      "<td><font color=\"#FFFFFF\">DL数</font></td></tr>",
      "<tr><td>1位</td><td>/dl/tool.lzh</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"400\" "
      "height=\"10\"></td><td>2</td></tr>",
      "<tr><td>2位</td><td>/dl/song.mp3</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"200\" "
      "height=\"10\"></td><td>1</td></tr>",
      "</TABLE>",
      "</center><BR><BR>",
      "<Div align=\"right\"><font size=\"-1\">ランキング生成 by 順位丸</font></div>",
      "</body>",
      "</html>",
  };
  std::string page;
  for (const char* line : lines) page += Cp(line) + "\r\n";
  return page;
}

}  // namespace

class TestForm1 : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void controlsHaveTheirDesign_data();
  void controlsHaveTheirDesign();
  void windowHasItsDesign();
  void startState();
  void spinEditsHaveTheirLimits_data();
  void spinEditsHaveTheirLimits();
  void focusFollowsTabOrder();
  void checkBoxClickOnlyOnRealChange_data();
  void checkBoxClickOnlyOnRealChange();
  void statusLineColourAndWidth();
  void runSettingsAreReadFromTheControls();
  void goRunWritesThePage_data();
  void goRunWritesThePage();
  void goRunOutsideTheLogShowsTheIndexError();
  void typedRangeIsTakenBeforeAKeyboardRun_data();
  void typedRangeIsTakenBeforeAKeyboardRun();
  void rendersToPng();

 private:
  void PutLogInPlace(const QString& folder);

  std::unique_ptr<QTemporaryDir> settings_folder_;
  TForm1* form_ = nullptr;
};

// Each window reads and writes a settings file of its own, in a folder
// that goes away with the test.
void TestForm1::init() {
  settings_folder_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settings_folder_->isValid());
  form_ = new TForm1(QFile::encodeName(settings_folder_->filePath(QStringLiteral("junmaru_setting.ini"))).toStdString());
}

void TestForm1::cleanup() {
  delete form_;
  form_ = nullptr;
  settings_folder_.reset();
}

void TestForm1::controlsHaveTheirDesign_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("parent");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("fontHeight");
  auto row = [](const char* name, const char* parent, QRect geometry, const char* text, int font_height = 12) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << geometry << Q(text)
                        << font_height;
  };
  const char* form = "Form1";
  row("Label1", form, {8, 8, 400, 12}, "ログファイル選択 ( ログが長いときは読み込みに時間がかかるけど勘弁してね )");
  row("PassRead", form, {8, 24, 545, 20}, "読込ログファイルパス", 13);
  row("BtnRead", form, {560, 11, 81, 33}, "&F 選択");
  row("Label2", form, {8, 48, 208, 12}, "出力ランキングHTMLファイル保存先指定");
  row("PassSave", form, {8, 64, 545, 20}, "出力HTMLファイル保存先ファイルパス", 13);
  row("BtnSave", form, {560, 51, 81, 33}, "&S 指定");
  row("GroupBox3", form, {8, 104, 385, 65}, "ログ情報");
  row("GroupBox1", form, {400, 104, 241, 225}, "拡張子フィルター（チェックした拡張子を除外）");
  row("GroupBox2", form, {8, 176, 385, 97}, "集計範囲\u3000（指定行数\u3000デフォルトは全部）");
  row("GroupBox4", form, {8, 280, 385, 181}, "簡易出力HTMLデザイン");
  row("GBox", form, {400, 336, 241, 125}, "除外ワード（改行で複数指定可能）");
  row("Label4", form, {8, 472, 70, 12}, "現在の状態 ：");
  row("State", form, {80, 472, 36, 12}, "待機中");
  row("Gauge", form, {8, 488, 545, 17}, "");
  row("BtnGo", form, {560, 467, 81, 38}, "&G 出力GO！");
  row("Label6", "GroupBox3", {13, 15, 34, 12}, "行数 ：");
  row("LogLine", "GroupBox3", {46, 15, 57, 12}, "ログ未選択");
  row("Label5", "GroupBox3", {13, 30, 34, 12}, "先頭 ：");
  row("LogFirst", "GroupBox3", {46, 30, 57, 12}, "ログ未選択");
  row("Label7", "GroupBox3", {13, 45, 34, 12}, "末尾 ：");
  row("LogLast", "GroupBox3", {46, 45, 57, 12}, "ログ未選択");
  row("PStart", "GroupBox2", {8, 19, 89, 22}, "1", 13);
  row("LogStart", "GroupBox2", {101, 24, 57, 12}, "ログ未選択");
  row("PEnd", "GroupBox2", {8, 43, 89, 22}, "2", 13);
  row("LogEnd", "GroupBox2", {101, 47, 57, 12}, "ログ未選択");
  row("Label10", "GroupBox2", {8, 70, 29, 15}, "TOP", 15);
  row("PRank", "GroupBox2", {40, 67, 57, 22}, "100", 13);
  row("Label11", "GroupBox2", {101, 71, 46, 12}, "まで集計");
  row("CDouga", "GroupBox1", {16, 20, 193, 17}, "動画[ avi mpg mpeg wmv ogm ]");
  row("COnsei", "GroupBox1", {16, 40, 193, 17}, "音声[ mp3 wma ogg wav mid ]");
  row("CSyoko", "GroupBox1", {16, 60, 209, 17}, "圧縮書庫[ lzh zip rar gca cab tar 7z]");
  row("CJpeg", "GroupBox1", {16, 80, 201, 17}, "JPEG画像[ jpg jpeg ]");
  row("CGazou", "GroupBox1", {16, 100, 209, 17}, "その他の画像[ gif png bmp dib ico ]");
  row("CText", "GroupBox1", {16, 120, 193, 17}, "文書[ txt log inf ini rtf ]");
  row("CExe", "GroupBox1", {16, 140, 193, 17}, "実行ファイル[ exe ]");
  row("CHtml", "GroupBox1", {16, 160, 217, 21}, "HTML関連[ html htm php ]");
  row("CCss", "GroupBox1", {16, 180, 217, 21}, "スタイルシート[ css ]");
  row("CCgi", "GroupBox1", {16, 200, 217, 21}, "CGI関連[ cgi pl dat ]");
  row("Label3", "GroupBox4", {8, 20, 36, 12}, "背景色");
  row("CBG", "GroupBox4", {48, 16, 89, 20}, "#000055");
  row("Label9", "GroupBox4", {197, 20, 60, 12}, "上部文字色");
  row("CText1", "GroupBox4", {288, 16, 89, 20}, "#FFFFFF");
  row("Label8", "GroupBox4", {8, 44, 36, 12}, "枠線色");
  row("CBorder", "GroupBox4", {48, 40, 89, 20}, "#5599CC");
  row("Label12", "GroupBox4", {197, 44, 89, 12}, "ランキング文字色");
  row("CText2", "GroupBox4", {288, 40, 89, 20}, "#88F0AA");
  row("Label18", "GroupBox4", {9, 67, 21, 12}, "Link");
  row("CLink", "GroupBox4", {32, 64, 89, 20}, "#33CCCC");
  row("Label19", "GroupBox4", {129, 67, 29, 12}, "ALink");
  row("ALink", "GroupBox4", {160, 64, 89, 20}, "#669966");
  row("Label20", "GroupBox4", {257, 67, 29, 12}, "VLink");
  row("VLink", "GroupBox4", {288, 64, 89, 20}, "#CC3366");
  row("Label13", "GroupBox4", {8, 95, 58, 12}, "文字サイズ");
  row("FontSize", "GroupBox4", {70, 90, 49, 22}, "80", 13);
  row("Label14", "GroupBox4", {124, 95, 12, 12}, "％");
  row("Label15", "GroupBox4", {189, 88, 89, 12}, "ファイル名最大長");
  row("Label16", "GroupBox4", {189, 101, 94, 12}, "（これ以上は略す）");
  row("NameMax", "GroupBox4", {288, 91, 46, 22}, "40", 13);
  row("Label17", "GroupBox4", {336, 96, 24, 12}, "文字");
  row("Link", "GroupBox4", {8, 120, 289, 17}, "ランキング中のアドレス名からファイルにリンクを張る");
  row("Label21", "GroupBox4", {8, 139, 98, 12}, "ALinkプレフィックス");
  row("Label22", "GroupBox4", {107, 138, 245, 12}, "（ranking.htmlが最上階層なら./ 第二階層なら../）");
  row("Prefix", "GroupBox4", {9, 154, 368, 20}, "./");
  row("Marukin", "GBox", {8, 18, 225, 95}, "");
}

void TestForm1::controlsHaveTheirDesign() {
  QFETCH(QString, name);
  QFETCH(QString, parent);
  QFETCH(QRect, geometry);
  QFETCH(QString, text);
  QFETCH(int, fontHeight);
  auto* control = form_->findChild<QWidget*>(name);
  QVERIFY(control);
  QCOMPARE(control->parentWidget()->objectName(), parent);
  auto* label = qobject_cast<Label*>(control);
  if (label && name != "PassRead" && name != "PassSave") {
    // A label is as wide as its text in the face actually drawn.
    QCOMPARE(control->pos(), geometry.topLeft());
    QCOMPARE(control->height(), geometry.height());
    QCOMPARE(control->width(), label->fontMetrics().horizontalAdvance(text));
  } else if (qobject_cast<CheckBox*>(control)) {
    // A check box is wider than its design only where its caption needs it.
    QCOMPARE(control->pos(), geometry.topLeft());
    QCOMPARE(control->height(), geometry.height());
    QCOMPARE(control->width(), std::max(geometry.width(), control->sizeHint().width()));
  } else {
    QCOMPARE(control->geometry(), geometry);
  }
  QCOMPARE(ShownText(control), text);
  QCOMPARE(control->font().pixelSize(), fontHeight);
}

void TestForm1::windowHasItsDesign() {
  QCOMPARE(form_->windowTitle(), Q("集計順位丸\u3000通称順位丸 Ver1.4"));
  QCOMPARE(form_->size(), QSize(645, 507));
  QCOMPARE(form_->minimumSize(), QSize(645, 507));
  QCOMPARE(form_->maximumSize(), QSize(645, 507));
  QCOMPARE(form_->pos(), QPoint(269, 158));
  QVERIFY(form_->findChildren<QMenuBar*>().isEmpty());
  QVERIFY(!form_->windowIcon().isNull());
  QCOMPARE(form_->font().family(), Q("ＭＳ Ｐゴシック"));
  QCOMPARE(form_->font().pixelSize(), 12);
  // The design face is missing here; the substitute is what is drawn.
  QCOMPARE(QFontInfo(form_->font()).family(), QStringLiteral("IPAPGothic"));
  QCOMPARE(form_->palette().color(QPalette::Window), form_->palette().color(QPalette::Button));
}

// The controls as built, before the settings are read into them.
void TestForm1::startState() {
  QWidget bare;
  junmaru::window::FormControls design;
  junmaru::window::BuildControls(&bare, design);
  QVERIFY(!design.Get<CheckBox>(Control("Link"))->isChecked());
  QVERIFY(!design.Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(design.Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Disabled, QPalette::Base),
           QColor(0xCC, 0xCC, 0xCC));
  QCOMPARE(design.Get<Memo>(Control("Marukin"))->Lines(),
           (std::vector<std::string>{Cp("例）禁止ワード1"), Cp("例）禁止ワード2")}));

  // What the settings file does not touch is still as designed in the window.
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PStart"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PEnd"))->isEnabled());
  QVERIFY(form_->Get<QPushButton>(Control("BtnRead"))->isEnabled());
  QVERIFY(!form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->palette().color(QPalette::Window),
           form_->palette().color(QPalette::Button));
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->Progress(), 0);
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->BackColour(), 13421772u);
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->BarColour(), 16764074u);
  const std::pair<const char*, bool> checked[] = {
      {"CDouga", false}, {"COnsei", false}, {"CSyoko", false}, {"CJpeg", false}, {"CGazou", true},
      {"CText", true},   {"CExe", true},    {"CHtml", true},   {"CCss", true},   {"CCgi", true}};
  for (const auto& [name, on] : checked) QCOMPARE(form_->findChild<CheckBox*>(name)->isChecked(), on);
  QVERIFY(form_->Get<Memo>(Control("Marukin"))->tabChangesFocus());
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(form_->Get<Memo>(Control("Marukin"))->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void TestForm1::spinEditsHaveTheirLimits_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<int>("increment");
  QTest::addColumn<bool>("takesDigits");
  QTest::newRow("PStart") << "PStart" << 1 << 10 << 1 << true;
  QTest::newRow("PEnd") << "PEnd" << 2 << 10 << 1 << true;
  QTest::newRow("PRank") << "PRank" << 10 << 10000 << 10 << false;
  QTest::newRow("FontSize") << "FontSize" << 10 << 10000 << 10 << false;
  QTest::newRow("NameMax") << "NameMax" << 10 << 10000 << 10 << false;
}

void TestForm1::spinEditsHaveTheirLimits() {
  QFETCH(QString, name);
  QFETCH(int, minimum);
  QFETCH(int, maximum);
  QFETCH(int, increment);
  QFETCH(bool, takesDigits);
  auto* spin = form_->findChild<SpinEdit*>(name);
  QVERIFY(spin);
  QCOMPARE(spin->MinValue(), minimum);
  QCOMPARE(spin->MaxValue(), maximum);
  QCOMPARE(spin->Increment(), increment);
  spin->setEnabled(true);
  const QString before = spin->Editor()->text();
  spin->Editor()->end(false);
  QTest::keyClick(spin->Editor(), Qt::Key_0);
  QCOMPARE(spin->Editor()->text(), takesDigits ? before + "0" : before);
}

// The Tab key walks the controls in their design order.
void TestForm1::focusFollowsTabOrder() {
  const QStringList expected = {"BtnRead", "BtnSave", "CDouga",  "COnsei",  "CSyoko", "CJpeg",  "CGazou",
                                "CText",   "CExe",    "CHtml",   "CCss",    "CCgi",   "PStart", "PEnd",
                                "PRank",   "BtnCount", "BtnGo",   "CBG",     "CBorder", "CText1", "CText2", "CLink",
                                "ALink",   "VLink",   "FontSize", "NameMax", "Link",  "Prefix", "Marukin"};
  QStringList order;
  QWidget* widget = form_->Get<QPushButton>(Control("BtnRead"));
  do {
    if (widget->focusPolicy() & Qt::TabFocus) {
      // A spin edit takes the focus in its inner edit, a memo in itself.
      QWidget* named = widget;
      while (named->objectName().isEmpty() && named->parentWidget()) named = named->parentWidget();
      if (order.isEmpty() || order.last() != named->objectName()) order << named->objectName();
    }
    widget = widget->nextInFocusChain();
  } while (widget != form_->Get<QPushButton>(Control("BtnRead")));
  QCOMPARE(order, expected);
}

void TestForm1::checkBoxClickOnlyOnRealChange_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("Link") << "Link";
  QTest::newRow("CDouga (unchecked at start)") << "CDouga";
  QTest::newRow("CCgi (checked at start)") << "CCgi";
}

void TestForm1::checkBoxClickOnlyOnRealChange() {
  QFETCH(QString, name);
  auto* box = form_->findChild<CheckBox*>(name);
  QVERIFY(box);
  QSignalSpy clicks(box, &CheckBox::Click);
  const bool start = box->isChecked();
  box->setChecked(start);
  QCOMPARE(clicks.count(), 0);
  box->setChecked(!start);
  QCOMPARE(clicks.count(), 1);
  box->setChecked(!start);
  QCOMPARE(clicks.count(), 1);
  form_->show();
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  QCOMPARE(clicks.count(), 2);
  QCOMPARE(box->isChecked(), start);
  QVERIFY(!box->isTristate());
}

void TestForm1::statusLineColourAndWidth() {
  const std::string text = Cp("エラー\u3000ログファイルの形式がおかしいです");
  form_->SetStatusText(text);
  form_->SetStatusColour(junmaru::StatusColour::kError);
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->Caption(), text);
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->width(),
           form_->Get<StatusLine>(Control("State"))
               ->fontMetrics()
               .horizontalAdvance(Q("エラー\u3000ログファイルの形式がおかしいです")));
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->palette().color(QPalette::Window), QColor(0xFF, 0x99, 0x99));
  form_->SetStatusText(Cp("待機中"));
  QVERIFY(form_->Get<StatusLine>(Control("State"))->width() < 60);
  QVERIFY(form_->StatusShowsError());  // only a load turns it back
  form_->SetStatusColour(junmaru::StatusColour::kNormal);
  QVERIFY(!form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->palette().color(QPalette::Window),
           form_->palette().color(QPalette::Button));
}

void TestForm1::runSettingsAreReadFromTheControls() {
  form_->show();
  form_->Get<SpinEdit>(Control("PStart"))->SetMaxValue(500);
  form_->Get<SpinEdit>(Control("PEnd"))->SetMaxValue(500);
  form_->Get<SpinEdit>(Control("PStart"))->SetValue(3);
  form_->Get<SpinEdit>(Control("PEnd"))
      ->Editor()
      ->setText(QStringLiteral("700"));  // typed beyond the limit: read as typed
  form_->Get<SpinEdit>(Control("PRank"))->SetValue(30);
  form_->Get<CheckBox>(Control("CDouga"))->setChecked(true);
  form_->Get<CheckBox>(Control("CCgi"))->setChecked(false);
  form_->Get<Memo>(Control("Marukin"))->setPlainText(Q("禁止\n\nadmin\n"));
  form_->Get<QLineEdit>(Control("CBG"))->setText(QString());
  form_->Get<QLineEdit>(Control("VLink"))->setText(Q("赤"));
  form_->Get<SpinEdit>(Control("FontSize"))->SetValue(120);
  form_->Get<SpinEdit>(Control("NameMax"))->SetValue(20);
  form_->Get<CheckBox>(Control("Link"))->setChecked(true);
  form_->Get<QLineEdit>(Control("Prefix"))->setText(QStringLiteral("../"));

  const junmaru::Settings s = junmaru::form::SettingsOfForm(*form_);
  QCOMPARE(s.PStart, 3);
  QCOMPARE(s.PEnd, 700);
  QCOMPARE(s.TopCount, 30);
  junmaru::FamilySwitches families = junmaru::FamiliesAtFirstStart();  // the design states
  families[junmaru::testing::FamilyIndex("CDouga")] = true;
  families[junmaru::testing::FamilyIndex("CCgi")] = false;
  QVERIFY(s.Families == families);
  QCOMPARE(s.KinsiWord, (std::vector<std::string>{Cp("禁止"), "", "admin"}));
  QCOMPARE(s.CBG, std::string());
  QCOMPARE(s.CBorder, std::string("#5599CC"));
  QCOMPARE(s.CText1, std::string("#FFFFFF"));
  QCOMPARE(s.CText2, std::string("#88F0AA"));
  QCOMPARE(s.CLink, std::string("#33CCCC"));
  QCOMPARE(s.ALink, std::string("#669966"));
  QCOMPARE(s.VLink, Cp("赤"));
  QCOMPARE(s.FontSize, 120);
  QCOMPARE(s.NameMax, 20);
  QVERIFY(s.Link);
  QCOMPARE(s.Prefix, std::string("../"));
}

void TestForm1::PutLogInPlace(const QString& folder) {
  // The expected page is the one without links: a first start checks Link.
  form_->Get<CheckBox>(Control("Link"))->setChecked(false);
  form_->Lines() = junmaru::LogLines::FromBytes(kLog);
  form_->SavePass() = QFile::encodeName(folder + QStringLiteral("/ranking.html")).toStdString();
  form_->Get<SpinEdit>(Control("PStart"))->SetMaxValue(5);
  form_->Get<SpinEdit>(Control("PEnd"))->SetMaxValue(5);
  form_->Get<SpinEdit>(Control("PStart"))->SetValue(1);
  form_->Get<SpinEdit>(Control("PEnd"))->SetValue(5);
  form_->Get<SpinEdit>(Control("PStart"))->setEnabled(true);
  form_->Get<SpinEdit>(Control("PEnd"))->setEnabled(true);
  form_->Get<QPushButton>(Control("BtnGo"))->setEnabled(true);
}

void TestForm1::goRunWritesThePage_data() {
  QTest::addColumn<bool>("withGage");
  QTest::newRow("gage.gif missing: one information box") << false;
  QTest::newRow("gage.gif beside the page: no box") << true;
}

// Alt+G presses GO; the run writes the page, ends with "出力完了！" and a
// full gauge on white, and warns when the bar image is missing.
void TestForm1::goRunWritesThePage() {
  QFETCH(bool, withGage);
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  if (withGage) {
    QFile gage(folder.filePath(QStringLiteral("gage.gif")));
    QVERIFY(gage.open(QIODevice::WriteOnly));
  }
  PutLogInPlace(folder.path());
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_));
  BoxRecorder recorder;

  QTest::keyClick(form_->windowHandle(), Qt::Key_G, Qt::AltModifier);
  // The accelerator presses the button visibly, then clicks it.
  QTRY_COMPARE(form_->Get<StatusLine>(Control("State"))->Caption(), Cp("出力完了！"));

  QCOMPARE(ReadBytes(folder.filePath(QStringLiteral("ranking.html"))), ExpectedPage());
  QVERIFY(!form_->StatusShowsError());
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->Progress(), 1000);
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->Text(), QStringLiteral("100%"));
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->BackColour(), 0xFFFFFFu);
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  if (withGage) {
    QVERIFY(recorder.boxes.empty());
  } else {
    QCOMPARE(recorder.boxes.size(), std::size_t{1});
    QCOMPARE(recorder.boxes[0].kind, MessageBox::Kind::kInformation);
    QCOMPARE(recorder.boxes[0].caption, Q("順位丸"));
    QCOMPARE(recorder.boxes[0].text,
             Q("HTML出力先にゲージ用画像(gage.gif)がありませんので移動するか作るかしてください。"));
  }
}

// A range past the log's end stops the run in the error display; no file
// is written and the window stays usable for the next run.
void TestForm1::goRunOutsideTheLogShowsTheIndexError() {
  QTemporaryDir folder;
  PutLogInPlace(folder.path());
  form_->Get<SpinEdit>(Control("PEnd"))->SetMaxValue(9);
  form_->Get<SpinEdit>(Control("PEnd"))->SetValue(9);
  form_->show();
  BoxRecorder recorder;
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnGo")), Qt::LeftButton);
  QCOMPARE(recorder.boxes.size(), std::size_t{1});
  QCOMPARE(recorder.boxes[0].kind, MessageBox::Kind::kError);
  QCOMPARE(recorder.boxes[0].text, Q("リストのインデックスが範囲を超えています (5)"));
  QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("ranking.html"))));
  // The status line and the gauge tell what happened, not a run under way.
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("リストのインデックスが範囲を超えています (5)"));
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->Progress(), 0);
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->BackColour(), 0xCCCCCCu);

  form_->Get<SpinEdit>(Control("PEnd"))->SetValue(5);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnGo")), Qt::LeftButton);
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->Caption(), Cp("出力完了！"));
  QVERIFY(!form_->StatusShowsError());
  QVERIFY(QFile::exists(folder.filePath(QStringLiteral("ranking.html"))));
}

void TestForm1::typedRangeIsTakenBeforeAKeyboardRun_data() {
  QTest::addColumn<QString>("spin");
  QTest::addColumn<QString>("typed");
  QTest::newRow("end line beyond the log") << "PEnd" << "300";
  QTest::newRow("end line below its minimum") << "PEnd" << "1";
  QTest::newRow("start line 0") << "PStart" << "0";
}

// Alt+G while a spin edit still holds a typed value outside its limits:
// the value is taken first, as leaving the box takes it, so the keyboard
// gives the page the mouse gives.
void TestForm1::typedRangeIsTakenBeforeAKeyboardRun() {
  QFETCH(QString, spin);
  QFETCH(QString, typed);
  QTemporaryDir folder;
  PutLogInPlace(folder.path());
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_));
  BoxRecorder recorder;
  auto* box = form_->findChild<SpinEdit*>(spin);
  QVERIFY(box);
  box->setFocus();
  box->Editor()->selectAll();
  QTest::keyClicks(box->Editor(), typed);
  QCOMPARE(box->Editor()->text(), typed);

  QTest::keyClick(form_->windowHandle(), Qt::Key_G, Qt::AltModifier);
  QTRY_COMPARE(form_->Get<StatusLine>(Control("State"))->Caption(), Cp("出力完了！"));
  for (const auto& shown : recorder.boxes) QCOMPARE(shown.kind, MessageBox::Kind::kInformation);
  if (spin == "PEnd" && typed == "1") {
    // Taken as 2, the least end line: lines 1 and 2.
    QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->Value(), 2);
    QVERIFY(ReadBytes(folder.filePath(QStringLiteral("ranking.html"))) != ExpectedPage());
    return;
  }
  QCOMPARE(form_->Get<SpinEdit>(Control("PStart"))->Value(), 1);
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->Value(), 5);
  QCOMPARE(ReadBytes(folder.filePath(QStringLiteral("ranking.html"))), ExpectedPage());
}

// A picture of the window at start, for anyone to look at.
void TestForm1::rendersToPng() {
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_));
  const QString path = QDir(QStringLiteral(JUNMARU_TEST_OUTPUT_DIR)).filePath(QStringLiteral("window.png"));
  const QImage image = form_->grab().toImage();
  QCOMPARE(image.size(), QSize(645, 507));
  QVERIFY(image.save(path));
}

QTEST_MAIN(TestForm1)
#include "TestForm1.moc"
