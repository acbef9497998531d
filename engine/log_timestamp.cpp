#include "log_timestamp.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "byte_string.h"
#include "cp932.h"
#include "messages.h"

namespace junmaru {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kMonthNumbers = {"01", "02", "03", "04", "05", "06",
                                                            "07", "08", "09", "10", "11", "12"};

void ReportFormatError(RunView& view) {
  view.SetStatusColour(StatusColour::kError);
  view.SetStatusText(messages::LogFormatError());
  view.EnableRun(false);
}

}  // namespace

std::string Date(const LogLines& lines, long long n, RunView& view) {
  std::string_view line = lines.At(n);
  const long long p = static_cast<long long>(BytePos("[", line));
  if (p == 0) {
    ReportFormatError(view);
    return {};
  }
  std::string_view day = MidBytes(line, p + 1, 2);
  std::string_view month = MidBytes(line, p + 4, 3);
  std::string_view year = MidBytes(line, p + 8, 4);
  std::string_view hour = MidBytes(line, p + 13, 2);
  std::string_view minute = MidBytes(line, p + 16, 2);
  std::string_view second = MidBytes(line, p + 19, 2);
  for (std::size_t m = 0; m < kMonths.size(); ++m) {
    if (month == kMonths[m]) {
      month = kMonthNumbers[m];
      break;
    }
  }
  std::string text;
  text.append(year).append(Sjis("年"));
  text.append(month).append(Sjis("月"));
  text.append(day).append(Sjis("日 "));
  text.append(hour).append(Sjis("時"));
  text.append(minute).append(Sjis("分"));
  text.append(second).append(Sjis("秒"));
  return text;
}

std::string TimestampText(LogMoment moment) {
  const std::string digits = std::to_string(moment);  // YYYYMMDDhhmmss
  const std::string text = std::string(14 - std::min<std::size_t>(14, digits.size()), '0') + digits;
  return text.substr(0, 4) + Sjis("年") + text.substr(4, 2) + Sjis("月") + text.substr(6, 2) + Sjis("日 ") +
         text.substr(8, 2) + Sjis("時") + text.substr(10, 2) + Sjis("分") + text.substr(12, 2) + Sjis("秒");
}

}  // namespace junmaru
