#include "form_controls.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "check_box.h"
#include "colour_ref.h"
#include "cp932.h"
#include "file_dialog.h"
#include "group_box.h"
#include "label.h"
#include "memo.h"
#include "progress_gauge.h"
#include "push_button.h"
#include "run_view.h"
#include "spin_edit.h"
#include "status_line.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

// A fixed text of the window, held as code page 932 and handed to the
// widget as UTF-16.
QString T(const char* utf8) { return Ui(Sjis(utf8)); }

struct Box {
  int left, top, width, height;
};

template <class W>
W* Place(W* widget, const char* name, Box box) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(box.left, box.top, box.width, box.height);
  return widget;
}

void SetFontHeight(QWidget* widget, int pixels) {
  QFont font = widget->font();
  font.setPixelSize(pixels);
  widget->setFont(font);
}

// A label takes the width of its text, as it will at every later change;
// its place and height are the design's.
Label* MakeLabel(QWidget* parent, const char* name, Box box, const char* caption) {
  Label* label = Place(new Label(parent), name, box);
  label->SetCaption(Sjis(caption));
  return label;
}

// A path display: white, sunken, fixed size, a slightly larger font.
Label* MakePathText(QWidget* parent, const char* name, Box box, const char* caption) {
  Label* label = Place(new Label(parent, Label::Width::kFixed), name, box);
  label->setText(T(caption));
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(1);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setAutoFillBackground(true);
  QPalette colours = label->palette();
  colours.setColor(QPalette::Window, Qt::white);
  label->setPalette(colours);
  SetFontHeight(label, 13);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, Box box, const char* caption) {
  return Place(new PushButton(T(caption), parent), name, box);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, Box box, const char* caption) {
  return Place(new GroupBox(T(caption), parent), name, box);
}

// A caption that the stand-in face draws wider than the design's face
// would be cut off; such a box reaches as far as its caption needs, up to
// the inner edge of its group box.
CheckBox* MakeCheck(QWidget* parent, const char* name, Box box, const char* caption, bool checked) {
  CheckBox* check = Place(new CheckBox(T(caption), parent), name, box);
  check->setChecked(checked);
  const int room = parent->contentsRect().right() + 1 - box.left;
  if (check->sizeHint().width() > box.width) check->resize(std::min(check->sizeHint().width(), room), box.height);
  return check;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, Box box, const char* text) {
  QLineEdit* edit = Place(new QLineEdit(T(text), parent), name, box);
  edit->setMaxLength(std::numeric_limits<int>::max());  // the colour texts have no limit
  return edit;
}

struct SpinDesign {
  SpinEdit::Typing typing;
  std::int32_t minimum, maximum, increment, value;
};

SpinEdit* MakeSpin(QWidget* parent, const char* name, Box box, SpinDesign design) {
  SpinEdit* spin = Place(new SpinEdit(parent, design.typing), name, box);
  spin->SetMinValue(design.minimum);
  spin->SetMaxValue(design.maximum);
  spin->SetIncrement(design.increment);
  spin->SetText(std::to_string(design.value));
  SetFontHeight(spin, 13);
  return spin;
}

