#include "window_font.h"

#include <algorithm>

#include "cp932.h"

namespace junmaru::win32 {
namespace {

int CALLBACK NoteFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::string& face) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  if (face.size() >= LF_FACESIZE) return false;
  face.copy(wanted.lfFaceName, face.size());
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(dc, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

std::string ChooseFace() {
  // The design face first, then gothics of the same build that free
  // systems carry, by the names Windows and Wine list them under.
  const char* const faces[] = {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA Pゴシック",
                               "VL PGothic",     "VL Pゴシック", "Noto Sans CJK JP", "IPAGothic"};
  for (const char* face : faces) {
    const std::string cp932 = junmaru::Utf8ToCp932(face);
    if (FaceInstalled(cp932)) return cp932;
  }
  return junmaru::Sjis("ＭＳ Ｐゴシック");  // the font mapper picks the nearest
}

}  // namespace

// The installed faces do not change while the program runs: look once.
WindowFonts::WindowFonts() {
  static const std::string chosen = ChooseFace();
  face_ = chosen;
}

WindowFonts::~WindowFonts() { Clear(); }

void WindowFonts::Clear() {
  for (auto& [height, font] : fonts_) DeleteObject(font);
  fonts_.clear();
}

HFONT WindowFonts::At(int design_height, int dpi) {
  if (dpi != dpi_) {
    Clear();
    dpi_ = dpi;
  }
  HFONT& font = fonts_[design_height];
  if (!font) {
    LOGFONTA logfont{};
    logfont.lfHeight = -MulDiv(design_height, dpi, 96);  // character height, not cell height
    logfont.lfWeight = FW_NORMAL;
    logfont.lfCharSet = SHIFTJIS_CHARSET;
    logfont.lfQuality = CLEARTYPE_QUALITY;
    logfont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    face_.copy(logfont.lfFaceName, std::min<std::size_t>(face_.size(), LF_FACESIZE - 1));
    font = CreateFontIndirectA(&logfont);
  }
  return font;
}

}  // namespace junmaru::win32
