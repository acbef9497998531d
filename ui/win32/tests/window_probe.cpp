// Reads and drives the running window from outside, as the end-to-end
// test under Wine needs: what each control shows, what a message box of
// the program says, and a close as the title bar's close button sends it.
//
//   window_probe texts      one line per shown control of the main window:
//                           "left,top<TAB>class<TAB>text", the place in
//                           client pixels at 96 DPI, the text as code
//                           page 932 bytes
//   window_probe box        "caption<TAB>text" of the program's message
//                           box (status 1 if none is open); then its OK
//   window_probe focus      "left,top<TAB>class" of the control that has
//                           the keyboard focus
//   window_probe names      one line per shown control of the main window:
//                           "left,top<TAB>class<TAB>name", the name a
//                           screen reader announces (MSAA), in UTF-8
//   window_probe gauge      "name<TAB>role<TAB>value" of the progress gauge
//                           as a screen reader reads it (MSAA), in UTF-8;
//                           the role as its number (48: progress bar)
//   window_probe frame      "title<TAB>maximise<TAB>size" of the main window's
//                           frame: the title of the window that has the
//                           taskbar button, in UTF-8; "maximise box" when
//                           the window has one; after a maximise, "same
//                           size" when the client area kept its size (the
//                           window is restored afterwards)
//   window_probe close      posts WM_CLOSE to the main window
//
// Exit status 0 on success, 1 when the window or box is not there.

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND MainWindow() { return FindWindowA("TForm1", nullptr); }

// WM_GETTEXT, since GetWindowTextA does not read an edit of another process.
std::string TextOf(HWND hwnd) {
  const auto length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  const auto copied = SendMessageA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return std::string(text.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void Write(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

// One control per output line: the memo's line breaks are written as \r and \n.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') line += "\\r";
    else if (c == '\n') line += "\\n";
    else line += c;
  }
  return line;
}

// The control's place in client pixels at 96 DPI and its class.
std::string PlaceAndClass(HWND child, HWND parent) {
  RECT box;
  GetWindowRect(child, &box);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
  const int dpi = static_cast<int>(GetDpiForWindow(parent));
  char window_class[64] = {};
  GetClassNameA(child, window_class, sizeof window_class);
  return std::to_string(MulDiv(box.left, 96, dpi)) + "," + std::to_string(MulDiv(box.top, 96, dpi)) + "\t" +
         window_class;
}

BOOL CALLBACK PrintControl(HWND child, LPARAM parent);

int Frame(HWND main) {
  // The taskbar shows the unowned window at the top of the owner chain.
  HWND top = main;
  while (GetWindow(top, GW_OWNER)) top = GetWindow(top, GW_OWNER);
  wchar_t title[256] = {};
  GetWindowTextW(top, title, 256);
  char utf8[1024] = {};
  WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
  RECT before, after;
  GetClientRect(main, &before);
  SendMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  const bool zoomed = IsZoomed(main) != FALSE;
  GetClientRect(main, &after);
  SendMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  Write(std::string(utf8) + "\t" +
        ((GetWindowLongA(main, GWL_STYLE) & WS_MAXIMIZEBOX) ? "maximise box" : "no maximise box") + "\t" +
        (!zoomed ? "not maximised" : EqualRect(&before, &after) ? "same size" : "other size") + "\n");
  return 0;
}

int Focus(HWND main) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread) || !thread.hwndFocus) return 1;
  PrintControl(thread.hwndFocus, reinterpret_cast<LPARAM>(main));
  return 0;
}

// Whether the control is ever shown (while its window is): a name for
// screen readers is not.
bool Shown(HWND child) { return (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0; }

BOOL CALLBACK PrintControl(HWND child, LPARAM parent) {
  if (!Shown(child)) return TRUE;
  Write(PlaceAndClass(child, reinterpret_cast<HWND>(parent)) + "\t" + OneLine(TextOf(child)) + "\n");
  return TRUE;
}

std::string Utf8(BSTR text) {
  if (!text) return {};
  const int wide = static_cast<int>(SysStringLen(text));
  std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr)),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  SysFreeString(text);
  return utf8;
}

