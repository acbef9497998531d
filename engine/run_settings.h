#pragma once

#include <string>
#include <vector>

namespace junmaru {

// Everything a ranking run reads from the window, taken when GO is pressed.
// Texts are code page 932 bytes.
struct RunSettings {
  long long PStart = 1;  // first log line of the range, 1-based
  long long PEnd = 2;    // last log line of the range, inclusive
  long long PRank = 100; // places shown and totalled

  // Extension categories: a switch that is on drops its suffixes.
  bool CDouga = false;
  bool COnsei = false;
  bool CSyoko = false;
  bool CJpeg = false;
  bool CGazou = true;
  bool CText = true;
  bool CExe = true;
  bool CHtml = true;
  bool CCss = true;
  bool CCgi = true;

  std::vector<std::string> Marukin;  // exclusion words, one per memo line

  std::string CBG = "#000055";
  std::string CBorder = "#5599CC";
  std::string CText1 = "#FFFFFF";
  std::string CText2 = "#88F0AA";
  std::string CLink = "#33CCCC";
  std::string ALink = "#669966";
  std::string VLink = "#CC3366";
  long long FontSize = 80;  // percent
  long long NameMax = 40;   // characters; the cut is at twice as many bytes
  bool Link = false;
  std::string Prefix = "./";
};

}  // namespace junmaru
