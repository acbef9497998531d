#include "form_settings.h"

#include <utility>

namespace junmaru::form {

void ShowSettings(ControlSet& c, const junmaru::Settings& s, std::string_view window) {
  for (std::uint16_t i = 0; i < kControlCount; ++i) {
    const Field& f = kControls[i].field;
    if (!StoredField(f)) continue;  // the range is the log's, not the file's
    if (!window.empty() && WindowOf(kControls[i]) != window) continue;
    const ControlId id{i};
    switch (f.kind) {
      case Field::Kind::kText:
        c.SetEditText(id, s.*f.text);
        break;
      case Field::Kind::kNumber:
        c.SetSpinValue(id, s.*f.number);
        break;
      case Field::Kind::kSwitch:
        c.SetChecked(id, s.*f.flag);
        break;
      case Field::Kind::kFamily:
        c.SetChecked(id, s.Families[f.family]);
        break;
      case Field::Kind::kWords:
        c.SetMemoLines(id, s.*f.words);
        break;
      case Field::Kind::kStatuses:
        c.SetEditText(id, (s.*f.statuses).Text());
        break;
      case Field::Kind::kNone:
        break;
    }
  }
}

junmaru::Settings SettingsOfForm(ControlSet& c, junmaru::Settings base) {
  junmaru::Settings s = std::move(base);
  for (std::uint16_t i = 0; i < kControlCount; ++i) {
    const Field& f = kControls[i].field;
    const ControlId id{i};
    switch (f.kind) {
      case Field::Kind::kText:
        s.*f.text = c.EditText(id);
        break;
      case Field::Kind::kNumber:
        s.*f.number = c.SpinValue(id);
        break;
      case Field::Kind::kSwitch:
        s.*f.flag = c.Checked(id);
        break;
      case Field::Kind::kFamily:
        s.Families[f.family] = c.Checked(id);
        break;
      case Field::Kind::kWords:
        s.*f.words = c.MemoLines(id);
        break;
      case Field::Kind::kStatuses:
        s.*f.statuses = junmaru::StatusList::Parse(c.EditText(id)).value_or(junmaru::StatusList());
        break;
      case Field::Kind::kNone:
        break;
    }
  }
  return s;
}

}  // namespace junmaru::form