// The MSAA client object of a control, or why there is none.
IAccessible* AccessibleOf(HWND child, std::string* failure) {
  IAccessible* accessible = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(child, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&accessible));
  if (SUCCEEDED(found) && accessible) return accessible;
  char code[32];
  std::snprintf(code, sizeof code, "(no object: %08lx)", static_cast<unsigned long>(found));
  *failure = code;
  return nullptr;
}

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// The MSAA name of a control's client object, in UTF-8.
std::string AccessibleNameOf(HWND child) {
  std::string failure;
  IAccessible* accessible = AccessibleOf(child, &failure);
  if (!accessible) return failure;
  BSTR name = nullptr;
  const std::string utf8 = accessible->get_accName(Self(), &name) == S_OK ? Utf8(name) : std::string();
  accessible->Release();
  return utf8;
}

int Gauge(HWND main) {
  HWND gauge = FindWindowExA(main, nullptr, "JunmaruGauge", nullptr);
  if (!gauge) return 1;
  std::string failure;
  IAccessible* accessible = AccessibleOf(gauge, &failure);
  if (!accessible) {
    Write(failure + "\n");
    return 1;
  }
  BSTR name = nullptr, value = nullptr;
  VARIANT role;
  VariantInit(&role);
  std::string line = accessible->get_accName(Self(), &name) == S_OK ? Utf8(name) : std::string();
  line += "\t" + std::to_string(accessible->get_accRole(Self(), &role) == S_OK && role.vt == VT_I4 ? role.lVal : 0);
  line += "\t" + (accessible->get_accValue(Self(), &value) == S_OK ? Utf8(value) : std::string());
  accessible->Release();
  Write(line + "\n");
  return 0;
}

BOOL CALLBACK PrintName(HWND child, LPARAM parent) {
  if (!Shown(child)) return TRUE;
  Write(PlaceAndClass(child, reinterpret_cast<HWND>(parent)) + "\t" + OneLine(AccessibleNameOf(child)) + "\n");
  return TRUE;
}

struct BoxSearch {
  DWORD process;
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM search_address) {
  auto* search = reinterpret_cast<BoxSearch*>(search_address);
  char window_class[16] = {};
  GetClassNameA(hwnd, window_class, sizeof window_class);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (std::strcmp(window_class, "#32770") == 0 && process == search->process && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

int Box() {
  HWND main = MainWindow();
  BoxSearch search{0};
  if (main) GetWindowThreadProcessId(main, &search.process);
  if (!main || (EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search)), !search.found)) return 1;
  // A message box's text is its static control 0xFFFF.
  HWND text = GetDlgItem(search.found, 0xFFFF);
  Write(TextOf(search.found) + "\t" + OneLine(text ? TextOf(text) : std::string()) + "\n");
  PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  _setmode(_fileno(stdout), _O_BINARY);  // the bytes as they are, lines ending in LF
  const std::string command = argc > 1 ? argv[1] : "";
  HWND main = MainWindow();
  if (command == "texts") {
    if (!main) return 1;
    EnumChildWindows(main, PrintControl, reinterpret_cast<LPARAM>(main));
    return 0;
  }
  if (command == "names") {
    if (!main) return 1;
    CoInitialize(nullptr);
    EnumChildWindows(main, PrintName, reinterpret_cast<LPARAM>(main));
    return 0;
  }
  if (command == "gauge") {
    if (!main) return 1;
    CoInitialize(nullptr);
    return Gauge(main);
  }
  if (command == "frame") return main ? Frame(main) : 1;
  if (command == "box") return Box();
  if (command == "focus") return main ? Focus(main) : 1;
  if (command == "close") return main && PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : 1;
  std::fputs("usage: window_probe texts | names | gauge | frame | box | focus | close\n", stderr);
  return 2;
}
