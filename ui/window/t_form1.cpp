#include "t_form1.h"

#include <QFont>
#include <QIcon>
#include <QPushButton>

#include "cp932.h"
#include "form_run_settings.h"
#include "message_box.h"
#include "progress_gauge.h"
#include "ranking_page.h"
#include "spin_edit.h"
#include "status_line.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

const char kFontFace[] = "ＭＳ Ｐゴシック";

QFont WindowFont() {
  // Where the design face is missing, a Japanese proportional gothic of
  // the same build stands in, the first of these that is installed.
  const QString face = QString::fromUtf8(kFontFace);
  QFont::insertSubstitutions(face, {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")});
  QFont font(face);
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Ui(Sjis("集計順位丸\u3000通称順位丸 Ver1.4")));
  setWindowIcon(QIcon(QStringLiteral(":/junmaru/icon.png")));
  setFont(WindowFont());
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  colours.setColor(QPalette::WindowText, QPalette().color(QPalette::WindowText));
  setPalette(colours);
  setAutoFillBackground(true);
  setFixedSize(645, 507);
  move(269, 158);

  BuildControls(this, *this);
  Connect(BtnGo, &QPushButton::clicked, &TForm1::BtnGoClick);

  ErrorDisplay::Guard(this, [this] { FormCreate(); });
}

TForm1::~TForm1() {
  ErrorDisplay::Guard(this, [this] { FormDestroy(); });
}

void TForm1::FormCreate() { log_lines_ = junmaru::LogLines(); }

void TForm1::FormDestroy() { log_lines_ = junmaru::LogLines(); }

void TForm1::BtnGoClick() { junmaru::RunRankingToPage(log_lines_, ReadRunSettings(*this), save_pass_, *this); }

void TForm1::SetStatusText(const std::string& text) { State->SetCaption(text); }

void TForm1::SetStatusColour(junmaru::StatusColour colour) {
  State->SetErrorColour(colour == junmaru::StatusColour::kError);
}

bool TForm1::StatusShowsError() const { return State->ShowsError(); }

void TForm1::SetProgress(long long progress) { Gauge->SetProgress(progress); }

void TForm1::SetGaugeBackground(std::uint32_t colour) { Gauge->SetBackColour(colour); }

void TForm1::RepaintNow() { repaint(); }

void TForm1::SetControlEnabled(junmaru::RunControl control, bool enabled) {
  switch (control) {
    case junmaru::RunControl::kBtnGo:
      BtnGo->setEnabled(enabled);
      break;
    case junmaru::RunControl::kPStart:
      PStart->setEnabled(enabled);
      break;
    case junmaru::RunControl::kPEnd:
      PEnd->setEnabled(enabled);
      break;
  }
}

void TForm1::ShowMessage(const std::string& text) { MessageBox::Information(this, text); }

}  // namespace junmaru::window
