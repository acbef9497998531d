#include "form_settings.h"

namespace junmaru::form {
namespace {

// The check box of extension family i.
constexpr Check FamilyCheck(std::size_t i) { return static_cast<Check>(i); }
static_assert(static_cast<std::size_t>(Check::kLink) == junmaru::kFamilyCount, "a check box per family, then Link");

// The colour edits, in the settings file's order.

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
  for (std::size_t i = 0; i < junmaru::kFamilyCount; ++i) c.SetChecked(FamilyCheck(i), s.Families[i]);
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
  for (std::size_t i = 0; i < junmaru::kFamilyCount; ++i) s.Families[i] = c.Checked(FamilyCheck(i));
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
