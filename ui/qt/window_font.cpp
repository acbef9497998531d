#include "window_font.h"

#include <QString>
#include <QStringList>

namespace junmaru::window {

QFont WindowFont() {
  const QString face = QString::fromUtf8("ＭＳ Ｐゴシック");
  QFont::insertSubstitutions(face, {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")});
  QFont font(face);
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace junmaru::window