void BuildTopLevel(QWidget* form, FormControls& c) {
  c.Label1 = MakeLabel(form, "Label1", {8, 8, 400, 12},
                       "ログファイル選択 ( ログが長いときは読み込みに時間がかかるけど勘弁してね )");
  c.PassRead = MakePathText(form, "PassRead", {8, 24, 545, 20}, "読込ログファイルパス");
  c.BtnRead = MakeButton(form, "BtnRead", {560, 11, 81, 33}, "&F 選択");
  c.Label2 = MakeLabel(form, "Label2", {8, 48, 208, 12}, "出力ランキングHTMLファイル保存先指定");
  c.PassSave = MakePathText(form, "PassSave", {8, 64, 545, 20}, "出力HTMLファイル保存先ファイルパス");
  c.BtnSave = MakeButton(form, "BtnSave", {560, 51, 81, 33}, "&S 指定");
  c.GroupBox3 = MakeGroup(form, "GroupBox3", {8, 104, 385, 65}, "ログ情報");
  c.GroupBox1 = MakeGroup(form, "GroupBox1", {400, 104, 241, 225}, "拡張子フィルター（チェックした拡張子を除外）");
  c.GroupBox2 = MakeGroup(form, "GroupBox2", {8, 176, 385, 97}, "集計範囲\u3000（指定行数\u3000デフォルトは全部）");
  c.GroupBox4 = MakeGroup(form, "GroupBox4", {8, 280, 385, 181}, "簡易出力HTMLデザイン");
  c.GBox = MakeGroup(form, "GBox", {400, 336, 241, 125}, "除外ワード（改行で複数指定可能）");
  c.Label4 = MakeLabel(form, "Label4", {8, 472, 70, 12}, "現在の状態 ：");
  c.State = Place(new StatusLine(form), "State", {80, 472, 36, 12});
  c.State->SetCaption(Sjis("待機中"));
  c.Gauge = Place(new ProgressGauge(form), "Gauge", {8, 488, 545, 17});
  c.BtnGo = MakeButton(form, "BtnGo", {560, 467, 81, 38}, "&G 出力GO！");
  c.BtnGo->setEnabled(false);
}

void BuildLogInformation(QWidget* box, FormControls& c) {
  c.Label6 = MakeLabel(box, "Label6", {13, 15, 34, 12}, "行数 ：");
  c.LogLine = MakeLabel(box, "LogLine", {46, 15, 57, 12}, "ログ未選択");
  c.Label5 = MakeLabel(box, "Label5", {13, 30, 34, 12}, "先頭 ：");
  c.LogFirst = MakeLabel(box, "LogFirst", {46, 30, 57, 12}, "ログ未選択");
  c.Label7 = MakeLabel(box, "Label7", {13, 45, 34, 12}, "末尾 ：");
  c.LogLast = MakeLabel(box, "LogLast", {46, 45, 57, 12}, "ログ未選択");
}

void BuildRange(QWidget* box, FormControls& c) {
  using Typing = SpinEdit::Typing;
  c.PStart = MakeSpin(box, "PStart", {8, 19, 89, 22}, {Typing::kNumber, 1, 10, 1, 1});
  c.PStart->setEnabled(false);
  c.LogStart = MakeLabel(box, "LogStart", {101, 24, 57, 12}, "ログ未選択");
  c.PEnd = MakeSpin(box, "PEnd", {8, 43, 89, 22}, {Typing::kNumber, 2, 10, 1, 2});
  c.PEnd->setEnabled(false);
  c.LogEnd = MakeLabel(box, "LogEnd", {101, 47, 57, 12}, "ログ未選択");
  c.Label10 = MakeLabel(box, "Label10", {8, 70, 29, 15}, "");
  SetFontHeight(c.Label10, 15);
  c.Label10->SetCaption("TOP");
  c.PRank = MakeSpin(box, "PRank", {40, 67, 57, 22}, {Typing::kStepOnly, 10, 10000, 10, 100});
  c.PRank->SetSelectOnFocus(false);
  c.Label11 = MakeLabel(box, "Label11", {101, 71, 46, 12}, "まで集計");
}

