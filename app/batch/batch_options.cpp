#include "batch_options.h"

#include <charconv>

namespace junmaru::batch {

const char kUsageLine[] = "usage: junmaru-batch [--settings FILE] [--log FILE]... [--out FILE] [--from N] [--to M] [--since DATE] [--until DATE] [--days N]";

const char kHelpText[] =
    "usage: junmaru-batch [--settings FILE] [--log FILE]... [--out FILE] [--from N] [--to M] [--since DATE] [--until DATE] [--days N]\n"
    "\n"
    "順位丸のランキングをウィンドウなしで作成します。アクセスログを読み、GET による\n"
    "ダウンロード数をファイルごとに数え、ランキングページ (Shift_JIS) を書き出します。\n"
    "ウィンドウの GO と同じページをバイト単位で同じに出力します。\n"
    "\n"
    "  --settings FILE  設定ファイル。既定は実行ファイルと同じフォルダの\n"
    "                   junmaru_setting.ini。ないときは既定値を使います。書き込みはしません。\n"
    "  --log FILE       アクセスログ。既定は設定ファイルの ReadPass。何度でも指定でき、\n"
    "                   指定した順 (古いものから) につないで一つのログとして数えます。\n"
    "                   内容が gzip の署名で始まるファイル (.gz) は展開して読みます。\n"
    "  --out FILE       出力する HTML ファイル。既定は --log を指定したときはログと同じ\n"
    "                   フォルダの ranking.html、指定しないときは設定ファイルの SavePass。\n"
    "  --from N         集計する最初の行 (1 から数える)。既定は 1。\n"
    "  --to M           集計する最後の行 (その行を含む)。既定はログの最終行。\n"
    "  --since DATE     期間の始め。この時刻以後の記録がある最初の行から集計します。\n"
    "                   DATE は YYYY-MM-DD (その日の 00:00:00) か \"YYYY-MM-DD HH:MM[:SS]\"。\n"
    "                   時刻はログに書かれたとおりに比べます (時差は換算しません)。\n"
    "  --until DATE     期間の終わり。この時刻以前の記録がある最後の行まで集計します。\n"
    "                   日付だけならその日の 23:59:59。\n"
    "  --days N         ログの最終行の日を終わりとする N 日間 (毎晩「直近 30 日」など)。\n"
    "                   --since/--until/--days は --from/--to と一緒には使えません。\n"
    "                   期間に当たる行がないときは終了コード 1 で、何も書きません。\n"
    "  --help           この説明を表示します。\n"
    "\n"
    "終了コード: 0 成功 (警告があっても)、1 ログ・範囲・出力のエラー (何も書きません)、\n"
    "2 引数の誤り。メッセージは標準エラー出力に UTF-8 で出します。\n"
    "\n"
    "Builds the junmaru download ranking without the window: reads an access log,\n"
    "counts GET downloads per file and writes the ranking page (Shift_JIS), byte\n"
    "for byte the page that the window's GO writes.\n"
    "\n"
    "  --settings FILE  settings file; default junmaru_setting.ini beside the\n"
    "                   executable; a missing file means the defaults. Never written.\n"
    "  --log FILE       access log; default the stored ReadPass. May be given more\n"
    "                   than once: the logs are joined in the order given (oldest\n"
    "                   first) and counted as one. A file whose contents begin with\n"
    "                   the gzip signature (.gz) is decompressed.\n"
    "  --out FILE       page to write; default ranking.html in the log's folder when\n"
    "                   --log is given, else the stored SavePass.\n"
    "  --from N         first log line to count (1-based); default 1.\n"
    "  --to M           last log line to count (inclusive); default the last line.\n"
    "  --since DATE     start of the period: count from the first line stamped at or\n"
    "                   after it. DATE is YYYY-MM-DD (00:00:00 of that day) or\n"
    "                   \"YYYY-MM-DD HH:MM[:SS]\", compared with the log's own clock\n"
    "                   (the zone in the lines is not converted).\n"
    "  --until DATE     end of the period: count to the last line stamped at or\n"
    "                   before it; a bare date means 23:59:59 of that day.\n"
    "  --days N         the N days that end with the day of the log's last line.\n"
    "                   --since/--until/--days cannot be used with --from/--to; a\n"
    "                   period without lines exits with 1 and writes nothing.\n"
    "  --help           show this text.\n"
    "\n"
    "Exit status: 0 success (also with warnings), 1 log, range or output error\n"
    "(nothing is written), 2 bad arguments. Messages go to stderr in UTF-8; a\n"
    "progress bar is shown on stderr only when it is a terminal.\n"
    "\n"
    "example: junmaru-batch --log /var/log/httpd/access.log --out /srv/www/dl/ranking.html\n"
    "         junmaru-batch --log access.log.2.gz --log access.log.1 --log access.log \\\n"
    "             --since 2024-10-01 --until 2024-10-31 --out /srv/www/dl/ranking.html\n";

namespace {

std::optional<long long> ParseInteger(const std::string& text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  BatchOptions& o = parsed.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (name == "--help" || name == "-h") {
      o.help = true;
      continue;
    }
    if (name.rfind("--", 0) != 0) {
      parsed.problem = "unexpected argument '" + name + "'";
      return parsed;
    }
    if (std::size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name != "--settings" && name != "--log" && name != "--out" && name != "--from" && name != "--to" &&
        name != "--since" && name != "--until" && name != "--days") {
      parsed.problem = "unknown option '" + name + "'";
      return parsed;
    }
    if (!value) {
      if (i + 1 >= args.size()) {
        parsed.problem = "option '" + name + "' needs a value";
        return parsed;
      }
      value = args[++i];
    }
    if (name == "--settings") o.settings = *value;
    if (name == "--log") o.logs.push_back(*value);
    if (name == "--since" || name == "--until") {
      std::optional<LogMoment> moment = ParseMoment(*value, name == "--until");
      if (!moment) {
        parsed.problem = "option '" + name + "' needs a date YYYY-MM-DD or 'YYYY-MM-DD HH:MM[:SS]', not '" + *value + "'";
        return parsed;
      }
      (name == "--since" ? o.since : o.until) = moment;
    }
    if (name == "--out") o.out = *value;
    if (name == "--from" || name == "--to" || name == "--days") {
      std::optional<long long> number = ParseInteger(*value);
      if (name == "--days" && number && *number < 1) {
        parsed.problem = "option '--days' needs a number of days of 1 or more, not '" + *value + "'";
        return parsed;
      }
      if (!number) {
        parsed.problem = "option '" + name + "' needs an integer, not '" + *value + "'";
        return parsed;
      }
      (name == "--from" ? o.from : name == "--to" ? o.to : o.days) = number;
    }
  }
  if (o.from && o.to && *o.from > *o.to) parsed.problem = "--from lies beyond --to";
  if (o.since && o.until && *o.since > *o.until) parsed.problem = "--since lies after --until";
  if (o.days && (o.since || o.until)) parsed.problem = "--days cannot be used with --since or --until";
  if (o.HasPeriod() && (o.from || o.to)) parsed.problem = "a period (--since, --until, --days) cannot be used with --from or --to";
  return parsed;
}

}  // namespace junmaru::batch
