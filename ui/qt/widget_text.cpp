#include "widget_text.h"

#include "colour_ref.h"
#include "cp932.h"

namespace junmaru::window {

QString Ui(const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); }

std::string FromUi(const QString& text) { return Utf8ToCp932(text.toStdString()); }

QColor ColourOf(std::uint32_t colour_ref) {
  form::Rgb rgb = form::RgbOf(colour_ref);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace junmaru::window
