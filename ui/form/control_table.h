#pragma once

// The main window's design: one row per control, naming it, saying what
// kind of control it is, where it sits, what it shows at first, which
// limits it keeps, where it stands in the focus order, what a screen
// reader calls it, and which field of the settings record it shows and
// feeds. Both windows (Qt and Win32) make their widgets, their focus
// order, their lookups and their screen-reader names from this table, and
// the form's handlers name controls only through it. The extension
// families' check boxes come from the family table, one per family.
//
// Rows are keyed by their design names: a name, a parent, a label or a
// field that the table does not hold fails to compile (see
// TableIsWellFormed), and every per-control array is sized by the table.
// The order of the rows is the order in which the windows create the
// controls; the controls that take the focus stand in it in their focus
// order, as Win32's Tab follows the order of creation.
//
// A new dialog's controls become rows whose parent is a row of kind
// kWindow; a new value of the settings record becomes a field of a row.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "colour_ref.h"
#include "extension_families.h"
#include "settings.h"
#include "spin_value.h"

namespace junmaru::form {

enum class Kind {
  kWindow,      // a window: the caption is its title, the box its screen position and client size
  kLabel,       // a one-line text whose width follows it
  kPathText,    // a sunken white path display of fixed size
  kStatusLine,  // the status line, in the normal or the error colour
  kGauge,       // the progress gauge
  kButton,      // a push button; "&" in its caption makes Alt plus the next letter press it
  kGroupBox,
  kCheckBox,
  kEdit,        // a single-line edit of free text without length limit
  kSpinEdit,
  kMemo,        // a multi-line edit with word wrap; its caption holds its lines, one per "\n"
  kOpenDialog,  // a file dialog: the caption is its title
  kSaveDialog,
  kFamilyCheckBoxes,  // in the design only: the check boxes of the family table go here
};

struct SpinDesign {
  // The limits and the value at first; for a spin edit that shows a
  // stored number, its field's limits and default instead.
  std::int32_t minimum = 0, maximum = 0, value = 0;
  std::int32_t increment = 1;
  SpinTyping typing = SpinTyping::kNumber;
  bool select_on_focus = true;  // reaching it by keyboard selects its text
};

struct FileFilterDesign {
  const char* caption = nullptr;  // UTF-8, as shown
  const char* pattern = nullptr;  // such as "*.log"; "*.*" means every file
};

// The field of the settings record a control shows and feeds: a run reads
// it from the control, and, when the settings file keeps it, the start
// handler puts the stored value into the control and the close handler
// stores the control's value.
struct Field {
  enum class Kind { kNone, kText, kNumber, kSwitch, kFamily, kWords, kStatuses };
  Kind kind = Kind::kNone;
  std::string Settings::*text = nullptr;
  long long Settings::*number = nullptr;
  bool Settings::*flag = nullptr;
  std::size_t family = 0;
  std::vector<std::string> Settings::*words = nullptr;
  StatusList Settings::*statuses = nullptr;  // an edit of a status list, checked before it is taken

