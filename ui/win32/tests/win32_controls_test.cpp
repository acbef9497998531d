// The Win32 window's controls, driven through the messages the system
// sends them: typing, arrow keys, the up-down buttons, leaving a spin
// edit, check boxes, the memo's keys and bytes, the gauge's repaints. Runs
// under Wine with a display (the Wine window test starts it).

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "buttons.h"
#include "control_set.h"
#include "cp932.h"
#include "edits.h"
#include "form_controls.h"
#include "label.h"
#include "main_window.h"
#include "progress_gauge.h"
#include "spin_edit.h"

namespace junmaru::win32 {
namespace {

using form::Control;

class Win32Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<MainWindow>(GetModuleHandleA(nullptr), "controls test");
    BuildControls(*window_, c_);
    window_->Show(SW_SHOWNORMAL);
    Pump();
  }
  void TearDown() override {
    window_.reset();
    Pump();
  }

  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  static void Type(HWND target, const std::string& chars) {
    for (char ch : chars) SendMessageA(target, WM_CHAR, static_cast<unsigned char>(ch), 0);
  }
  static void Key(HWND target, WPARAM key) {
    SendMessageA(target, WM_KEYDOWN, key, 0);
    SendMessageA(target, WM_KEYUP, key, 0);
  }
  // A click on the upper or lower half of a spin edit's up-down buttons.
  static void ClickArrow(const SpinEdit& spin, bool up) {
    RECT box;
    GetClientRect(spin.UpDown(), &box);
    const LPARAM at = MAKELPARAM(box.right / 2, up ? box.bottom / 4 : box.bottom * 3 / 4);
    SendMessageA(spin.UpDown(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spin.UpDown(), WM_LBUTTONUP, 0, at);
  }

  std::unique_ptr<MainWindow> window_;
  FormControls c_;
};

TEST_F(Win32Controls, TypingRulesOfEachSpinEdit) {
  c_.Get<SpinEdit>(Control("PStart"))->SetEnabled(true);
  c_.Get<SpinEdit>(Control("PStart"))->SetText("");
  Type(c_.Get<SpinEdit>(Control("PStart"))->Handle(), "1a2-+ x");
  EXPECT_EQ(c_.Get<SpinEdit>(Control("PStart"))->Text(), "12-+");
  Type(c_.Get<SpinEdit>(Control("PStart"))->Handle(), "\b");
  EXPECT_EQ(c_.Get<SpinEdit>(Control("PStart"))->Text(), "12-");

  for (form::ControlId id : {Control("PRank"), Control("FontSize"), Control("NameMax")}) {
    SpinEdit* step_only = c_.Get<SpinEdit>(id);
    const std::string before = step_only->Text();
    Type(step_only->Handle(), "5\b\x16\x18");
    Key(step_only->Handle(), VK_DELETE);
    SendMessageA(step_only->Handle(), WM_PASTE, 0, 0);
    SendMessageA(step_only->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(step_only->Text(), before);
  }
}

TEST_F(Win32Controls, ArrowsStepByTheIncrementWithinTheLimits) {
  const struct {
    const char* name;
    form::ControlId spin;
    std::string start;
    bool up;
    bool by_key;
    std::string after;
  } cases[] = {
      {"PRank up from 15 adds the increment", Control("PRank"), "15", true, true, "25"},
      {"PRank up at the maximum stays", Control("PRank"), "10000", true, true, "10000"},
      {"PRank down at the minimum stays", Control("PRank"), "10", false, true, "10"},
      {"FontSize up button", Control("FontSize"), "80", true, false, "90"},
      {"NameMax down button", Control("NameMax"), "40", false, false, "30"},
      {"an empty NameMax steps from its minimum", Control("NameMax"), "", true, true, "20"},
  };
  for (const auto& c : cases) {
    SpinEdit* spin = c_.Get<SpinEdit>(c.spin);
    spin->SetText(c.start);
    if (c.by_key) {
      Key(spin->Handle(), c.up ? VK_UP : VK_DOWN);
    } else {
      ClickArrow(*spin, c.up);
    }
    Pump();
    EXPECT_EQ(spin->Text(), c.after) << c.name;
  }
}

// Each spin edit shows every digit of its widest value, at 96 and 144 DPI:
// the first digit is not scrolled away and the last is not cut off.
TEST_F(Win32Controls, SpinEditsShowEveryDigitOfTheirWidestValue) {
  const struct {
    const char* name;
    form::ControlId spin;
    const char* widest;
  } cases[] = {
      {"TOP", Control("PRank"), "10000"},
      {"FontSize", Control("FontSize"), "1000"},
      {"NameMax", Control("NameMax"), "1000"},
      {"a range of a hundred million lines", Control("PEnd"), "100000000"},
  };
  for (const int dpi : {96, 144}) {
    RECT frame;
    GetWindowRect(window_->Handle(), &frame);
    SendMessageA(window_->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
    for (const auto& c : cases) {
      SpinEdit* spin = c_.Get<SpinEdit>(c.spin);
      SetFocus(spin->Handle());
      spin->SetText(c.widest);
      const auto length = static_cast<WPARAM>(std::strlen(c.widest));
      SendMessageA(spin->Handle(), EM_SETSEL, length, static_cast<LPARAM>(length));  // the caret at the end
      Pump();
      RECT room;
      SendMessageA(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
      const HDC dc = GetDC(spin->Handle());
      const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(spin->Handle(), WM_GETFONT, 0, 0)));
      SIZE text;
      GetTextExtentPoint32A(dc, c.widest, static_cast<int>(length), &text);
      SelectObject(dc, before);
      ReleaseDC(spin->Handle(), dc);
      const int first = static_cast<short>(LOWORD(SendMessageA(spin->Handle(), EM_POSFROMCHAR, 0, 0)));
      EXPECT_GE(first, room.left) << c.name << " at " << dpi;
      EXPECT_LE(first + text.cx, room.right) << c.name << " at " << dpi;
    }
  }
}

// The maximise button is there; maximised, the window keeps its size and
// its layout at the top left of the work area, and restoring puts it back.
TEST_F(Win32Controls, MaximisingKeepsTheFixedLayout) {
  const HWND main = window_->Handle();
  EXPECT_TRUE(GetWindowLongA(main, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_FALSE(GetWindowLongA(main, GWL_STYLE) & WS_THICKFRAME);
  const auto go_in_client = [&] {
    RECT go;
    GetWindowRect(c_.Get<PushButton>(Control("BtnGo"))->Handle(), &go);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&go), 2);
    return go;
  };
  RECT normal, client, go;
  GetWindowRect(main, &normal);
  GetClientRect(main, &client);
  go = go_in_client();

  SendMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsZoomed(main));
  RECT maximised, maximised_client, work;
  GetWindowRect(main, &maximised);
  GetClientRect(main, &maximised_client);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(EqualRect(&maximised_client, &client));
  const RECT go_maximised = go_in_client();
  EXPECT_TRUE(EqualRect(&go_maximised, &go));
  EXPECT_EQ(maximised.left, work.left);
  EXPECT_EQ(maximised.top, work.top);

  SendMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  RECT restored;
  GetWindowRect(main, &restored);
  EXPECT_FALSE(IsZoomed(main));
  EXPECT_TRUE(EqualRect(&restored, &normal));
}

// The taskbar button is the owner's, titled with the application's title;
// minimising the window minimises the owner, and the owner's button brings
// the window back.
TEST_F(Win32Controls, TheTaskbarButtonShowsTheApplicationTitle) {
  const HWND main = window_->Handle();
  const HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_EQ(owner, window_->Owner());
  EXPECT_EQ(WindowText(owner), Sjis("順位丸"));
  EXPECT_TRUE(IsWindowVisible(owner));
  EXPECT_FALSE(GetWindow(owner, GW_OWNER));
  EXPECT_FALSE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);

  SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(owner));
  EXPECT_FALSE(IsWindowVisible(main));
  SendMessageA(owner, WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(owner));
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(Win32Controls, LeavingASpinEditOutsideItsLimitsSetsItAgain) {
  c_.Get<SpinEdit>(Control("PStart"))->SetEnabled(true);
  c_.Get<SpinEdit>(Control("PStart"))->SetMaxValue(99);
  SetFocus(c_.Get<SpinEdit>(Control("PStart"))->Handle());
  c_.Get<SpinEdit>(Control("PStart"))->SetText("100");
  EXPECT_EQ(c_.Get<SpinEdit>(Control("PStart"))->Value(), 100);  // read as typed
  SetFocus(c_.Get<Edit>(Control("CBG"))->Handle());
  EXPECT_EQ(c_.Get<SpinEdit>(Control("PStart"))->Text(), "99");
}

TEST_F(Win32Controls, ChangeAndClickHandlersRunOnRealChangesOnly) {
  int changes = 0;
  c_.Get<SpinEdit>(Control("PEnd"))->on_change = [&] { ++changes; };
  c_.Get<SpinEdit>(Control("PEnd"))->SetEnabled(true);
  c_.Get<SpinEdit>(Control("PEnd"))->SetText("2");  // already shown
  EXPECT_EQ(changes, 0);
  c_.Get<SpinEdit>(Control("PEnd"))->SetValue(5);
  EXPECT_EQ(changes, 1);
  SendMessageA(c_.Get<SpinEdit>(Control("PEnd"))->Handle(), EM_SETSEL, 1, 1);
  Type(c_.Get<SpinEdit>(Control("PEnd"))->Handle(), "0");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(c_.Get<SpinEdit>(Control("PEnd"))->Text(), "50");

  int clicks = 0;
  c_.Get<CheckBox>(Control("Link"))->on_click = [&] { ++clicks; };
  c_.Get<CheckBox>(Control("Link"))->SetChecked(false);  // already unchecked
  EXPECT_EQ(clicks, 0);
  c_.Get<CheckBox>(Control("Link"))->SetChecked(true);
  EXPECT_EQ(clicks, 1);
  SendMessageA(c_.Get<CheckBox>(Control("Link"))->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(c_.Get<CheckBox>(Control("Link"))->Checked());
}

TEST_F(Win32Controls, TextsKeepTheBytesTheProgramSet) {
  // 0xED40 and 0xFA5C are one character; the control would give back the
  // latter. 0x81 0x5F is the full-width backslash.
  const std::vector<std::string> words = {"\xED\x40", "\xFA\x5C", "a\x81\x5F" "b", "", "\x83\x5C"};
  c_.Get<Memo>(Control("Marukin"))->SetLines(words);
  EXPECT_EQ(c_.Get<Memo>(Control("Marukin"))->Lines(), words);
  c_.Get<Edit>(Control("CBG"))->SetText("\xED\x40#1");
  EXPECT_EQ(c_.Get<Edit>(Control("CBG"))->Text(), "\xED\x40#1");
  // A word the user adds reads as typed; the others keep their bytes.
  const int end = GetWindowTextLengthA(c_.Get<Memo>(Control("Marukin"))->Handle());
  SendMessageA(c_.Get<Memo>(Control("Marukin"))->Handle(), EM_SETSEL, end, end);
  SendMessageA(c_.Get<Memo>(Control("Marukin"))->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("\r\nnew"));
  std::vector<std::string> more = words;
  more.push_back("new");
  EXPECT_EQ(c_.Get<Memo>(Control("Marukin"))->Lines(), more);
}

TEST_F(Win32Controls, EscapeInTheMemoDoesNotCloseTheWindow) {
  bool destroyed = false;
  window_->on_destroy = [&] { destroyed = true; };
  SetFocus(c_.Get<Memo>(Control("Marukin"))->Handle());
  Key(c_.Get<Memo>(Control("Marukin"))->Handle(), VK_ESCAPE);
  SendMessageA(c_.Get<Memo>(Control("Marukin"))->Handle(), WM_CHAR, VK_ESCAPE, 0);
  Pump();
  EXPECT_FALSE(destroyed);
  EXPECT_TRUE(IsWindow(window_->Handle()));
  window_->on_destroy = nullptr;
}

TEST_F(Win32Controls, GaugeRedrawsOnlyWhenItsPercentageChanges) {
  Pump();
  const struct {
    long long progress;
    int percent;
    bool redraws;
  } steps[] = {{5, 0, false}, {10, 1, true}, {19, 1, false}, {999, 99, true}, {1000, 100, true},
               {5000, 100, false}, {-3, 0, true}};
  for (const auto& step : steps) {
    const int before = c_.Get<ProgressGauge>(Control("Gauge"))->PaintCount();
    c_.Get<ProgressGauge>(Control("Gauge"))->SetProgress(step.progress);
    EXPECT_EQ(c_.Get<ProgressGauge>(Control("Gauge"))->Percent(), step.percent) << step.progress;
    EXPECT_EQ(c_.Get<ProgressGauge>(Control("Gauge"))->PaintCount() > before, step.redraws) << step.progress;
  }
}

TEST_F(Win32Controls, StatusLineAndLabelsFollowTheirText) {
  c_.Get<StatusLine>(Control("State"))->SetErrorColour(true);
  EXPECT_TRUE(c_.Get<StatusLine>(Control("State"))->ShowsError());
  RECT before, after;
  GetWindowRect(c_.Get<Label>(Control("LogFirst"))->Handle(), &before);
  c_.Get<Label>(Control("LogFirst"))
      ->SetCaption(
          "2004\x94\x4E"
          "10\x8C\x8E"
          "10\x93\xFA 00\x8E\x9E"
          "09\x95\xAA"
          "03\x95\x62");
  GetWindowRect(c_.Get<Label>(Control("LogFirst"))->Handle(), &after);
  EXPECT_GT(after.right - after.left, before.right - before.left);
}

// A status text wider than the row stops at the gauge's right edge, short
// of GO, drawn shortened in the middle; the whole text is the tooltip and
// the window text a screen reader reads. A text that fits has no tooltip.
TEST_F(Win32Controls, StatusLineKeepsToItsRow) {
  const std::string long_path = "Z:\\srv\\www\\" + std::string(30, 'd') + "\\" + std::string(60, 'e') +
                                "\\ranking.html";
  const struct {
    const char* name;
    std::string text;
    bool fits;
  } cases[] = {
      {"a short status", Sjis("待機中（ログ読み込み完了）"), true},
      {"an error naming a long path", Sjis("ファイル ") + long_path + Sjis(" を作成できません"), false},
      {"back to a short status", Sjis("出力完了！"), true},
  };
  StatusLine* status = c_.Get<StatusLine>(Control("State"));
  EXPECT_TRUE(GetWindowLongA(status->Handle(), GWL_STYLE) & SS_PATHELLIPSIS);
  for (const int dpi : {96, 144}) {
    RECT frame;
    GetWindowRect(window_->Handle(), &frame);
    SendMessageA(window_->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
    for (const auto& c : cases) {
      status->SetCaption(c.text);
      RECT line, gauge, go;
      GetWindowRect(status->Handle(), &line);
      GetWindowRect(c_.Get<ProgressGauge>(Control("Gauge"))->Handle(), &gauge);
      GetWindowRect(c_.Get<PushButton>(Control("BtnGo"))->Handle(), &go);
      EXPECT_LE(line.right, gauge.right) << c.name << " at " << dpi;
      EXPECT_LT(line.right, go.left) << c.name << " at " << dpi;
      EXPECT_EQ(WindowText(status->Handle()), c.text) << c.name << " at " << dpi;
      // The tooltip's text as the tooltip gives it back (Wine gives at most
      // its first 80 characters).
      const std::string tip = status->TipText();
      if (c.fits) {
        EXPECT_EQ(tip, std::string()) << c.name << " at " << dpi;
      } else {
        EXPECT_GE(tip.size(), 80u) << c.name << " at " << dpi;
        EXPECT_EQ(c.text.compare(0, tip.size(), tip), 0) << c.name << " at " << dpi;
      }
      if (c.fits) EXPECT_EQ(line.right - line.left, TextWidth(status->Handle(), c.text)) << c.name;
    }
  }
}

// The window makes a check box of each row of the family table, with the
// row's caption and first-start state.
TEST_F(Win32Controls, EachFamilyHasItsCheckBox) {
  for (std::uint16_t i = 0; i < form::kControlCount; ++i) {
    const form::Field& field = form::kControls[i].field;
    if (field.kind != form::Field::Kind::kFamily) continue;
    const ExtensionFamily& family = kExtensionFamilies[field.family];
    EXPECT_EQ(WindowText(c_.controls[i]->Handle()), Sjis(family.caption)) << family.key;
    EXPECT_EQ(c_.Get<CheckBox>({i})->Checked(), family.on_at_first_start) << family.key;
  }
}

// What a screen reader announces (MSAA), for every control of the table
// that its own text does not name: the name the table gives it.
TEST_F(Win32Controls, ScreenReaderNamesComeFromTheTable) {
  CoInitialize(nullptr);
  int named = 0;
  for (std::uint16_t i = 0; i < form::kControlCount; ++i) {
    const form::ControlId id{i};
    const std::string expected = form::AccessibleName(id);
    if (expected.empty()) continue;
    IAccessible* accessible = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(c_.controls[i]->Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    ASSERT_EQ(accessible->get_accName(self, &name), S_OK) << form::kControls[i].name;
    // The whole BSTR, so that padding after the name would show.
    const int length = static_cast<int>(SysStringLen(name));
    std::string shown(static_cast<std::size_t>(WideCharToMultiByte(932, 0, name, length, nullptr, 0, nullptr, nullptr)),
                      '\0');
    WideCharToMultiByte(932, 0, name, length, shown.data(), static_cast<int>(shown.size()), nullptr, nullptr);
    SysFreeString(name);
    accessible->Release();
    EXPECT_EQ(shown, expected) << form::kControls[i].name;
    ++named;
  }
  EXPECT_EQ(named, 16);  // the main window's 15 and the dialog's status list
  CoUninitialize();
}

// The dialog of the counting rules, by keyboard, as the dialog loop reads
// the keys: Alt plus a rule's letter toggles it, Enter asks OK (which
// closes only when accepted), Esc cancels; the main window is disabled
// while it is shown, and the dialog is hidden again after.
TEST_F(Win32Controls, CountDialogByKeyboard) {
  const form::ModalDialog& d = form::kCountDialog;
  DialogWindow& dialog = *c_.windows[d.window.index];
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
  EXPECT_EQ(WindowText(dialog.Handle()), Sjis("集計と表示の設定"));
  const HWND any_http = c_.controls[Control("AnyHttp").index]->Handle();
  auto guard = [](const std::function<void()>& handler) { handler(); };
  int asked = 0;
  bool owner_disabled = false;
  auto accept = [&] {
    owner_disabled = !IsWindowEnabled(window_->Handle());
    return ++asked == 2;  // the first OK is refused, as a bad status list is
  };
  // Keys wait in the queue for the dialog's loop: Alt+H, Enter (refused), Enter.
  PostMessageA(any_http, WM_SYSCHAR, 'h', 1 << 29);
  PostMessageA(any_http, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(any_http, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(dialog.RunModal(*c_.Get<PushButton>(d.ok), *c_.Get<PushButton>(d.cancel), accept, guard));
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(c_.Get<CheckBox>(Control("AnyHttp"))->Checked());
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
  EXPECT_TRUE(IsWindowEnabled(window_->Handle()));

  PostMessageA(any_http, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(dialog.RunModal(*c_.Get<PushButton>(d.ok), *c_.Get<PushButton>(d.cancel), accept, guard));
  EXPECT_EQ(asked, 2);
  Pump();
}

// A screen reader finds the gauge a progress bar whose value is the
// percentage it shows.
TEST_F(Win32Controls, GaugeIsAProgressBarInPercent) {
  CoInitialize(nullptr);
  c_.Get<ProgressGauge>(Control("Gauge"))->SetProgress(423);
  IAccessible* accessible = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(c_.Get<ProgressGauge>(Control("Gauge"))->Handle(), OBJID_CLIENT,
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)),
            S_OK);
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role;
  ASSERT_EQ(accessible->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_PROGRESSBAR);
  BSTR value = nullptr;
  ASSERT_EQ(accessible->get_accValue(self, &value), S_OK);
  EXPECT_EQ(std::wstring(value, SysStringLen(value)), L"42%");
  SysFreeString(value);
  accessible->Release();
  CoUninitialize();
}

}  // namespace
}  // namespace junmaru::win32
