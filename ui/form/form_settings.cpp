#include "form_settings.h"

#include <QLineEdit>

#include "check_box.h"
#include "memo.h"
#include "spin_edit.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

// The extension switches and colour edits, in the settings file's order.
struct SwitchControl {
  CheckBox* FormControls::*control;
  bool junmaru::Settings::*value;
};
constexpr SwitchControl kSwitches[] = {
    {&FormControls::CDouga, &junmaru::Settings::CDouga}, {&FormControls::COnsei, &junmaru::Settings::COnsei},
    {&FormControls::CSyoko, &junmaru::Settings::CSyoko}, {&FormControls::CJpeg, &junmaru::Settings::CJpeg},
    {&FormControls::CGazou, &junmaru::Settings::CGazou}, {&FormControls::CText, &junmaru::Settings::CText},
    {&FormControls::CExe, &junmaru::Settings::CExe},     {&FormControls::CHtml, &junmaru::Settings::CHtml},
    {&FormControls::CCss, &junmaru::Settings::CCss},     {&FormControls::CCgi, &junmaru::Settings::CCgi},
};

struct TextControl {
  QLineEdit* FormControls::*control;
  std::string junmaru::Settings::*value;
};
constexpr TextControl kColours[] = {
    {&FormControls::CBG, &junmaru::Settings::CBG},       {&FormControls::CBorder, &junmaru::Settings::CBorder},
    {&FormControls::CText1, &junmaru::Settings::CText1}, {&FormControls::CText2, &junmaru::Settings::CText2},
    {&FormControls::CLink, &junmaru::Settings::CLink},   {&FormControls::ALink, &junmaru::Settings::ALink},
    {&FormControls::VLink, &junmaru::Settings::VLink},
};

void SetEditText(QLineEdit* edit, const std::string& cp932) {
  const QString text = Ui(cp932);
  if (edit->text() != text) edit->setText(text);
}

}  // namespace

void ShowSettings(FormControls& c, const junmaru::Settings& s) {
  for (const SwitchControl& sw : kSwitches) (c.*sw.control)->setChecked(s.*sw.value);
  c.PRank->SetValue(s.TopCount);
  for (const TextControl& colour : kColours) SetEditText(c.*colour.control, s.*colour.value);
  c.FontSize->SetValue(s.FontSize);
  c.NameMax->SetValue(s.NameMax);
  c.Link->setChecked(s.Link);
  SetEditText(c.Prefix, s.Prefix);
  c.Marukin->SetLines(s.KinsiWord);
}

junmaru::Settings SettingsOfForm(const FormControls& c) {
  junmaru::Settings s;
  for (const SwitchControl& sw : kSwitches) s.*sw.value = (c.*sw.control)->isChecked();
  s.TopCount = c.PRank->Value();
  for (const TextControl& colour : kColours) s.*colour.value = FromUi((c.*colour.control)->text());
  s.FontSize = c.FontSize->Value();
  s.NameMax = c.NameMax->Value();
  s.Link = c.Link->isChecked();
  s.Prefix = FromUi(c.Prefix->text());
  s.KinsiWord = c.Marukin->Lines();
  return s;
}

}  // namespace junmaru::window
