#include <string>
#include <string_view>

#include "code_page.h"
#include "cp932.h"
#include "ranking_export.h"
#include "ranking_rows.h"

namespace junmaru {
namespace {

// Quoted as RFC 4180 asks when it holds a separator, a quote or a line
// break; with the apostrophe that keeps a formula-like text a text.
void AppendField(std::string_view text, bool from_log, std::string& line) {
  const bool formula_like = from_log && !text.empty() && std::string_view("=+-@\t").find(text[0]) != std::string_view::npos;
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (!line.empty()) line += ',';
  if (quoted) line += '"';
  if (formula_like) line += '\'';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  if (quoted) line += '"';
}

class CsvLines {
 public:
  CsvLines(CsvEncoding encoding, ByteSink& sink) : encoding_(encoding), sink_(sink) {
    if (encoding_ == CsvEncoding::kUtf8) sink_.Write("\xEF\xBB\xBF");
  }
  // A field of the line being made: a code page 932 text.
  void Field(std::string_view text, bool from_log = false) {
    if (encoding_ == CsvEncoding::kCp932) return AppendField(text, from_log, line_);
    bool exact = true;
    AppendField(Cp932ToUtf8Replacing(text, exact), from_log, line_);
  }
  void Field(long long number) { AppendField(std::to_string(number), false, line_); }
  void EndLine() {
    line_ += "\r\n";
    sink_.Write(line_);
    line_.clear();
  }

 private:
  const CsvEncoding encoding_;
  ByteSink& sink_;
  std::string line_;
};

}  // namespace

void WriteRankingCsv(const Ranking& ranking, const Settings& settings, CsvEncoding encoding, ByteSink& sink) {
  CsvLines csv(encoding, sink);
  for (const char* head : {"順位", "パス", "ファイル名", "DL数"}) csv.Field(Sjis(head));
  if (settings.Trend) csv.Field(Sjis("前回"));
  if (settings.Clients) csv.Field(Sjis("DL人数"));
  csv.EndLine();
  ForEachShownPlace(ranking, settings, [&csv](const ShownPlace& place) {
    csv.Field(place.rank);
    csv.Field(place.path, true);
    csv.Field(place.name, true);
    csv.Field(place.count);
    if (place.previous_rank) csv.Field(RankChangeText(place.rank, *place.previous_rank));
    if (place.clients) csv.Field(*place.clients);
    csv.EndLine();
  });
}

}  // namespace junmaru
