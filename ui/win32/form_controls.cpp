#include "form_controls.h"

#include "colour_ref.h"
#include "cp932.h"
#include "main_window.h"
#include "run_view.h"

namespace junmaru::win32 {
namespace {

using junmaru::Sjis;

// A control inside a group box sits at its design place relative to the box.
Box In(const GroupBox* group, Box box) {
  return {group->Design().left + box.left, group->Design().top + box.top, box.width, box.height};
}

// A check box may widen to the inner edge of its group box.
CheckBox* MakeCheck(MainWindow& w, const GroupBox* group, Box box, const std::string& caption, bool checked) {
  const int room = group->Design().width - box.left - 2;
  return w.Add<CheckBox>(In(group, box), 12, caption, checked, room);
}

struct SpinDesign {
  SpinTyping typing;
  std::int32_t minimum, maximum, increment, value;
};

SpinEdit* MakeSpin(MainWindow& w, Box box, SpinDesign design) {
  SpinEdit* spin = w.Add<SpinEdit>(box, 13, design.typing);
  spin->SetMinValue(design.minimum);
  spin->SetMaxValue(design.maximum);
  spin->SetIncrement(design.increment);
  spin->SetText(std::to_string(design.value));
  return spin;
}

void BuildTopLevel(MainWindow& w, FormControls& c) {
  c.Label1 = w.Add<Label>({8, 8, 400, 12}, 12,
                          Sjis("ログファイル選択 ( ログが長いときは読み込みに時間がかかるけど勘弁してね )"));
  c.PassRead = w.Add<PathText>({8, 24, 545, 20}, 13, Sjis("読込ログファイルパス"));
  c.BtnRead = w.Add<PushButton>({560, 11, 81, 33}, 12, Sjis("&F 選択"));
  c.Label2 = w.Add<Label>({8, 48, 208, 12}, 12, Sjis("出力ランキングHTMLファイル保存先指定"));
  c.PassSave = w.Add<PathText>({8, 64, 545, 20}, 13, Sjis("出力HTMLファイル保存先ファイルパス"));
  c.BtnSave = w.Add<PushButton>({560, 51, 81, 33}, 12, Sjis("&S 指定"));
  c.GroupBox3 = w.Add<GroupBox>({8, 104, 385, 65}, 12, Sjis("ログ情報"));
  c.GroupBox1 = w.Add<GroupBox>({400, 104, 241, 225}, 12, Sjis("拡張子フィルター（チェックした拡張子を除外）"));
  c.GroupBox2 = w.Add<GroupBox>({8, 176, 385, 97}, 12, Sjis("集計範囲\u3000（指定行数\u3000デフォルトは全部）"));
  c.GroupBox4 = w.Add<GroupBox>({8, 280, 385, 181}, 12, Sjis("簡易出力HTMLデザイン"));
  c.GBox = w.Add<GroupBox>({400, 336, 241, 125}, 12, Sjis("除外ワード（改行で複数指定可能）"));
  c.Label4 = w.Add<Label>({8, 472, 70, 12}, 12, Sjis("現在の状態 ："));
  c.State = w.Add<StatusLine>({80, 472, 36, 12}, 12, Sjis("待機中"));
  c.Gauge = w.Add<ProgressGauge>({8, 488, 545, 17}, 12);
}

void BuildLogInformation(MainWindow& w, FormControls& c) {
  const GroupBox* g = c.GroupBox3;
  c.Label6 = w.Add<Label>(In(g, {13, 15, 34, 12}), 12, Sjis("行数 ："));
  c.LogLine = w.Add<Label>(In(g, {46, 15, 57, 12}), 12, Sjis("ログ未選択"));
  c.Label5 = w.Add<Label>(In(g, {13, 30, 34, 12}), 12, Sjis("先頭 ："));
  c.LogFirst = w.Add<Label>(In(g, {46, 30, 57, 12}), 12, Sjis("ログ未選択"));
  c.Label7 = w.Add<Label>(In(g, {13, 45, 34, 12}), 12, Sjis("末尾 ："));
  c.LogLast = w.Add<Label>(In(g, {46, 45, 57, 12}), 12, Sjis("ログ未選択"));
}

void BuildExtensionFilter(MainWindow& w, FormControls& c) {
  const GroupBox* g = c.GroupBox1;
  c.CDouga = MakeCheck(w, g, {16, 20, 193, 17}, Sjis("動画[ avi mpg mpeg wmv ogm ]"), false);
  c.COnsei = MakeCheck(w, g, {16, 40, 193, 17}, Sjis("音声[ mp3 wma ogg wav mid ]"), false);
  c.CSyoko = MakeCheck(w, g, {16, 60, 209, 17}, Sjis("圧縮書庫[ lzh zip rar gca cab tar 7z]"), false);
  c.CJpeg = MakeCheck(w, g, {16, 80, 201, 17}, Sjis("JPEG画像[ jpg jpeg ]"), false);
  c.CGazou = MakeCheck(w, g, {16, 100, 209, 17}, Sjis("その他の画像[ gif png bmp dib ico ]"), true);
  c.CText = MakeCheck(w, g, {16, 120, 193, 17}, Sjis("文書[ txt log inf ini rtf ]"), true);
  c.CExe = MakeCheck(w, g, {16, 140, 193, 17}, Sjis("実行ファイル[ exe ]"), true);
  c.CHtml = MakeCheck(w, g, {16, 160, 217, 21}, Sjis("HTML関連[ html htm php ]"), true);
  c.CCss = MakeCheck(w, g, {16, 180, 217, 21}, Sjis("スタイルシート[ css ]"), true);
  c.CCgi = MakeCheck(w, g, {16, 200, 217, 21}, Sjis("CGI関連[ cgi pl dat ]"), true);
}

void BuildRange(MainWindow& w, FormControls& c) {
  const GroupBox* g = c.GroupBox2;
  c.PStart = MakeSpin(w, In(g, {8, 19, 89, 22}), {SpinTyping::kNumber, 1, 10, 1, 1});
  c.PStart->SetEnabled(false);
  c.LogStart = w.Add<Label>(In(g, {101, 24, 57, 12}), 12, Sjis("ログ未選択"));
  c.PEnd = MakeSpin(w, In(g, {8, 43, 89, 22}), {SpinTyping::kNumber, 2, 10, 1, 2});
  c.PEnd->SetEnabled(false);
  c.LogEnd = w.Add<Label>(In(g, {101, 47, 57, 12}), 12, Sjis("ログ未選択"));
  c.Label10 = w.Add<Label>(In(g, {8, 70, 29, 15}), 15, "TOP");
  c.PRank = MakeSpin(w, In(g, {40, 67, 57, 22}), {SpinTyping::kStepOnly, 10, 10000, 10, 100});
  c.PRank->SetSelectOnFocus(false);
  c.Label11 = w.Add<Label>(In(g, {101, 71, 46, 12}), 12, Sjis("まで集計"));
}

void BuildPageDesign(MainWindow& w, FormControls& c) {
  const GroupBox* g = c.GroupBox4;
  // Created in the focus order; the labels between them take no focus.
  c.Label3 = w.Add<Label>(In(g, {8, 20, 36, 12}), 12, Sjis("背景色"));
  c.CBG = w.Add<Edit>(In(g, {48, 16, 89, 20}), 12, "#000055");
  c.Label8 = w.Add<Label>(In(g, {8, 44, 36, 12}), 12, Sjis("枠線色"));
  c.CBorder = w.Add<Edit>(In(g, {48, 40, 89, 20}), 12, "#5599CC");
  c.Label9 = w.Add<Label>(In(g, {197, 20, 60, 12}), 12, Sjis("上部文字色"));
  c.CText1 = w.Add<Edit>(In(g, {288, 16, 89, 20}), 12, "#FFFFFF");
  c.Label12 = w.Add<Label>(In(g, {197, 44, 89, 12}), 12, Sjis("ランキング文字色"));
  c.CText2 = w.Add<Edit>(In(g, {288, 40, 89, 20}), 12, "#88F0AA");
  c.Label18 = w.Add<Label>(In(g, {9, 67, 21, 12}), 12, "Link");
  c.CLink = w.Add<Edit>(In(g, {32, 64, 89, 20}), 12, "#33CCCC");
  c.Label19 = w.Add<Label>(In(g, {129, 67, 29, 12}), 12, "ALink");
  c.ALink = w.Add<Edit>(In(g, {160, 64, 89, 20}), 12, "#669966");
  c.Label20 = w.Add<Label>(In(g, {257, 67, 29, 12}), 12, "VLink");
  c.VLink = w.Add<Edit>(In(g, {288, 64, 89, 20}), 12, "#CC3366");
  c.Label13 = w.Add<Label>(In(g, {8, 95, 58, 12}), 12, Sjis("文字サイズ"));
  c.FontSize = MakeSpin(w, In(g, {70, 90, 49, 22}), {SpinTyping::kStepOnly, 10, 10000, 10, 80});
  c.Label14 = w.Add<Label>(In(g, {124, 95, 12, 12}), 12, Sjis("％"));
  c.Label15 = w.Add<Label>(In(g, {189, 88, 89, 12}), 12, Sjis("ファイル名最大長"));
  c.Label16 = w.Add<Label>(In(g, {189, 101, 94, 12}), 12, Sjis("（これ以上は略す）"));
  c.NameMax = MakeSpin(w, In(g, {288, 91, 46, 22}), {SpinTyping::kStepOnly, 10, 10000, 10, 40});
  c.Label17 = w.Add<Label>(In(g, {336, 96, 24, 12}), 12, Sjis("文字"));
  c.Link = MakeCheck(w, g, {8, 120, 289, 17}, Sjis("ランキング中のアドレス名からファイルにリンクを張る"),
                           false);
  c.Label21 = w.Add<Label>(In(g, {8, 139, 98, 12}), 12, Sjis("ALinkプレフィックス"));
  c.Label22 = w.Add<Label>(In(g, {107, 138, 245, 12}), 12, Sjis("（ranking.htmlが最上階層なら./ 第二階層なら../）"));
  c.Prefix = w.Add<Edit>(In(g, {9, 154, 368, 20}), 12, "./");
  c.Prefix->SetEnabled(false);
  c.Prefix->SetBackground(junmaru::form::colours::kGaugeIdle);
}

void BuildExclusionWords(MainWindow& w, FormControls& c) {
  c.Marukin = w.Add<Memo>(In(c.GBox, {8, 18, 225, 95}), 12);
  c.Marukin->SetLines({Sjis("例）禁止ワード1"), Sjis("例）禁止ワード2")});
}

void BuildDialogs(FormControls& c) {
  using Mode = FileDialog::Mode;
  c.OpenDialog = std::make_unique<FileDialog>(
      Mode::kOpen, Sjis("読み込むログファイルの選択（任意拡張子ファイルも選択可能）"),
      std::vector<FileFilter>{{Sjis("拡張子logのログファイル(*.log)"), "*.log"},
                              {Sjis("任意のログファイル(*.*)"), "*.*"}},
      std::string());
  c.SaveDialog = std::make_unique<FileDialog>(Mode::kSave, Sjis("保存先とファイル名の指定"),
                                              std::vector<FileFilter>{{Sjis("出力HTMLファイル(*.html)"), "*.html"}},
                                              "ranking.html");
}

}  // namespace

void BuildControls(MainWindow& w, FormControls& c) {
  // The focus order: BtnRead, BtnSave, the extension filter, the range,
  // BtnGo, the page design, the exclusion words. Child windows take the
  // focus in the order of their creation.
  BuildTopLevel(w, c);
  BuildLogInformation(w, c);
  BuildExtensionFilter(w, c);
  BuildRange(w, c);
  c.BtnGo = w.Add<PushButton>({560, 467, 81, 38}, 12, Sjis("&G 出力GO！"));
  c.BtnGo->SetEnabled(false);
  BuildPageDesign(w, c);
  BuildExclusionWords(w, c);
  BuildDialogs(c);
  for (Control* group : {c.GroupBox3, c.GroupBox1, c.GroupBox2, c.GroupBox4, c.GBox}) w.SendToBack(group);
}

}  // namespace junmaru::win32
