#pragma once

// The one crossing between the program's code page 932 texts and the
// widgets' UTF-16 strings, and between colour integers and QColor.

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>

namespace junmaru::window {

QString Ui(const std::string& cp932);
std::string FromUi(const QString& text);
QColor ColourOf(std::uint32_t colour_ref);

}  // namespace junmaru::window
