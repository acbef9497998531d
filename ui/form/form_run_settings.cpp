#include "form_run_settings.h"

#include <QLineEdit>

#include "check_box.h"
#include "memo.h"
#include "spin_edit.h"
#include "widget_text.h"

namespace junmaru::window {

junmaru::RunSettings ReadRunSettings(const FormControls& c) {
  junmaru::RunSettings s;
  s.PStart = c.PStart->Value();
  s.PEnd = c.PEnd->Value();
  s.PRank = c.PRank->Value();
  s.CDouga = c.CDouga->isChecked();
  s.COnsei = c.COnsei->isChecked();
  s.CSyoko = c.CSyoko->isChecked();
  s.CJpeg = c.CJpeg->isChecked();
  s.CGazou = c.CGazou->isChecked();
  s.CText = c.CText->isChecked();
  s.CExe = c.CExe->isChecked();
  s.CHtml = c.CHtml->isChecked();
  s.CCss = c.CCss->isChecked();
  s.CCgi = c.CCgi->isChecked();
  s.Marukin = c.Marukin->Lines();
  s.CBG = FromUi(c.CBG->text());
  s.CBorder = FromUi(c.CBorder->text());
  s.CText1 = FromUi(c.CText1->text());
  s.CText2 = FromUi(c.CText2->text());
  s.CLink = FromUi(c.CLink->text());
  s.ALink = FromUi(c.ALink->text());
  s.VLink = FromUi(c.VLink->text());
  s.FontSize = c.FontSize->Value();
  s.NameMax = c.NameMax->Value();
  s.Link = c.Link->isChecked();
  s.Prefix = FromUi(c.Prefix->text());
  return s;
}

}  // namespace junmaru::window
