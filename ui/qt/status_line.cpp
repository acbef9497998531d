#include "status_line.h"

#include <QPalette>

#include "colour_ref.h"
#include "widget_text.h"

namespace junmaru::window {

StatusLine::StatusLine(QWidget* parent) : Label(parent) {
  setAutoFillBackground(true);
  SetErrorColour(false);
}

void StatusLine::SetErrorColour(bool error) {
  error_ = error;
  QPalette colours = palette();
  colours.setColor(QPalette::Window,
                   error ? ColourOf(form::colours::kError) : QPalette().color(QPalette::Button));
  setPalette(colours);
}

}  // namespace junmaru::window
