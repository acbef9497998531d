#include "settings.h"

#include <algorithm>

#include "cp932.h"
#include "profile_file.h"
#include "text_list.h"

namespace junmaru {
namespace {

namespace k = settings_keys;

// The ten extension switches and seven colours, in the order of their keys.
constexpr bool Settings::*kSwitches[10] = {&Settings::CDouga, &Settings::COnsei, &Settings::CSyoko, &Settings::CJpeg,
                                           &Settings::CGazou, &Settings::CText,  &Settings::CExe,   &Settings::CHtml,
                                           &Settings::CCss,   &Settings::CCgi};
constexpr std::string Settings::*kColourFields[7] = {&Settings::CBG,   &Settings::CBorder, &Settings::CText1,
                                                      &Settings::CText2, &Settings::CLink,  &Settings::ALink,
                                                      &Settings::VLink};

const Settings& Defaults() {
  static const Settings defaults;
  return defaults;
}

}  // namespace

long long ClampSpin(long long value) { return std::clamp(value, kSpinMin, kSpinMax); }

std::vector<std::string> ExampleWords() { return {Sjis("例)禁止ワード1"), Sjis("例)禁止ワード2")}; }

void ReadPaths(ProfileFile& file, Settings& s) {
  s.ReadPass = file.ReadString(k::kFilePass, k::kReadPass, Defaults().ReadPass);
  s.SavePass = file.ReadString(k::kFilePass, k::kSavePass, Defaults().SavePass);
}

void ReadExtensionFilter(ProfileFile& file, Settings& s) {
  for (int i = 0; i < 10; ++i)
    s.*kSwitches[i] = file.ReadBool(k::kExtensionFilter, k::kExtensionSwitches[i], Defaults().*kSwitches[i]);
}

void ReadRanking(ProfileFile& file, Settings& s) {
  s.TopCount = ClampSpin(file.ReadInteger(k::kRanking, k::kTopCount, Defaults().TopCount));
}

void ReadHtml(ProfileFile& file, Settings& s) {
  for (int i = 0; i < 7; ++i)
    s.*kColourFields[i] = file.ReadString(k::kHtml, k::kColours[i], Defaults().*kColourFields[i]);
  s.FontSize = ClampSpin(file.ReadInteger(k::kHtml, k::kFontSize, Defaults().FontSize));
  s.NameMax = ClampSpin(file.ReadInteger(k::kHtml, k::kNameMax, Defaults().NameMax));
  s.Link = file.ReadBool(k::kHtml, k::kLink, Defaults().Link);
  s.Prefix = file.ReadString(k::kHtml, k::kPrefix, Defaults().Prefix);
}

void ReadExclusionWords(ProfileFile& file, Settings& s) {
  TextList words;
  file.ReadSection(k::kKinsiWord, words);
  s.KinsiWord = words.Items();
  for (std::string& word : s.KinsiWord) {
    if (word.size() > kExclusionWordMax) word.resize(kExclusionWordMax);
  }
  if (s.KinsiWord.empty()) s.KinsiWord = ExampleWords();
}

void WritePaths(ProfileFile& file, const Settings& s) {
  file.WriteString(k::kFilePass, k::kReadPass, s.ReadPass);
  file.WriteString(k::kFilePass, k::kSavePass, s.SavePass);
}

void WriteExtensionFilter(ProfileFile& file, const Settings& s) {
  for (int i = 0; i < 10; ++i) file.WriteBool(k::kExtensionFilter, k::kExtensionSwitches[i], s.*kSwitches[i]);
}

void WriteRanking(ProfileFile& file, const Settings& s) { file.WriteInteger(k::kRanking, k::kTopCount, s.TopCount); }

void WriteHtml(ProfileFile& file, const Settings& s) {
  for (int i = 0; i < 7; ++i) file.WriteString(k::kHtml, k::kColours[i], s.*kColourFields[i]);
  file.WriteInteger(k::kHtml, k::kFontSize, s.FontSize);
  file.WriteInteger(k::kHtml, k::kNameMax, s.NameMax);
  file.WriteBool(k::kHtml, k::kLink, s.Link);
  file.WriteString(k::kHtml, k::kPrefix, s.Prefix);
}

void WriteExclusionWords(ProfileFile& file, const std::vector<std::string>& words) {
  // Words are only added or updated, never removed: the section only grows.
  for (const std::string& word : words) file.WriteString(k::kKinsiWord, word, k::kWordValue);
}

Settings ReadSettings(const std::string& ini_path) {
  ProfileFile file(ini_path);
  Settings s;
  ReadPaths(file, s);
  ReadExtensionFilter(file, s);
  ReadRanking(file, s);
  ReadHtml(file, s);
  ReadExclusionWords(file, s);
  return s;
}

void WriteSettings(const std::string& ini_path, const Settings& s) {
  ProfileFile file(ini_path);
  WritePaths(file, s);
  WriteExtensionFilter(file, s);
  WriteRanking(file, s);
  WriteHtml(file, s);
  WriteExclusionWords(file, s.KinsiWord);
  file.Close();
}

RunSettings ToRunSettings(const Settings& s, long long first_line, long long last_line) {
  RunSettings r;
  r.PStart = first_line;
  r.PEnd = last_line;
  r.PRank = s.TopCount;
  r.CDouga = s.CDouga;
  r.COnsei = s.COnsei;
  r.CSyoko = s.CSyoko;
  r.CJpeg = s.CJpeg;
  r.CGazou = s.CGazou;
  r.CText = s.CText;
  r.CExe = s.CExe;
  r.CHtml = s.CHtml;
  r.CCss = s.CCss;
  r.CCgi = s.CCgi;
  r.Marukin = s.KinsiWord;
  r.CBG = s.CBG;
  r.CBorder = s.CBorder;
  r.CText1 = s.CText1;
  r.CText2 = s.CText2;
  r.CLink = s.CLink;
  r.ALink = s.ALink;
  r.VLink = s.VLink;
  r.FontSize = s.FontSize;
  r.NameMax = s.NameMax;
  r.Link = s.Link;
  r.Prefix = s.Prefix;
  return r;
}

}  // namespace junmaru
