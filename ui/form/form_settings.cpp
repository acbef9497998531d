#include "form_settings.h"

namespace junmaru::form {
namespace {

// The extension switches and colour edits, in the settings file's order.
struct SwitchControl {
  Check control;
  bool junmaru::Settings::*value;
};
constexpr SwitchControl kSwitches[] = {
    {Check::kCDouga, &junmaru::Settings::CDouga}, {Check::kCOnsei, &junmaru::Settings::COnsei},
    {Check::kCSyoko, &junmaru::Settings::CSyoko}, {Check::kCJpeg, &junmaru::Settings::CJpeg},
    {Check::kCGazou, &junmaru::Settings::CGazou}, {Check::kCText, &junmaru::Settings::CText},
    {Check::kCExe, &junmaru::Settings::CExe},     {Check::kCHtml, &junmaru::Settings::CHtml},
    {Check::kCCss, &junmaru::Settings::CCss},     {Check::kCCgi, &junmaru::Settings::CCgi},
};

struct TextControl {
  Edit control;
  std::string junmaru::Settings::*value;
};
constexpr TextControl kColours[] = {
    {Edit::kCBG, &junmaru::Settings::CBG},       {Edit::kCBorder, &junmaru::Settings::CBorder},
    {Edit::kCText1, &junmaru::Settings::CText1}, {Edit::kCText2, &junmaru::Settings::CText2},
    {Edit::kCLink, &junmaru::Settings::CLink},   {Edit::kALink, &junmaru::Settings::ALink},
    {Edit::kVLink, &junmaru::Settings::VLink},
};

}  // namespace

void ShowSettings(ControlSet& c, const junmaru::Settings& s) {
  for (const SwitchControl& sw : kSwitches) c.SetChecked(sw.control, s.*sw.value);
  c.SetSpinValue(Spin::kPRank, s.TopCount);
  for (const TextControl& colour : kColours) c.SetEditText(colour.control, s.*colour.value);
  c.SetSpinValue(Spin::kFontSize, s.FontSize);
  c.SetSpinValue(Spin::kNameMax, s.NameMax);
  c.SetChecked(Check::kLink, s.Link);
  c.SetEditText(Edit::kPrefix, s.Prefix);
  c.SetMemoLines(s.KinsiWord);
}

junmaru::Settings SettingsOfForm(ControlSet& c) {
  junmaru::Settings s;
  s.PStart = c.SpinValue(Spin::kPStart);
  s.PEnd = c.SpinValue(Spin::kPEnd);
  for (const SwitchControl& sw : kSwitches) s.*sw.value = c.Checked(sw.control);
  s.TopCount = c.SpinValue(Spin::kPRank);
  for (const TextControl& colour : kColours) s.*colour.value = c.EditText(colour.control);
  s.FontSize = c.SpinValue(Spin::kFontSize);
  s.NameMax = c.SpinValue(Spin::kNameMax);
  s.Link = c.Checked(Check::kLink);
  s.Prefix = c.EditText(Edit::kPrefix);
  s.KinsiWord = c.MemoLines();
  return s;
}

}  // namespace junmaru::form
