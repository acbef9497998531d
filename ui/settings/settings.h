#pragma once

// Every value that the settings file remembers between uses, with the
// defaults a missing file, section or key gives, and the reading and
// writing of the whole record in the order of the window's start and close
// handlers. Texts are code page 932 bytes; paths are the platform's bytes.

#include <cstddef>
#include <string>
#include <vector>

#include "run_settings.h"

namespace junmaru {

class ProfileFile;

// Section and key names of the settings file, in the order in which the
// values are read and written. The section name "ExtentionFilter" is spelled
// so on purpose: existing files use it.
namespace settings_keys {
inline constexpr char kFilePass[] = "FilePass";
inline constexpr char kReadPass[] = "ReadPass";
inline constexpr char kSavePass[] = "SavePass";
inline constexpr char kExtensionFilter[] = "ExtentionFilter";
inline constexpr const char* kExtensionSwitches[10] = {"CDouga", "COnsei", "CSyoko", "CJpeg", "CGazou",
                                                       "CText",  "CExe",   "CHtml",  "CCss",  "CCgi"};
inline constexpr char kRanking[] = "Ranking";
inline constexpr char kTopCount[] = "TopCount";
inline constexpr char kHtml[] = "HTML";
inline constexpr const char* kColours[7] = {"CBG", "CBorder", "CText1", "CText2", "CLink", "ALink", "VLink"};
inline constexpr char kFontSize[] = "FontSize";
inline constexpr char kNameMax[] = "NameMax";
inline constexpr char kLink[] = "Link";
inline constexpr char kPrefix[] = "Prefix";
inline constexpr char kKinsiWord[] = "KinsiWord";
inline constexpr char kWordValue[] = "OK";  // the value of every exclusion-word entry
}  // namespace settings_keys

// The name of the settings file, beside the executable.
inline constexpr char kSettingsFileName[] = "junmaru_setting.ini";

// An exclusion word is used up to this many bytes, as the window's memo
// reads its lines, so that a longer stored word drops the same files in
// the window and in the batch program.
inline constexpr std::size_t kExclusionWordMax = 4096;

// Limits of the three spin values (top count, font size, name length).
inline constexpr long long kSpinMin = 10;
inline constexpr long long kSpinMax = 10000;

struct Settings {
  std::string ReadPass = "0", SavePass = "0";  // "0" means none chosen
  bool CDouga = false, COnsei = false, CSyoko = false, CJpeg = false, CGazou = true, CText = true, CExe = true,
       CHtml = true, CCss = true, CCgi = true;
  long long TopCount = 100;
  std::string CBG = "#000055", CBorder = "#5599CC", CText1 = "#FFFFFF", CText2 = "#88F0AA", CLink = "#33CCCC",
              ALink = "#669966", VLink = "#CC3366";
  long long FontSize = 80, NameMax = 40;
  bool Link = true;
  std::string Prefix = "./";
  std::vector<std::string> KinsiWord;  // exclusion words, in file order
};

// Reads the whole file. Never fails: whatever is missing or malformed gets
// its default; TopCount, FontSize and NameMax are clamped to 10..10000;
// exclusion words are cut at kExclusionWordMax bytes, and with none stored,
// KinsiWord holds the two example words.
Settings ReadSettings(const std::string& ini_path);

// The run's inputs from the remembered values and a line range.
RunSettings ToRunSettings(const Settings& s, long long first_line, long long last_line);

// Writes every value, in the close handler's order, and makes sure it has
// reached the file; the file is replaced whole or not at all. Fails with
// Error("%s に書き込めません") (the file's path in place of %s).
void WriteSettings(const std::string& ini_path, const Settings& s);

// The same work section by section, for the window's handlers, which load
// the remembered log between the paths and the rest. Each Read* fills its
// fields of s (with the clamps and example words above); each Write* writes
// its fields in order through the open file.
void ReadPaths(ProfileFile& file, Settings& s);            // FilePass
void ReadExtensionFilter(ProfileFile& file, Settings& s);  // ExtentionFilter
void ReadRanking(ProfileFile& file, Settings& s);          // Ranking
void ReadHtml(ProfileFile& file, Settings& s);             // HTML
void ReadExclusionWords(ProfileFile& file, Settings& s);   // KinsiWord
void WritePaths(ProfileFile& file, const Settings& s);
void WriteExtensionFilter(ProfileFile& file, const Settings& s);
void WriteRanking(ProfileFile& file, const Settings& s);
void WriteHtml(ProfileFile& file, const Settings& s);
void WriteExclusionWords(ProfileFile& file, const std::vector<std::string>& words);

// A spin value set into its control: below 10 gives 10, above 10000 gives 10000.
long long ClampSpin(long long value);

// The memo's two example lines, used when no exclusion word is stored.
std::vector<std::string> ExampleWords();

}  // namespace junmaru
