// Prints which patterns of a crawler-user-agents list match each sample
// user agent, as this program matches them (Python patterns under RE2),
// for pattern_check.sh to hold against Python's own re.search.
//
//   pattern_matches LIST.json [SAMPLES]
//
// The samples are the list's own instances, then the lines of SAMPLES.
// Output: "refused N" for each pattern the program does not take, then a
// line per sample: its number, ":", and the numbers of the patterns that
// match it, ascending.

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pattern_set.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: pattern_matches LIST.json [SAMPLES]\n", stderr);
    return 2;
  }
  std::ifstream list_file(argv[1], std::ios::binary);
  const nlohmann::json list = nlohmann::json::parse(list_file);
  std::vector<std::string> samples;
  junmaru::PatternSet set;
  std::vector<int> taken;  // the list's number of each pattern in the set
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (set.Add(list[i]["pattern"].get<std::string>()))
      taken.push_back(static_cast<int>(i));
    else
      std::printf("refused %zu\n", i);
    for (const auto& instance : list[i].value("instances", nlohmann::json::array()))
      samples.push_back(instance.get<std::string>());
  }
  set.Compile();
  if (argc > 2) {
    std::ifstream extra(argv[2], std::ios::binary);
    for (std::string line; std::getline(extra, line);) samples.push_back(line);
  }
  for (std::size_t s = 0; s < samples.size(); ++s) {
    std::printf("%zu:", s);
    for (int k : set.Matching(samples[s])) std::printf(" %d", taken[static_cast<std::size_t>(k)]);
    std::printf("\n");
  }
}
