#pragma once

// The single-line edits (colour texts, the link prefix) and the memo of
// exclusion words.

#include <cstdint>
#include <string>
#include <vector>

#include "control.h"
#include "kept_text.h"

namespace junmaru::win32 {

// A single-line edit of free text without length limit, on a background
// colour of its own (in every state, enabled or not).
class Edit : public Control {
 public:
  Edit(HWND parent, int id, Box design, int font_height, const std::string& text);
  ~Edit() override;

  // The text as the program set it, or as the user typed it.
  std::string Text() const { return kept_.Original(WindowText(hwnd_)); }
  // Setting the text that the edit already holds changes nothing.
  void SetText(const std::string& cp932);
  // A platform colour integer (a COLORREF).
  void SetBackground(std::uint32_t colour_ref);
  HBRUSH Colours(HDC dc) override;
  bool SelectsOnTabFocus() const override { return true; }

 private:
  COLORREF background_;
  HBRUSH brush_ = nullptr;
  KeptTexts kept_;
};

// A multi-line edit with word wrap and a vertical scroll bar only. Enter
// starts a new line; Tab and Shift+Tab move the focus on; Esc does nothing.
class Memo : public Control {
 public:
  Memo(HWND parent, int id, Box design, int font_height);

  // The memo's lines as typed (wrapping adds no line breaks), each cut at
  // the memo's line limit; a line that the program set comes back as the
  // bytes it set.
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);

 private:
  KeptTexts kept_;
};

}  // namespace junmaru::win32