void BuildExtensionFilter(QWidget* box, FormControls& c) {
  c.CDouga = MakeCheck(box, "CDouga", {16, 20, 193, 17}, "動画[ avi mpg mpeg wmv ogm ]", false);
  c.COnsei = MakeCheck(box, "COnsei", {16, 40, 193, 17}, "音声[ mp3 wma ogg wav mid ]", false);
  c.CSyoko = MakeCheck(box, "CSyoko", {16, 60, 209, 17}, "圧縮書庫[ lzh zip rar gca cab tar 7z]", false);
  c.CJpeg = MakeCheck(box, "CJpeg", {16, 80, 201, 17}, "JPEG画像[ jpg jpeg ]", false);
  c.CGazou = MakeCheck(box, "CGazou", {16, 100, 209, 17}, "その他の画像[ gif png bmp dib ico ]", true);
  c.CText = MakeCheck(box, "CText", {16, 120, 193, 17}, "文書[ txt log inf ini rtf ]", true);
  c.CExe = MakeCheck(box, "CExe", {16, 140, 193, 17}, "実行ファイル[ exe ]", true);
  c.CHtml = MakeCheck(box, "CHtml", {16, 160, 217, 21}, "HTML関連[ html htm php ]", true);
  c.CCss = MakeCheck(box, "CCss", {16, 180, 217, 21}, "スタイルシート[ css ]", true);
  c.CCgi = MakeCheck(box, "CCgi", {16, 200, 217, 21}, "CGI関連[ cgi pl dat ]", true);
}

void BuildPageDesign(QWidget* box, FormControls& c) {
  using Typing = SpinEdit::Typing;
  c.Label3 = MakeLabel(box, "Label3", {8, 20, 36, 12}, "背景色");
  c.CBG = MakeEdit(box, "CBG", {48, 16, 89, 20}, "#000055");
  c.Label9 = MakeLabel(box, "Label9", {197, 20, 60, 12}, "上部文字色");
  c.CText1 = MakeEdit(box, "CText1", {288, 16, 89, 20}, "#FFFFFF");
  c.Label8 = MakeLabel(box, "Label8", {8, 44, 36, 12}, "枠線色");
  c.CBorder = MakeEdit(box, "CBorder", {48, 40, 89, 20}, "#5599CC");
  c.Label12 = MakeLabel(box, "Label12", {197, 44, 89, 12}, "ランキング文字色");
  c.CText2 = MakeEdit(box, "CText2", {288, 40, 89, 20}, "#88F0AA");
  c.Label18 = MakeLabel(box, "Label18", {9, 67, 21, 12}, "Link");
  c.CLink = MakeEdit(box, "CLink", {32, 64, 89, 20}, "#33CCCC");
  c.Label19 = MakeLabel(box, "Label19", {129, 67, 29, 12}, "ALink");
  c.ALink = MakeEdit(box, "ALink", {160, 64, 89, 20}, "#669966");
  c.Label20 = MakeLabel(box, "Label20", {257, 67, 29, 12}, "VLink");
  c.VLink = MakeEdit(box, "VLink", {288, 64, 89, 20}, "#CC3366");
  c.Label13 = MakeLabel(box, "Label13", {8, 95, 58, 12}, "文字サイズ");
  c.FontSize = MakeSpin(box, "FontSize", {70, 90, 49, 22}, {Typing::kStepOnly, 10, 10000, 10, 80});
  c.Label14 = MakeLabel(box, "Label14", {124, 95, 12, 12}, "％");
  c.Label15 = MakeLabel(box, "Label15", {189, 88, 89, 12}, "ファイル名最大長");
  c.Label16 = MakeLabel(box, "Label16", {189, 101, 94, 12}, "（これ以上は略す）");
  c.NameMax = MakeSpin(box, "NameMax", {288, 91, 46, 22}, {Typing::kStepOnly, 10, 10000, 10, 40});
  c.Label17 = MakeLabel(box, "Label17", {336, 96, 24, 12}, "文字");
  c.Link = MakeCheck(box, "Link", {8, 120, 289, 17}, "ランキング中のアドレス名からファイルにリンクを張る", false);
  c.Label21 = MakeLabel(box, "Label21", {8, 139, 98, 12}, "ALinkプレフィックス");
  c.Label22 = MakeLabel(box, "Label22", {107, 138, 245, 12}, "（ranking.htmlが最上階層なら./ 第二階層なら../）");
  c.Prefix = MakeEdit(box, "Prefix", {9, 154, 368, 20}, "./");
  c.Prefix->setEnabled(false);
  c.Prefix->setFixedHeight(20);
  SetFontHeight(c.Prefix, 12);
  SetBaseColour(c.Prefix, form::colours::kGaugeIdle);
  // The style's grey for disabled text nearly vanishes on the grey of the
  // disabled Prefix; this grey reads at a contrast of 5 : 1 on it.
  QPalette colours = c.Prefix->palette();
  colours.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
  c.Prefix->setPalette(colours);
}

