#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

#include "cp932.h"
#include "log_moment.h"
#include "ranking_export.h"
#include "ranking_rows.h"

namespace junmaru {
namespace {

using Json = nlohmann::ordered_json;

// What a text of the code page reads as in UTF-8; exact tells whether
// every byte had its character.
std::string Utf8(std::string_view cp932, bool& exact) { return Cp932ToUtf8Replacing(cp932, exact); }

// The bytes with each one outside printable ASCII, and "%" itself, as %XX.
std::string PercentEscaped(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c > 0x20 && c < 0x7F && c != '%') {
      out += byte;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

Json MomentOrNull(std::optional<LogMoment> moment) { return moment ? Json(MomentText(*moment)) : Json(nullptr); }

// The span the page's heading names: the times of the lines a period
// took, or those of the range's first and last line.
Json Period(const LogLines& lines, const Settings& settings) {
  Json period = Json::object();
  if (settings.Period && settings.Period->times) {
    period["from"] = MomentText(settings.Period->times->earliest);
    period["to"] = MomentText(settings.Period->times->latest);
  } else {
    period["from"] = MomentOrNull(ReadLogMoment(lines.At(settings.PStart - 1)));
    period["to"] = MomentOrNull(ReadLogMoment(lines.At(settings.PEnd - 1)));
  }
  return period;
}

Json Row(const ShownPlace& place) {
  bool exact = true;
  Json row = Json::object();
  row["rank"] = place.rank;
  row["path"] = Utf8(place.path, exact);
  row["name"] = Utf8(place.name, exact);
  row["count"] = place.count;
  if (place.previous_rank) {
    row["previous_rank"] = *place.previous_rank > 0 ? Json(*place.previous_rank) : Json(nullptr);
    row["change"] = Utf8(RankChangeText(place.rank, *place.previous_rank), exact);
  }
  if (place.clients) row["downloaders"] = *place.clients;
  if (!exact) row["path_bytes"] = PercentEscaped(place.path);
  return row;
}

// A value as compact JSON text; U+FFFD, which stands only for bytes that
// had no character, as its escape, so that a reader sees it for what it is.
void Write(const Json& value, ByteSink& sink) {
  std::string text = value.dump();
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  for (std::size_t at = text.find(kReplacement); at != std::string::npos; at = text.find(kReplacement, at))
    text.replace(at, kReplacement.size(), "\\ufffd");
  sink.Write(text);
}

}  // namespace

void WriteRankingJson(const LogLines& lines, const Settings& settings, const Ranking& ranking, ByteSink& sink) {
  Json header = Json::object();
  header["period"] = Period(lines, settings);
  header["top"] = settings.TopCount;
  header["top_total"] = ranking.top_total;
  if (settings.Trend && settings.Previous) {
    const PreviousPeriod& previous = *settings.Previous;
    header["previous"] = {{"from", MomentText(previous.period.since)},
                          {"to", MomentText(previous.period.until)},
                          {"complete", previous.complete}};
  }
  sink.Write("{\"header\":");
  Write(header, sink);
  sink.Write(",\n\"rows\":[");
  const char* separator = "\n";
  ForEachShownPlace(ranking, settings, [&](const ShownPlace& place) {
    sink.Write(separator);
    Write(Row(place), sink);
    separator = ",\n";
  });
  sink.Write("\n]}\n");
}

}  // namespace junmaru
