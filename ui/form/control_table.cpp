#include "control_table.h"

#include "cp932.h"

namespace junmaru::form {

std::string DesignText(ControlId id) {
  const ControlRow& row = RowOf(id);
  if (*row.caption == '\0' && row.field.kind == Field::Kind::kText) return Settings().*row.field.text;
  return Sjis(row.caption);
}

std::vector<std::string> DesignLines(ControlId id) {
  std::vector<std::string> lines;
  std::string_view rest = RowOf(id).caption;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    lines.push_back(Utf8ToCp932(rest.substr(0, end)));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return lines;
}

SpinDesign DesignSpin(ControlId id) {
  const ControlRow& row = RowOf(id);
  SpinDesign spin = row.spin;
  if (const SettingField* stored = StoredField(row.field)) {
    spin.minimum = static_cast<std::int32_t>(stored->minimum);
    spin.maximum = static_cast<std::int32_t>(stored->maximum);
    spin.value = static_cast<std::int32_t>(Settings().*row.field.number);
  }
  return spin;
}

std::vector<FileFilter> DesignFilters(ControlId dialog) {
  std::vector<FileFilter> filters;
  for (const FileFilterDesign& filter : RowOf(dialog).filters)
    if (filter.caption) filters.push_back({Sjis(filter.caption), filter.pattern});
  return filters;
}

std::string AccessibleName(ControlId id) {
  const ControlRow& row = RowOf(id);
  if (!row.named_by.empty()) {
    // A label's "&" marks the letter that moves the focus to the control; it is not read.
    std::string caption = kControls[RowIndex(row.named_by)].caption;
    std::erase(caption, '&');
    return Utf8ToCp932(caption);
  }
  return row.accessible_name ? Sjis(row.accessible_name) : std::string();
}

}  // namespace junmaru::form
