#pragma once

#include <QFont>

namespace junmaru::window {

// The window's face, "ＭＳ Ｐゴシック" at 12 pixels, regular. Where that
// face is missing, a Japanese proportional gothic of the same build stands
// in, the first of several that is installed. The window, its dialogs and
// its message boxes all use it.
QFont WindowFont();

}  // namespace junmaru::window
