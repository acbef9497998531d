#include "settings.h"

#include <algorithm>

#include "code_page.h"
#include "cp932.h"
#include "file_io.h"
#include "messages.h"
#include "profile_file.h"
#include "program_path.h"
#include "text_list.h"

namespace junmaru {
namespace {

// The value of every exclusion-word entry; never looked at when read.
constexpr char kWordValue[] = "OK";

std::vector<std::string> ReadWords(const ProfileFile& file, std::string_view section) {
  TextList keys;
  file.ReadSection(section, keys);
  std::vector<std::string> words = keys.Items();
  for (std::string& word : words) {
    if (word.size() > kExclusionWordMax) word.resize(kExclusionWordMax);
  }
  if (words.empty()) words = ExampleWords();
  return words;
}

}  // namespace

std::string ProgramSettingsPath() { return PathInFolder(ProgramFolder(), kSettingsFileName); }

std::vector<std::string> ExampleWords() { return {Sjis("例)禁止ワード1"), Sjis("例)禁止ワード2")}; }

Settings ReadSettings(const ProfileFile& file, std::vector<SettingProblem>* problems) {
  const Settings defaults;
  Settings s;
  const auto problem = [&](const SettingField& f, std::string message) {
    if (problems) problems->push_back({f.key, std::move(message)});
  };
  for (const SettingField& f : kSettingFields) {
    switch (f.kind) {
      case SettingField::Kind::kText:
        s.*f.text = file.ReadString(f.section, f.key, defaults.*f.text);
        break;
      case SettingField::Kind::kPath:
        s.*f.text = NativePath(file.ReadString(f.section, f.key, defaults.*f.text));
        break;
      case SettingField::Kind::kNumber:
        s.*f.number = std::clamp(file.ReadInteger(f.section, f.key, defaults.*f.number), f.minimum, f.maximum);
        break;
      case SettingField::Kind::kSwitch:
        s.*f.flag = file.ReadBool(f.section, f.key, defaults.*f.flag);
        break;
      case SettingField::Kind::kFamilies:
        for (std::size_t i = 0; i < kFamilyCount; ++i)
          (s.*f.families)[i] = file.ReadBool(f.section, kExtensionFamilies[i].key, (defaults.*f.families)[i]);
        break;
      case SettingField::Kind::kWords:
        s.*f.words = ReadWords(file, f.section);
        break;
      case SettingField::Kind::kRule: {
        const std::string value = file.ReadString(f.section, f.key, "");
        s.*f.flag = value == "1";
        if (!value.empty() && value != "0" && value != "1")
          problem(f, messages::SwitchBad(PathForMessage(file.Path()), std::string(f.section), std::string(f.key), value));
        break;
      }
      case SettingField::Kind::kStatuses: {
        const std::string value = file.ReadString(f.section, f.key, "");
        if (const std::optional<StatusList> list = StatusList::Parse(value))
          s.*f.statuses = *list;
        else
          problem(f, messages::StatusListBad(PathForMessage(file.Path()), value));
        break;
      }
    }
  }
  return s;
}

void WriteSettings(ProfileFile& file, const Settings& s, const Settings& as_read) {
  for (const SettingField& f : kSettingFields) {
    switch (f.kind) {
      case SettingField::Kind::kText:
        file.WriteString(f.section, f.key, s.*f.text);
        break;
      case SettingField::Kind::kPath:
        file.WriteString(f.section, f.key, StoredPath(s.*f.text));
        break;
      case SettingField::Kind::kNumber:
        file.WriteInteger(f.section, f.key, s.*f.number);
        break;
      case SettingField::Kind::kSwitch:
        file.WriteBool(f.section, f.key, s.*f.flag);
        break;
      case SettingField::Kind::kFamilies:
        for (std::size_t i = 0; i < kFamilyCount; ++i)
          file.WriteBool(f.section, kExtensionFamilies[i].key, (s.*f.families)[i]);
        break;
      case SettingField::Kind::kWords:
        for (const std::string& word : s.*f.words) file.WriteString(f.section, word, kWordValue);
        break;
      case SettingField::Kind::kRule:
        if (s.*f.flag != as_read.*f.flag) file.WriteString(f.section, f.key, s.*f.flag ? "1" : "0");
        break;
      case SettingField::Kind::kStatuses:
        if (!(s.*f.statuses == as_read.*f.statuses)) file.WriteString(f.section, f.key, (s.*f.statuses).Text());
        break;
    }
  }
}

}  // namespace junmaru
