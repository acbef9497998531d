#pragma once

// The window's font: "ＭＳ Ｐゴシック", regular, Shift_JIS, at a character
// height given in pixels at 96 DPI (12 for most controls, 13 and 15 for a
// few). Where that face is not installed (Wine, a system without Japanese
// fonts), the first installed Japanese proportional gothic stands in.

#include <windows.h>

#include <map>
#include <string>

namespace junmaru::win32 {

class WindowFonts {
 public:
  WindowFonts();
  ~WindowFonts();
  WindowFonts(const WindowFonts&) = delete;
  WindowFonts& operator=(const WindowFonts&) = delete;

  // The face in use, as code page 932 bytes.
  const std::string& Face() const { return face_; }
  // The font of the given design height at dpi; made once and kept until
  // the DPI changes.
  HFONT At(int design_height, int dpi);

 private:
  void Clear();

  std::string face_;
  int dpi_ = 0;
  std::map<int, HFONT> fonts_;
};

}  // namespace junmaru::win32
