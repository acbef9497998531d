// The control table as both windows read it: every extension family has
// its check box, every control that shows a stored value reaches its
// field, and Tab visits the controls in the design's order.

#include "control_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "cp932.h"
#include "fake_control_set.h"
#include "form_settings.h"

namespace junmaru::form {
namespace {

using testing::FakeControlSet;

// Each family of the family table is a check box of the extension filter,
// made from its row alone: its key is the box's name, its caption and
// place are the box's, its first-start state the box's design state, and
// the box switches that family, and only it, for the run and the settings
// file.
TEST(ControlTable, EachFamilyIsACheckBoxOfItsOwn) {
  for (std::size_t i = 0; i < kFamilyCount; ++i) {
    const ExtensionFamily& family = kExtensionFamilies[i];
    SCOPED_TRACE(std::string(family.key));
    std::uint16_t found = kControlCount;
    for (std::uint16_t c = 0; c < kControlCount; ++c)
      if (kControls[c].name == family.key) found = c;
    ASSERT_LT(found, kControlCount);
    const ControlId id{found};
    const ControlRow& row = RowOf(id);
    EXPECT_EQ(row.kind, Kind::kCheckBox);
    EXPECT_EQ(row.parent, "GroupBox1");
    EXPECT_EQ(DesignText(id), Sjis(family.caption));
    EXPECT_EQ(row.box.left, family.box.left);
    EXPECT_EQ(row.box.top, family.box.top);
    EXPECT_EQ(row.checked, family.on_at_first_start);
    ASSERT_NE(StoredField(row.field), nullptr);
    EXPECT_EQ(StoredField(row.field)->section, "ExtentionFilter");

    FakeControlSet controls;
    Settings stored;
    stored.Families[i] = !family.on_at_first_start;
    ShowSettings(controls, stored);
    EXPECT_EQ(controls.Checked(id), !family.on_at_first_start);
    EXPECT_EQ(SettingsOfForm(controls).Families, stored.Families);
  }
}

// Every control that shows a stored value puts a value other than its
// default into the record and takes it from there; every stored value but
// the two paths (chosen by dialog) and the opt-in switches has such a control.
TEST(ControlTable, StoredValuesGoThroughTheirControls) {
  std::vector<const SettingField*> shown;
  for (std::uint16_t i = 0; i < kControlCount; ++i) {
    const Field& f = kControls[i].field;
    const SettingField* stored = StoredField(f);
    if (!stored) continue;
    shown.push_back(stored);
    SCOPED_TRACE(std::string(kControls[i].name));
    Settings s;
    switch (f.kind) {
      case Field::Kind::kText:
        s.*f.text += "x";
        break;
      case Field::Kind::kNumber:
        s.*f.number = (stored->minimum + stored->maximum) / 2;
        break;
      case Field::Kind::kSwitch:
        s.*f.flag = !(s.*f.flag);
        break;
      case Field::Kind::kFamily:
        s.Families[f.family] = !s.Families[f.family];
        break;
      case Field::Kind::kWords:
        s.*f.words = {"w1", "", "w2"};
        break;
      case Field::Kind::kStatuses:
        s.*f.statuses = *StatusList::Parse("206, 200");
        break;
      case Field::Kind::kNone:
        break;
    }
    FakeControlSet controls;
    ShowSettings(controls, s);
    const Settings back = SettingsOfForm(controls);
    EXPECT_TRUE(!f.text || back.*f.text == s.*f.text);
    EXPECT_TRUE(!f.number || back.*f.number == s.*f.number);
    EXPECT_TRUE(!f.flag || back.*f.flag == s.*f.flag);
    EXPECT_TRUE(!f.words || back.*f.words == s.*f.words);
    EXPECT_TRUE(!f.statuses || ((back.*f.statuses).Text() == (s.*f.statuses).Text() && back.*f.statuses == s.*f.statuses));
    EXPECT_EQ(back.Families, s.Families);
  }
  for (const SettingField& field : kSettingFields) {
    const bool has_control = std::find(shown.begin(), shown.end(), &field) != shown.end();
    EXPECT_EQ(has_control, field.section != "FilePass") << field.key;
  }
}

// The range feeds a run but is never stored.
TEST(ControlTable, TheRangeFeedsTheRunOnly) {
  FakeControlSet controls;
  controls[Control("PStart")].text = "3";
  controls[Control("PEnd")].text = "9";
  const Settings s = SettingsOfForm(controls);
  EXPECT_EQ(s.PStart, 3);
  EXPECT_EQ(s.PEnd, 9);
  EXPECT_EQ(StoredField(RowOf(Control("PStart")).field), nullptr);
}

TEST(ControlTable, TabVisitsTheControlsInTheDesignsOrder) {
  std::vector<std::string> names;
  for (ControlId id : FocusOrder("Form1")) names.emplace_back(RowOf(id).name);
  EXPECT_EQ(names, (std::vector<std::string>{"BtnRead", "BtnSave", "CDouga", "COnsei", "CSyoko", "CJpeg", "CGazou",
                                             "CText", "CExe", "CHtml", "CCss", "CCgi", "PStart", "PEnd", "PRank",
                                             "BtnCount", "BtnGo", "CBG", "CBorder", "CText1", "CText2", "CLink", "ALink",
                                             "VLink", "FontSize", "NameMax", "Link", "Prefix", "Marukin"}));
  names.clear();
  for (ControlId id : FocusOrder(RowOf(kCountDialog.window).name)) names.emplace_back(RowOf(id).name);
  EXPECT_EQ(names, (std::vector<std::string>{"AnyHttp", "Status", "OncePerClient", "Bots", "Decode", "Trend", "Clients", "Export", "CountOk",
                                             "CountCancel"}));
}

// Alt plus a letter reaches one control only within each window.
TEST(ControlTable, AcceleratorsAreUniqueInEachWindow) {
  for (const ControlRow& window : kControls) {
    if (window.kind != Kind::kWindow) continue;
    std::string letters;
    for (const ControlRow& row : kControls) {
      const std::string_view caption = row.caption;
      const std::size_t amp = caption.find('&');
      if (row.kind == Kind::kWindow || WindowOf(row) != window.name || amp == std::string_view::npos) continue;
      const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(caption[amp + 1])));
      EXPECT_EQ(letters.find(letter), std::string::npos) << window.name << " " << row.name;
      letters += letter;
    }
  }
}

}  // namespace
}  // namespace junmaru::form