void BuildExclusionWords(QWidget* box, FormControls& c) {
  c.Marukin = Place(new Memo(box), "Marukin", {8, 18, 225, 95});
  c.Marukin->SetLines({Sjis("例）禁止ワード1"), Sjis("例）禁止ワード2")});
}

void BuildDialogs(FormControls& c) {
  using Mode = FileDialog::Mode;
  c.OpenDialog = std::make_unique<FileDialog>(
      Mode::kOpen, Sjis("読み込むログファイルの選択（任意拡張子ファイルも選択可能）"),
      std::vector<FileDialog::Filter>{{Sjis("拡張子logのログファイル(*.log)"), "*.log"},
                                      {Sjis("任意のログファイル(*.*)"), "*.*"}},
      std::string());
  c.SaveDialog = std::make_unique<FileDialog>(
      Mode::kSave, Sjis("保存先とファイル名の指定"),
      std::vector<FileDialog::Filter>{{Sjis("出力HTMLファイル(*.html)"), "*.html"}}, "ranking.html");
}

// The keyboard focus order: top level by its tab numbers, each group box
// passing the focus through its own controls in their order.
void SetFocusOrder(const FormControls& c) {
  QWidget* order[] = {c.BtnRead, c.BtnSave, c.CDouga, c.COnsei,  c.CSyoko,  c.CJpeg,   c.CGazou, c.CText,
                      c.CExe,    c.CHtml,   c.CCss,   c.CCgi,    c.PStart,  c.PEnd,    c.PRank,  c.BtnGo,
                      c.CBG,     c.CBorder, c.CText1, c.CText2,  c.CLink,   c.ALink,   c.VLink,  c.FontSize,
                      c.NameMax, c.Link,    c.Prefix, c.Marukin};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

// What a screen reader announces for each edit: the text of its label,
// and for the range spinners, which have none, the end of the range each
// one sets.
void NameEdits(const FormControls& c) {
  const auto name = [](QWidget* edit, const QString& text) {
    edit->setAccessibleName(text);
    if (auto* spin = qobject_cast<SpinEdit*>(edit)) spin->Editor()->setAccessibleName(text);
  };
  name(c.CBG, c.Label3->text());
  name(c.CText1, c.Label9->text());
  name(c.CBorder, c.Label8->text());
  name(c.CText2, c.Label12->text());
  name(c.CLink, c.Label18->text());
  name(c.ALink, c.Label19->text());
  name(c.VLink, c.Label20->text());
  name(c.PStart, T("集計開始行"));
  name(c.PEnd, T("集計終了行"));
  name(c.PRank, c.Label10->text());
  name(c.FontSize, c.Label13->text());
  name(c.NameMax, c.Label15->text());
  name(c.Prefix, c.Label21->text());
  name(c.Marukin, T("除外ワード"));
}

}  // namespace

FormControls::FormControls() = default;
FormControls::~FormControls() = default;

void SetBaseColour(QWidget* widget, std::uint32_t colour_ref) {
  QPalette colours = widget->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::Base, ColourOf(colour_ref));
  }
  widget->setPalette(colours);
}

void BuildControls(QWidget* form, FormControls& c) {
  BuildTopLevel(form, c);
  BuildLogInformation(c.GroupBox3, c);
  BuildExtensionFilter(c.GroupBox1, c);
  BuildRange(c.GroupBox2, c);
  BuildPageDesign(c.GroupBox4, c);
  BuildExclusionWords(c.GBox, c);
  BuildDialogs(c);
  SetFocusOrder(c);
  NameEdits(c);
}

}  // namespace junmaru::window