  constexpr Field() = default;
  constexpr Field(std::string Settings::*field) : kind(Kind::kText), text(field) {}
  constexpr Field(long long Settings::*field) : kind(Kind::kNumber), number(field) {}
  constexpr Field(bool Settings::*field) : kind(Kind::kSwitch), flag(field) {}
  constexpr Field(std::vector<std::string> Settings::*field) : kind(Kind::kWords), words(field) {}
  constexpr Field(StatusList Settings::*field) : kind(Kind::kStatuses), statuses(field) {}
  static constexpr Field Family(std::size_t index) {
    Field f;
    f.kind = Kind::kFamily;
    f.family = index;
    return f;
  }
};

struct ControlRow {
  // The design name; a control that shows a value of the settings file
  // has its key as name (the file names its values after the controls),
  // and the row leaves the name to the field list.
  std::string_view name = {};
  Kind kind = Kind::kLabel;
  std::string_view parent = "Form1";   // the window or group box it sits in (a dialog: its owner)
  DesignBox box{};                     // in its parent, pixels at 96 DPI
  const char* caption = "";            // UTF-8: the caption, the text at first, or the title
  int font_height = 12;                // pixels at 96 DPI
  int tab = -1;                        // its place in its parent's focus order; -1: it takes none
  bool enabled = true;
  bool checked = false;                // a check box at first (a family's: its first-start state)
  std::optional<std::uint32_t> background{};  // an edit's own background colour, else the system's
  SpinDesign spin{};
  // What a screen reader announces for a control whose own text does not
  // name it: the caption of this label, or else this text (UTF-8).
  std::string_view named_by = {};
  const char* accessible_name = nullptr;
  Field field{};
  std::array<FileFilterDesign, 2> filters{};  // a file dialog's, in order
  const char* file_name = "";                 // a file dialog's name at first
};

// The place in the settings record's field list of the stored field that
// a control shows; kNotStored for a control that feeds a run only (the
// range) or shows no field. (Places, not pointers, so that the table's
// checks stay constant expressions also in a sanitized build.)
inline constexpr std::size_t kNotStored = std::size(kSettingFields);
constexpr std::size_t StoredFieldIndex(const Field& field) {
  for (std::size_t i = 0; i < kNotStored; ++i) {
    const SettingField& stored = kSettingFields[i];
    switch (field.kind) {
      case Field::Kind::kText:
        if (stored.text == field.text) return i;
        break;
      case Field::Kind::kNumber:
        if (stored.number == field.number) return i;
        break;
      case Field::Kind::kSwitch:
        if (stored.flag == field.flag) return i;
        break;
      case Field::Kind::kFamily:
        if (stored.kind == SettingField::Kind::kFamilies) return i;
        break;
      case Field::Kind::kWords:
        if (stored.words == field.words) return i;
        break;
      case Field::Kind::kStatuses:
        if (stored.statuses == field.statuses) return i;
        break;
      case Field::Kind::kNone:
        return kNotStored;
    }
  }
  return kNotStored;
}

// The stored field that a control shows: its section, key and limits;
// nothing for a control that feeds a run only or shows no field.
inline const SettingField* StoredField(const Field& field) {
  const std::size_t i = StoredFieldIndex(field);
  return i == kNotStored ? nullptr : &kSettingFields[i];
}

namespace design {

constexpr SpinDesign StepOnly(std::int32_t increment, bool select_on_focus = true) {
  return {.increment = increment, .typing = SpinTyping::kStepOnly, .select_on_focus = select_on_focus};
}

// The rows in the order of creation; kFamilyCheckBoxes stands for the
// family table's check boxes.
inline constexpr ControlRow kRows[] = {
    {.name = "Form1", .kind = Kind::kWindow, .parent = {}, .box = {269, 158, 645, 507},
     .caption = "集計順位丸\u3000通称順位丸 Ver1.4"},
    {.name = "Label1", .box = {8, 8, 400, 12},
     .caption = "ログファイル選択 ( ログが長いときは読み込みに時間がかかるけど勘弁してね )"},
    {.name = "PassRead", .kind = Kind::kPathText, .box = {8, 24, 545, 20}, .caption = "読込ログファイルパス",
     .font_height = 13},
    {.name = "BtnRead", .kind = Kind::kButton, .box = {560, 11, 81, 33}, .caption = "&F 選択", .tab = 0},
    {.name = "Label2", .box = {8, 48, 208, 12}, .caption = "出力ランキングHTMLファイル保存先指定"},
    {.name = "PassSave", .kind = Kind::kPathText, .box = {8, 64, 545, 20},
     .caption = "出力HTMLファイル保存先ファイルパス", .font_height = 13},
    {.name = "BtnSave", .kind = Kind::kButton, .box = {560, 51, 81, 33}, .caption = "&S 指定", .tab = 3},
    {.name = "GroupBox3", .kind = Kind::kGroupBox, .box = {8, 104, 385, 65}, .caption = "ログ情報", .tab = 7},
    {.name = "GroupBox1", .kind = Kind::kGroupBox, .box = {400, 104, 241, 225},
     .caption = "拡張子フィルター（チェックした拡張子を除外）", .tab = 4},
    {.name = "GroupBox2", .kind = Kind::kGroupBox, .box = {8, 176, 385, 97},
     .caption = "集計範囲\u3000（指定行数\u3000デフォルトは全部）", .tab = 5},
    {.name = "GroupBox4", .kind = Kind::kGroupBox, .box = {8, 280, 385, 181}, .caption = "簡易出力HTMLデザイン",
     .tab = 8},
    {.name = "GBox", .kind = Kind::kGroupBox, .box = {400, 336, 241, 125},
     .caption = "除外ワード（改行で複数指定可能）", .tab = 9},
    {.name = "Label4", .box = {8, 472, 70, 12}, .caption = "現在の状態 ："},
    {.name = "State", .kind = Kind::kStatusLine, .box = {80, 472, 36, 12}, .caption = "待機中"},
    {.name = "Gauge", .kind = Kind::kGauge, .box = {8, 488, 545, 17}, .accessible_name = "進行状況"},

    // The log's information.
    {.name = "Label6", .parent = "GroupBox3", .box = {13, 15, 34, 12}, .caption = "行数 ："},
    {.name = "LogLine", .parent = "GroupBox3", .box = {46, 15, 57, 12}, .caption = "ログ未選択"},
    {.name = "Label5", .parent = "GroupBox3", .box = {13, 30, 34, 12}, .caption = "先頭 ："},
    {.name = "LogFirst", .parent = "GroupBox3", .box = {46, 30, 57, 12}, .caption = "ログ未選択"},
    {.name = "Label7", .parent = "GroupBox3", .box = {13, 45, 34, 12}, .caption = "末尾 ："},
    {.name = "LogLast", .parent = "GroupBox3", .box = {46, 45, 57, 12}, .caption = "ログ未選択"},

    // The extension families: a checked box leaves its family out.
    {.name = "(families)", .kind = Kind::kFamilyCheckBoxes, .parent = "GroupBox1"},

    // The range and the number of places.
    {.name = "PStart", .kind = Kind::kSpinEdit, .parent = "GroupBox2", .box = {8, 19, 89, 22}, .font_height = 13,
     .tab = 0, .enabled = false, .spin = {.minimum = 1, .maximum = 10, .value = 1},
     .accessible_name = "集計開始行", .field = &Settings::PStart},
    {.name = "LogStart", .parent = "GroupBox2", .box = {101, 24, 57, 12}, .caption = "ログ未選択"},
    {.name = "PEnd", .kind = Kind::kSpinEdit, .parent = "GroupBox2", .box = {8, 43, 89, 22}, .font_height = 13,
     .tab = 1, .enabled = false, .spin = {.minimum = 2, .maximum = 10, .value = 2},
     .accessible_name = "集計終了行", .field = &Settings::PEnd},
    {.name = "LogEnd", .parent = "GroupBox2", .box = {101, 47, 57, 12}, .caption = "ログ未選択"},
    {.name = "Label10", .parent = "GroupBox2", .box = {8, 70, 29, 15}, .caption = "TOP", .font_height = 15},
    {.name = "PRank", .kind = Kind::kSpinEdit, .parent = "GroupBox2", .box = {40, 67, 57, 22}, .font_height = 13,
     .tab = 2, .spin = StepOnly(10, false), .named_by = "Label10", .field = &Settings::TopCount},
    {.name = "Label11", .parent = "GroupBox2", .box = {101, 71, 46, 12}, .caption = "まで集計"},
    // Opens the counting rules, in the range box's free corner: no control moves for it.
    {.name = "BtnCount", .kind = Kind::kButton, .parent = "GroupBox2", .box = {224, 64, 153, 26},
     .caption = "&K 集計と表示の設定…", .tab = 3},

    {.name = "BtnGo", .kind = Kind::kButton, .box = {560, 467, 81, 38}, .caption = "&G 出力GO！", .tab = 6,
     .enabled = false},

    // The page's design, each edit after its label.
    {.name = "Label3", .parent = "GroupBox4", .box = {8, 20, 36, 12}, .caption = "背景色"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {48, 16, 89, 20}, .tab = 0,
     .named_by = "Label3", .field = &Settings::CBG},
    {.name = "Label8", .parent = "GroupBox4", .box = {8, 44, 36, 12}, .caption = "枠線色"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {48, 40, 89, 20}, .tab = 1,
     .named_by = "Label8", .field = &Settings::CBorder},
    {.name = "Label9", .parent = "GroupBox4", .box = {197, 20, 60, 12}, .caption = "上部文字色"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {288, 16, 89, 20}, .tab = 2,
     .named_by = "Label9", .field = &Settings::CText1},
    {.name = "Label12", .parent = "GroupBox4", .box = {197, 44, 89, 12}, .caption = "ランキング文字色"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {288, 40, 89, 20}, .tab = 3,
     .named_by = "Label12", .field = &Settings::CText2},
    {.name = "Label18", .parent = "GroupBox4", .box = {9, 67, 21, 12}, .caption = "Link"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {32, 64, 89, 20}, .tab = 4,
     .named_by = "Label18", .field = &Settings::CLink},
    {.name = "Label19", .parent = "GroupBox4", .box = {129, 67, 29, 12}, .caption = "ALink"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {160, 64, 89, 20}, .tab = 5,
     .named_by = "Label19", .field = &Settings::ALink},
    {.name = "Label20", .parent = "GroupBox4", .box = {257, 67, 29, 12}, .caption = "VLink"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {288, 64, 89, 20}, .tab = 6,
     .named_by = "Label20", .field = &Settings::VLink},
    {.name = "Label13", .parent = "GroupBox4", .box = {8, 95, 58, 12}, .caption = "文字サイズ"},
    {.kind = Kind::kSpinEdit, .parent = "GroupBox4", .box = {70, 90, 49, 22},
     .font_height = 13, .tab = 7, .spin = StepOnly(10), .named_by = "Label13", .field = &Settings::FontSize},
    {.name = "Label14", .parent = "GroupBox4", .box = {124, 95, 12, 12}, .caption = "％"},
    {.name = "Label15", .parent = "GroupBox4", .box = {189, 88, 89, 12}, .caption = "ファイル名最大長"},
    {.name = "Label16", .parent = "GroupBox4", .box = {189, 101, 94, 12}, .caption = "（これ以上は略す）"},
    {.kind = Kind::kSpinEdit, .parent = "GroupBox4", .box = {288, 91, 46, 22},
     .font_height = 13, .tab = 8, .spin = StepOnly(10), .named_by = "Label15", .field = &Settings::NameMax},
    {.name = "Label17", .parent = "GroupBox4", .box = {336, 96, 24, 12}, .caption = "文字"},
    // Designed unchecked; the settings file's default checks it at start.
    {.kind = Kind::kCheckBox, .parent = "GroupBox4", .box = {8, 120, 289, 17},
     .caption = "ランキング中のアドレス名からファイルにリンクを張る", .tab = 9, .field = &Settings::Link},
    {.name = "Label21", .parent = "GroupBox4", .box = {8, 139, 98, 12}, .caption = "ALinkプレフィックス"},
    {.name = "Label22", .parent = "GroupBox4", .box = {107, 138, 245, 12},
     .caption = "（ranking.htmlが最上階層なら./ 第二階層なら../）"},
    {.kind = Kind::kEdit, .parent = "GroupBox4", .box = {9, 154, 368, 20}, .tab = 10,
     .enabled = false, .background = colours::kGaugeIdle, .named_by = "Label21", .field = &Settings::Prefix},

    // The exclusion words; the design's lines differ from the settings
    // file's example words (full-width parentheses).
    {.name = "Marukin", .kind = Kind::kMemo, .parent = "GBox", .box = {8, 18, 225, 95},
     .caption = "例）禁止ワード1\n例）禁止ワード2", .tab = 0, .accessible_name = "除外ワード",
     .field = &Settings::KinsiWord},

    // The dialog of the counting rules: each rule a check box (the status
    // list an edit) with a line of help beneath. Its box is its client
    // size; it stands centred over the main window.
    {.name = "CountDialog", .kind = Kind::kWindow, .box = {0, 0, 470, 444}, .caption = "集計と表示の設定"},
    {.name = "CountGroup", .kind = Kind::kGroupBox, .parent = "CountDialog", .box = {8, 8, 454, 228},
     .caption = "ダウンロードの数え方（どれもオフなら従来どおり）", .tab = 0},
    {.kind = Kind::kCheckBox, .parent = "CountGroup", .box = {10, 20, 430, 17},
     .caption = "&H HTTP/2・HTTP/3 の要求も数える", .tab = 0, .field = &Settings::AnyHttp},
    {.name = "HelpAnyHttp", .parent = "CountGroup", .box = {28, 38, 410, 12},
     .caption = "要求欄を読み、HTTP/1.0・1.1 以外の版の GET も数えます"},
    {.name = "LabelStatus", .parent = "CountGroup", .box = {12, 62, 130, 12}, .caption = "&T 数える応答ステータス"},
    {.kind = Kind::kEdit, .parent = "CountGroup", .box = {150, 58, 120, 20}, .tab = 1,
     .named_by = "LabelStatus", .field = &Settings::Status},
    {.name = "HelpStatus", .parent = "CountGroup", .box = {28, 82, 410, 12},
     .caption = "例 200,206（3 桁をコンマで区切る。空欄ならすべて数えます）"},
    {.kind = Kind::kCheckBox, .parent = "CountGroup", .box = {10, 102, 430, 17},
     .caption = "&O 同じ人の同じファイルは 1 日 1 回と数える", .tab = 2, .field = &Settings::OncePerClient},
    {.name = "HelpOncePerClient", .parent = "CountGroup", .box = {28, 120, 410, 12},
     .caption = "アドレスとユーザーエージェントが同じなら、分割や再取得も 1 回です"},
    {.kind = Kind::kCheckBox, .parent = "CountGroup", .box = {10, 142, 430, 17},
     .caption = "&B 検索エンジンなどのクローラーを数えない", .tab = 3, .field = &Settings::Bots},
    {.name = "HelpBots", .parent = "CountGroup", .box = {28, 160, 410, 12},
     .caption = "crawler-user-agents の一覧に合うユーザーエージェントの行を除きます"},
    {.kind = Kind::kCheckBox, .parent = "CountGroup", .box = {10, 182, 430, 17},
     .caption = "&D %XX で書かれたファイル名を戻して数える", .tab = 4, .field = &Settings::Decode},
    {.name = "HelpDecode", .parent = "CountGroup", .box = {28, 200, 410, 12},
     .caption = "? から後を除き、%E6%97%A5 などを日本語に戻して数え、表示します"},
    {.name = "PageGroup", .kind = Kind::kGroupBox, .parent = "CountDialog", .box = {8, 244, 454, 92},
     .caption = "ページに加える列", .tab = 1},
    {.kind = Kind::kCheckBox, .parent = "PageGroup", .box = {10, 20, 430, 17},
     .caption = "&R 前回からの順位の変化（前回）", .tab = 0, .field = &Settings::Trend},
    {.name = "HelpTrend", .parent = "PageGroup", .box = {28, 38, 410, 12},
     .caption = "同じ長さの前の期間と比べた順位の動き（▲n・▼n・→・NEW）"},
    {.kind = Kind::kCheckBox, .parent = "PageGroup", .box = {10, 54, 430, 17},
     .caption = "&C ダウンロードした人数（DL人数）", .tab = 1, .field = &Settings::Clients},
    {.name = "HelpClients", .parent = "PageGroup", .box = {28, 72, 410, 12},
     .caption = "ファイルごとの、取った人（アドレスとユーザーエージェント）の数"},
    // Files, not columns: a box of its own.
    {.name = "ExportGroup", .kind = Kind::kGroupBox, .parent = "CountDialog", .box = {8, 344, 454, 58},
     .caption = "ページの隣に書き出すファイル", .tab = 2},
    {.kind = Kind::kCheckBox, .parent = "ExportGroup", .box = {10, 20, 430, 17},
     .caption = "&E 同じ順位を CSV と JSON でも書き出す", .tab = 0, .field = &Settings::Export},
    {.name = "HelpExport", .parent = "ExportGroup", .box = {28, 38, 410, 12},
     .caption = "ページと同じフォルダに ranking.csv（Excel 用）と ranking.json を書きます"},
    {.name = "CountOk", .kind = Kind::kButton, .parent = "CountDialog", .box = {294, 410, 80, 26},
     .caption = "OK", .tab = 3},
    {.name = "CountCancel", .kind = Kind::kButton, .parent = "CountDialog", .box = {382, 410, 80, 26},
     .caption = "キャンセル", .tab = 4},

    {.name = "OpenDialog", .kind = Kind::kOpenDialog,
     .caption = "読み込むログファイルの選択（任意拡張子ファイルも選択可能）",
     .filters = {{{"拡張子logのログファイル(*.log)", "*.log"}, {"任意のログファイル(*.*)", "*.*"}}}},
    {.name = "SaveDialog", .kind = Kind::kSaveDialog, .caption = "保存先とファイル名の指定",
     .filters = {{{"出力HTMLファイル(*.html)", "*.html"}}}, .file_name = "ranking.html"},
};

// The check box of family i, at the place the family table gives it.
constexpr ControlRow FamilyCheckBox(std::size_t i, std::string_view parent) {
  const ExtensionFamily& family = kExtensionFamilies[i];
  return {.name = family.key,
          .kind = Kind::kCheckBox,
          .parent = parent,
          .box = family.box,
          .caption = family.caption,
          .tab = static_cast<int>(i),
          .checked = family.on_at_first_start,
          .field = Field::Family(i)};
}

constexpr auto MakeControls() {
  std::array<ControlRow, std::size(kRows) - 1 + kFamilyCount> rows{};
  std::size_t n = 0;
  for (const ControlRow& row : kRows) {
    if (row.kind != Kind::kFamilyCheckBoxes) {
      rows[n] = row;
      const std::size_t stored = StoredFieldIndex(row.field);
      if (row.name.empty() && stored != kNotStored) rows[n].name = kSettingFields[stored].key;
      ++n;
      continue;
    }
    for (std::size_t i = 0; i < kFamilyCount; ++i) rows[n++] = FamilyCheckBox(i, row.parent);
  }
  return rows;
}

}  // namespace design

// Every control of the window, in the order of creation.
inline constexpr auto kControls = design::MakeControls();
inline constexpr std::size_t kControlCount = kControls.size();

// A control, by its place in kControls.
struct ControlId {
  std::uint16_t index;
  friend constexpr bool operator==(ControlId, ControlId) = default;
};

// The control of this design name; a name the table does not hold does not compile.
consteval ControlId Control(std::string_view name) {
  for (std::size_t i = 0; i < kControlCount; ++i)
    if (kControls[i].name == name) return {static_cast<std::uint16_t>(i)};
  throw std::logic_error("no control has this name");
}

constexpr const ControlRow& RowOf(ControlId id) { return kControls[id.index]; }

// The controls of a window that take the focus, in the order Tab visits
// them: the window's controls by their tab places, where a group box
// stands its own controls by theirs.
struct FocusChain {
  std::array<ControlId, kControlCount> ids{};
  std::size_t size = 0;
  constexpr const ControlId* begin() const { return ids.data(); }
  constexpr const ControlId* end() const { return ids.data() + size; }
};

namespace design {

constexpr bool TakesFocus(Kind kind) {
  return kind == Kind::kButton || kind == Kind::kCheckBox || kind == Kind::kEdit || kind == Kind::kSpinEdit ||
         kind == Kind::kMemo;
}

constexpr void AppendFocus(std::string_view container, FocusChain& chain) {
  for (int tab = 0; tab < static_cast<int>(kControlCount); ++tab)
    for (std::size_t i = 0; i < kControlCount; ++i) {
      const ControlRow& row = kControls[i];
      if (row.parent != container || row.tab != tab) continue;
      if (row.kind == Kind::kGroupBox)
        AppendFocus(row.name, chain);
      else if (TakesFocus(row.kind))
        chain.ids[chain.size++] = {static_cast<std::uint16_t>(i)};
    }
}

}  // namespace design

constexpr FocusChain FocusOrder(std::string_view window) {
  FocusChain chain;
  design::AppendFocus(window, chain);
  return chain;
}

// The place of the row of this design name; kControlCount for none.
constexpr std::size_t RowIndex(std::string_view name) {
  for (std::size_t i = 0; i < kControlCount; ++i)
    if (kControls[i].name == name) return i;
  return kControlCount;
}

// The name of the window a control sits in, through its group boxes (a
// window's own name for a window).
constexpr std::string_view WindowOf(const ControlRow& row) {
  std::string_view name = row.name;
  std::size_t at = RowIndex(name);
  for (std::size_t depth = 0; depth < kControlCount && at < kControlCount; ++depth) {
    if (kControls[at].kind == Kind::kWindow) return kControls[at].name;
    at = RowIndex(kControls[at].parent);
  }
  return {};
}

namespace design {

constexpr bool FieldFits(const ControlRow& row) {
  using F = Field::Kind;
  switch (row.kind) {
    case Kind::kEdit:
      return row.field.kind == F::kText || row.field.kind == F::kStatuses;
    case Kind::kSpinEdit:
      return row.field.kind == F::kNumber;
    case Kind::kCheckBox:
      return row.field.kind == F::kSwitch || row.field.kind == F::kFamily;
    case Kind::kMemo:
      return row.field.kind == F::kWords;
    default:
      return row.field.kind == F::kNone;
  }
}

// What the windows rely on, checked where the table is compiled: names
// are unique; every parent is a window or group box made before its
// controls; every label a screen reader reads is a label; every control
// that takes the focus has a tab place, a name for a screen reader and a
// field of its own kind; a spin edit that shows a stored number leaves
// its limits to the field list; and the controls that take the focus
// stand in the table in their focus order.
constexpr bool TableIsWellFormed() {
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const ControlRow& row = kControls[i];
    if (row.name.empty()) return false;
    for (std::size_t j = 0; j < i; ++j)
      if (kControls[j].name == row.name) return false;
    if (!row.parent.empty()) {
      const std::size_t parent = RowIndex(row.parent);
      if (parent >= i) return false;
      if (kControls[parent].kind != Kind::kWindow && kControls[parent].kind != Kind::kGroupBox) return false;
    }
    if (!row.named_by.empty() &&
        (RowIndex(row.named_by) == kControlCount || kControls[RowIndex(row.named_by)].kind != Kind::kLabel))
      return false;
    if (TakesFocus(row.kind) && row.tab < 0) return false;
    if (!TakesFocus(row.kind) && row.kind != Kind::kGroupBox && row.tab >= 0) return false;
    const bool has_own_name = row.kind == Kind::kButton || row.kind == Kind::kCheckBox;
    if (TakesFocus(row.kind) && !has_own_name && row.named_by.empty() && !row.accessible_name) return false;
    if (!FieldFits(row)) return false;
    const bool stored_number = row.kind == Kind::kSpinEdit && StoredFieldIndex(row.field) != kNotStored;
    if (stored_number && (row.spin.minimum != 0 || row.spin.maximum != 0 || row.spin.value != 0)) return false;
    if (row.kind == Kind::kSpinEdit && !stored_number && row.spin.minimum > row.spin.maximum) return false;
  }
  // Within each window, the rows that take the focus follow its focus order.
  for (const ControlRow& window : kControls) {
    if (window.kind != Kind::kWindow) continue;
    const FocusChain chain = FocusOrder(window.name);
    std::size_t n = 0;
    for (std::size_t i = 0; i < kControlCount; ++i) {
      if (!TakesFocus(kControls[i].kind) || WindowOf(kControls[i]) != window.name) continue;
      if (n == chain.size || chain.ids[n++].index != i) return false;
    }
    if (n != chain.size) return false;
  }
  return true;
}
static_assert(TableIsWellFormed(), "the control table contradicts itself");

}  // namespace design

// The texts a control shows at first, in code page 932: its caption, or
// for a control that shows a field without a caption of its own, the
// field's default; a memo's lines.
std::string DesignText(ControlId id);
std::vector<std::string> DesignLines(ControlId id);
// A spin edit's limits and value at first.
SpinDesign DesignSpin(ControlId id);
// A file dialog's filters, in code page 932.
struct FileFilter {
  std::string caption;  // as shown
  std::string pattern;  // such as "*.log"; "*.*" means every file
};
std::vector<FileFilter> DesignFilters(ControlId dialog);
// What a screen reader announces for the control (code page 932), without
// a label's "&"; empty when its own caption names it.
std::string AccessibleName(ControlId id);

}  // namespace junmaru::form
