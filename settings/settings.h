#pragma once

// The settings record: every value the keeper chooses, with its default,
// and the one field list from which the settings file is read and written.
// Texts are code page 932 bytes; paths are the platform's bytes (stored in
// the file as code page 932, see StoredPath).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "run_settings.h"

namespace junmaru {

class ProfileFile;

// The run's part (the range, the places, the extension switches and the
// exclusion words) and what the settings file keeps besides. The defaults
// are those of a first start, before any settings file exists.
struct Settings : RunSettings {
  std::string ReadPass = "0";  // the log; "0" means none was chosen
  std::string SavePass = "0";  // the page; "0" means none was chosen

  // The page's colours, written into it as typed.
  std::string CBG = "#000055";
  std::string CBorder = "#5599CC";
  std::string CText1 = "#FFFFFF";
  std::string CText2 = "#88F0AA";
  std::string CLink = "#33CCCC";
  std::string ALink = "#669966";
  std::string VLink = "#CC3366";
  long long FontSize = 80;  // percent
  long long NameMax = 40;   // characters; the cut is at twice as many bytes
  bool Link = true;         // names link to their files
  std::string Prefix = "./";
  // The window's GO writes the ranking also as ranking.csv (code page 932)
  // and ranking.json beside the page. junmaru-batch names its exports on
  // its command line instead.
  bool Export = false;
};

// One value of the settings file: its section and key, and the field of
// the record that holds it. A number is clamped to its limits when read.
// A path is stored as code page 932 text (StoredPath) and read back as the
// platform's bytes. The extension families are a section of switches, one
// per family, keyed and defaulted by the family table; the exclusion words
// are a section of their own whose keys are the words. A counting rule
// (section [Count]) is off while its key is absent; its value is checked
// when read, a malformed one being a problem that leaves the rule off, and
// it is written only when it differs from the value read at the start, so
// that a keeper who never touches the rules keeps the file byte for byte.
struct SettingField {
  enum class Kind { kText, kPath, kNumber, kSwitch, kFamilies, kWords, kRule, kStatuses };
  std::string_view section;
  std::string_view key = {};  // none for the words
  Kind kind = Kind::kText;
  std::string Settings::*text = nullptr;
  long long Settings::*number = nullptr;
  bool Settings::*flag = nullptr;
  FamilySwitches Settings::*families = nullptr;
  std::vector<std::string> Settings::*words = nullptr;
  StatusList Settings::*statuses = nullptr;
  long long minimum = 0, maximum = 0;
};

namespace setting_fields {
constexpr SettingField Text(std::string_view section, std::string_view key, std::string Settings::*field) {
  return {.section = section, .key = key, .kind = SettingField::Kind::kText, .text = field};
}
constexpr SettingField Path(std::string_view section, std::string_view key, std::string Settings::*field) {
  return {.section = section, .key = key, .kind = SettingField::Kind::kPath, .text = field};
}
constexpr SettingField Number(std::string_view section, std::string_view key, long long Settings::*field,
                              long long minimum, long long maximum) {
  return {.section = section, .key = key, .kind = SettingField::Kind::kNumber, .number = field,
          .minimum = minimum, .maximum = maximum};
}
constexpr SettingField Switch(std::string_view section, std::string_view key, bool Settings::*field) {
  return {.section = section, .key = key, .kind = SettingField::Kind::kSwitch, .flag = field};
}
constexpr SettingField Families(std::string_view section, FamilySwitches Settings::*field) {
  return {.section = section, .kind = SettingField::Kind::kFamilies, .families = field};
}
constexpr SettingField Words(std::string_view section, std::vector<std::string> Settings::*field) {
  return {.section = section, .kind = SettingField::Kind::kWords, .words = field};
}
// A counting rule's switch: "1" on, "0" or nothing off.
constexpr SettingField Rule(std::string_view section, std::string_view key, bool Settings::*field) {
  return {.section = section, .key = key, .kind = SettingField::Kind::kRule, .flag = field};
}
// The Status rule's list, as StatusList reads it.
constexpr SettingField Statuses(std::string_view section, std::string_view key, StatusList Settings::*field) {
  return {.section = section, .key = key, .kind = SettingField::Kind::kStatuses, .statuses = field};
}
}  // namespace setting_fields

// Every value of the settings file, in the order in which it is read and
// written. The section name "ExtentionFilter" is spelled so on purpose:
// existing files use it.
inline constexpr SettingField kSettingFields[] = {
    setting_fields::Path("FilePass", "ReadPass", &Settings::ReadPass),
    setting_fields::Path("FilePass", "SavePass", &Settings::SavePass),
    setting_fields::Families("ExtentionFilter", &Settings::Families),
    setting_fields::Number("Ranking", "TopCount", &Settings::TopCount, 10, 10000),
    setting_fields::Text("HTML", "CBG", &Settings::CBG),
    setting_fields::Text("HTML", "CBorder", &Settings::CBorder),
    setting_fields::Text("HTML", "CText1", &Settings::CText1),
    setting_fields::Text("HTML", "CText2", &Settings::CText2),
    setting_fields::Text("HTML", "CLink", &Settings::CLink),
    setting_fields::Text("HTML", "ALink", &Settings::ALink),
    setting_fields::Text("HTML", "VLink", &Settings::VLink),
    setting_fields::Number("HTML", "FontSize", &Settings::FontSize, 10, 10000),
    setting_fields::Number("HTML", "NameMax", &Settings::NameMax, 10, 10000),
    setting_fields::Switch("HTML", "Link", &Settings::Link),
    setting_fields::Text("HTML", "Prefix", &Settings::Prefix),
    setting_fields::Rule("HTML", "Trend", &Settings::Trend),
    setting_fields::Rule("HTML", "Clients", &Settings::Clients),
    setting_fields::Rule("HTML", "Export", &Settings::Export),
    setting_fields::Words("KinsiWord", &Settings::KinsiWord),
    setting_fields::Rule("Count", "AnyHttp", &Settings::AnyHttp),
    setting_fields::Statuses("Count", "Status", &Settings::Status),
    setting_fields::Rule("Count", "OncePerClient", &Settings::OncePerClient),
    setting_fields::Rule("Count", "Bots", &Settings::Bots),
    setting_fields::Rule("Count", "Decode", &Settings::Decode),
};

// The name of the settings file, beside the executable.
inline constexpr char kSettingsFileName[] = "junmaru_setting.ini";

// The settings file of the program: kSettingsFileName in the folder of its
// executable (the window writes it, junmaru-batch reads it).
std::string ProgramSettingsPath();

// An exclusion word is used up to this many bytes, as the window's memo
// reads its lines, so that a longer stored word drops the same files in
// the window and in the batch program.
inline constexpr std::size_t kExclusionWordMax = 4096;

// A counting rule whose stored value cannot be read: the rule is off.
struct SettingProblem {
  std::string_view key;  // the rule's key in [Count]
  std::string message;   // names the file, the key and the value
};

// Reads every value. Never fails: a missing file, section or key, and a
// malformed value, give the default; numbers are clamped to their limits;
// exclusion words are cut at kExclusionWordMax bytes, and with none stored
// the record holds the two example words. A counting rule's malformed
// value is besides told in problems, when given.
Settings ReadSettings(const ProfileFile& file, std::vector<SettingProblem>* problems = nullptr);

// Writes every value, in the field list's order; they reach the disk at
// file.Close(). Exclusion words are only added or updated, never removed:
// the section only grows. A counting rule is written only when its value
// differs from the one in as_read (the record as read at the start).
void WriteSettings(ProfileFile& file, const Settings& s, const Settings& as_read = Settings());

// The memo's two example lines, read when no exclusion word is stored.
std::vector<std::string> ExampleWords();

}  // namespace junmaru
