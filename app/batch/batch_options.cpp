#include "batch_options.h"

#include <charconv>

#include "remote_url.h"

namespace junmaru::batch {

const char kUsageLine[] = "usage: junmaru-batch [--settings FILE] [--log FILE]... [--out FILE] [--csv FILE [--csv-utf8]] [--json FILE] [--trend] [--clients] [--from N] [--to M] [--since DATE] [--until DATE] [--days N] [--strict] [--log-list URL/ [--log-match GLOB]] [--publish URL/] [--cacert FILE] [--timeout SECONDS] [--any-http] [--status LIST] [--once-per-client] [--bots] [--decode]";

const char kHelpText[] =
    "usage: junmaru-batch [--settings FILE] [--log FILE]... [--out FILE] [--csv FILE [--csv-utf8]] [--json FILE] [--trend] [--clients] [--from N] [--to M] [--since DATE] [--until DATE] [--days N] [--strict] [--log-list URL/ [--log-match GLOB]] [--publish URL/] [--cacert FILE] [--timeout SECONDS] [--any-http] [--status LIST] [--once-per-client] [--bots] [--decode]\n"
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
    "  --since DATE     期間の始め。DATE は YYYY-MM-DD (その日の 00:00:00) か\n"
    "                   \"YYYY-MM-DD HH:MM[:SS]\" (HH:MM はその分の 00 秒)。\n"
    "  --until DATE     期間の終わり (その時刻を含む)。日付だけならその日の 23:59:59、\n"
    "                   HH:MM ならその分の 59 秒まで。\n"
    "  --days N         ログの最新の時刻の日を終わりとする N 日間 (毎晩「直近 30 日」など)。\n"
    "                   期間を指定すると、各行はその行自身の時刻 (行の [日時] 欄) で\n"
    "                   期間に入るかどうかを決めます。行の順序やログの順序は問いません。\n"
    "                   時刻はログに書かれたとおりに比べます (時差は換算しません)。\n"
    "                   時刻がこのコンピューターの時計より 1 日以上先の行は数えず、警告します。\n"
    "                   ログの時刻が期間の始めより後から (--until なら終わりより前まで) しか\n"
    "                   ないときは、ページを書いたうえで標準エラー出力に警告します。\n"
    "                   --since/--until/--days は --from/--to と一緒には使えません。\n"
    "                   期間に当たる行がないときは終了コード 1 で、何も書きません。\n"
    "  --strict         ログが期間に足りないとき、警告の代わりに終了コード 1 で\n"
    "                   終わり、ページを書きません (期間と一緒に使います)。\n"
    "  --log URL        ログをサーバーから読みます: ftp://、ftps:// (明示的 TLS)、sftp://、\n"
    "                   https://。ローカルのファイルと同じに読みます (gzip は内容で判定)。\n"
    "  --log-list URL/  サーバーのフォルダ (ftp://、ftps://、sftp://) のうち --log-match に合う\n"
    "                   ファイルを名前順に読みます。--log より先に読みます。何度でも指定できます。\n"
    "  --log-match GLOB --log-list で読むファイル名 (例 'access_log_*.gz')。既定は *。\n"
    "  --publish URL/   書き出したページをサイトのフォルダ (ftp://、ftps://、sftp://) に置きます。\n"
    "                   一時的な名前で送ってから名前を変えるので、失敗しても前のページが残ります。\n"
    "                   サイトに gage.gif がなければ、ページの隣の gage.gif も送ります。\n"
    "                   --csv、--json のファイルも、ページより先に送ります。\n"
    "  --cacert FILE    サーバーの証明書をこの認証局のファイル (PEM) で検証します。\n"
    "  --timeout SECONDS 接続や転送が止まってから諦めるまでの秒数。既定は 60。\n"
    "                   ログインは ~/.netrc (Windows は %USERPROFILE%\\_netrc)、SFTP は SSH の鍵か\n"
    "                   ssh-agent と ~/.ssh/known_hosts を使います。パスワードはアドレスに書けません。\n"
    "  ページの欄 (どれも既定は設定ファイルの [HTML]。=0 で切り、=1 か値なしで入れます):\n"
    "  --trend          順位の後に「前回」の欄を加え、前の同じ長さの期間と比べた順位の\n"
    "                   上がり下がりを示します (▲n 上がった、▼n 下がった、→ 同じ、NEW 前回は\n"
    "                   圏外)。期間なら直前の同じ長さの期間、行の範囲なら最初と最後の行の時刻の\n"
    "                   間を、その長さと 1 秒だけ前にずらした期間と比べます。ログが前の期間の\n"
    "                   始めまでさかのぼらないときは見出しを「前回（データ不足）」にして警告します。\n"
    "  --clients        DL数の後に「DL人数」の欄を加え、各ファイルをダウンロードした\n"
    "                   クライアント (行の最初の欄のアドレスとユーザーエージェントの組) の数を\n"
    "                   示します。推定ではなく正確な数です。\n"
    "  数え方 (どれも既定は設定ファイルの [Count]。=0 で切り、=1 か値なしで入れます):\n"
    "  --any-http       要求欄そのものから読み、HTTP/2・HTTP/3 などの行も数えます。\n"
    "  --status LIST    応答の状態がこの一覧 (例 200,206) にある行だけ数えます。\n"
    "                   --status= (空) ならすべての状態を数えます。\n"
    "  --once-per-client 同じ利用者 (アドレスとユーザーエージェント) は一つのファイルを\n"
    "                   一日に一度だけ数えます (分割ダウンロードの 206 もまとめて一度)。\n"
    "  --bots           クローラー (crawler-user-agents の一覧。実行ファイルと同じフォルダの\n"
    "                   crawler-user-agents.json) の行を数えません。wget や curl は数えます。\n"
    "  --decode         パスの ? 以降を外し、%XX を戻して日本語の名前で数え、表示します。\n"
    "                   リンクはログに書かれたままのパス (? 以降なし) です。\n"
    "                   これらを使わずに HTTP/1.0・1.1 以外の行を数えなかったときは、\n"
    "                   その行数を標準エラー出力に警告します。\n"
    "                   設定ファイルの [Count] の値が読めないとき、クローラーの一覧が\n"
    "                   読めないときは、終了コード 1 で何も書きません。\n"
    "  --help           この説明を表示します。\n"
    "\n"
    "終了コード: 0 成功 (警告があっても)、1 ログ・範囲・出力のエラー (何も書きません)、\n"
    "2 引数の誤り (同じログを二度指定したときも)。メッセージは標準エラー出力に\n"
    "UTF-8 で出します。\n"
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
    "  --since DATE     start of the period. DATE is YYYY-MM-DD (00:00:00 of that\n"
    "                   day) or \"YYYY-MM-DD HH:MM[:SS]\" (HH:MM is second 00).\n"
    "  --until DATE     end of the period, included: a bare date means 23:59:59\n"
    "                   of that day, HH:MM means second 59 of that minute.\n"
    "  --days N         the N days that end with the day of the latest time in\n"
    "                   the logs (\"the last 30 days\" every night).\n"
    "                   With a period, each line counts when its own time (its\n"
    "                   [date] field) lies in it, whatever the order of the lines\n"
    "                   or of the logs. Times are compared with the log's own\n"
    "                   clock (the zone in the lines is not converted). Lines\n"
    "                   stamped more than a day ahead of this machine's clock are\n"
    "                   not counted, with a warning. When the logs begin after the\n"
    "                   period's start (or, with --until, end before its end),\n"
    "                   the page is written and a warning goes to stderr.\n"
    "                   --since/--until/--days cannot be used with --from/--to; a\n"
    "                   period without lines exits with 1 and writes nothing.\n"
    "  --strict         when the logs fall short of the period, exit with 1 and\n"
    "                   write nothing instead of warning (with a period only).\n"
    "  --log URL        read the log from a server: ftp://, ftps:// (explicit TLS),\n"
    "                   sftp:// or https://; read as a local file would be.\n"
    "  --log-list URL/  read the files of a server's folder (ftp://, ftps://, sftp://)\n"
    "                   whose names match --log-match, in name order, before the\n"
    "                   --log files. May be given more than once.\n"
    "  --log-match GLOB the names --log-list takes (e.g. 'access_log_*.gz'); default *.\n"
    "  --publish URL/   put the page written into the site's folder (ftp://, ftps://,\n"
    "                   sftp://): uploaded under a temporary name and renamed over the\n"
    "                   old page, so a failure leaves the old page; gage.gif from\n"
    "                   beside the page goes too when the site has none.\n"
    "                   The --csv and --json files go too, before the page.\n"
    "  --cacert FILE    verify servers' certificates with this CA file (PEM).\n"
    "  --timeout SECONDS give up on a connection or transfer that has stalled this\n"
    "                   long; default 60.\n"
    "                   Logins come from ~/.netrc (%USERPROFILE%\\_netrc on Windows);\n"
    "                   SFTP uses SSH keys or ssh-agent and ~/.ssh/known_hosts. An\n"
    "                   address never holds a password.\n"
    "  The page's columns (each defaults to the settings file's [HTML]; =0 turns\n"
    "  one off, =1 or no value turns it on):\n"
    "  --trend          add a column after the rank, headed 前回: each place's\n"
    "                   change against the previous period of equal length (▲n up,\n"
    "                   ▼n down, → same place, NEW not ranked before). For a period,\n"
    "                   the same span just before it; for a range of lines, the\n"
    "                   span from its first to its last line's time, moved back by\n"
    "                   its length plus one second. When the logs do not reach back\n"
    "                   over it, the heading reads 前回（データ不足） with a warning.\n"
    "  --clients        add a column after the count, headed DL人数: each file's\n"
    "                   downloaders, the distinct clients (the line's first field\n"
    "                   and user agent) of its counted downloads; exact.\n"
    "  Counting rules (each defaults to the settings file's [Count]; =0 turns\n"
    "  one off, =1 or no value turns it on):\n"
    "  --any-http       read the request from its field: HTTP/2, HTTP/3 and other\n"
    "                   versions count too.\n"
    "  --status LIST    count only lines whose response status is listed (e.g.\n"
    "                   200,206); --status= (empty) counts every status.\n"
    "  --once-per-client a client (address and user agent) counts each file at\n"
    "                   most once a day (a download in 206 ranges counts once).\n"
    "  --bots           leave out crawlers (the crawler-user-agents list,\n"
    "                   crawler-user-agents.json beside the program); wget, curl\n"
    "                   and download managers still count.\n"
    "  --decode         cut the query string, decode %XX and count and show the\n"
    "                   Japanese name; the link keeps the path as logged.\n"
    "                   Without --any-http, lines of other HTTP versions that were\n"
    "                   not counted are reported on stderr as a warning. A value\n"
    "                   of [Count] that cannot be read, or a crawler list that\n"
    "                   cannot be read, exits with 1 and writes nothing.\n"
    "  --help           show this text.\n"
    "\n"
    "Exit status: 0 success (also with warnings), 1 log, range or output error\n"
    "(nothing is written), 2 bad arguments (also the same log given twice).\n"
    "Messages go to stderr in UTF-8; a\n"
    "progress bar is shown on stderr only when it is a terminal.\n"
    "\n"
    "example: junmaru-batch --log /var/log/httpd/access.log --out /srv/www/dl/ranking.html\n"
    "         junmaru-batch --log-list sftp://keeper@example.jp/logs/ --log-match 'access_log_*.gz' \\\n"
    "             --days 7 --out ranking.html --publish ftps://example.jp/www/dl/\n"
    "         junmaru-batch --log access.log.2.gz --log access.log.1 --log access.log \\\n"
    "             --since 2024-10-01 --until 2024-10-31 --out /srv/www/dl/ranking.html\n"
    "         junmaru-batch --log access.log --any-http --status 200,206 --once-per-client \\\n"
    "             --bots --decode --out /srv/www/dl/ranking.html\n";

namespace {

std::optional<long long> ParseInteger(const std::string& text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

// Why an address given to option cannot be used; empty when it can. A
// --log may be a path; --log-list and --publish name an FTP or SFTP folder.
std::string CheckAddress(const std::string& option, const std::string& value) {
  if (option == "--log" && !transfer::LooksLikeUrl(value)) return {};
  const transfer::ParsedUrl parsed = transfer::ParseRemoteUrl(value);
  if (!parsed.url) return "option '" + option + "': " + parsed.problem;
  if (option == "--log")
    return parsed.url->IsFolder() ? "option '--log' names a file, not the folder '" + value + "' (see --log-list)" : "";
  if (parsed.url->scheme == transfer::Scheme::kHttps || !parsed.url->IsFolder())
    return "option '" + option + "' needs an ftp://, ftps:// or sftp:// folder ending in '/', not '" + value + "'";
  return {};
}

// The switches over the settings file: the counting rules and the page's
// extra columns.
struct RuleOption {
  const char* name;
  std::optional<bool> BatchOptions::*field;
};
constexpr RuleOption kRuleOptions[] = {
    {"--any-http", &BatchOptions::any_http},
    {"--once-per-client", &BatchOptions::once_per_client},
    {"--bots", &BatchOptions::bots},
    {"--decode", &BatchOptions::decode},
    {"--trend", &BatchOptions::trend},
    {"--clients", &BatchOptions::clients},
};

const RuleOption* RuleOptionNamed(const std::string& name) {
  for (const RuleOption& rule : kRuleOptions)
    if (name == rule.name) return &rule;
  return nullptr;
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
    if (name == "--strict") {
      o.strict = true;
      continue;
    }
    if (name == "--csv-utf8") {
      o.csv_utf8 = true;
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
    if (const RuleOption* rule = RuleOptionNamed(name)) {
      if (value && *value != "0" && *value != "1") {
        parsed.problem = "option '" + name + "' takes =0 or =1, not '=" + *value + "'";
        return parsed;
      }
      o.*rule->field = !value || *value == "1";
      continue;
    }
    if (name == "--strict" || name == "--help" || name == "--csv-utf8") {
      parsed.problem = "option '" + name + "' takes no value";
      return parsed;
    }
    if (name != "--settings" && name != "--log" && name != "--out" && name != "--from" && name != "--to" &&
        name != "--since" && name != "--until" && name != "--days" && name != "--log-list" && name != "--log-match" &&
        name != "--publish" && name != "--cacert" && name != "--timeout" && name != "--csv" && name != "--json" &&
        name != "--status") {
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
    if (name == "--log" || name == "--log-list" || name == "--publish") {
      if (std::string problem = CheckAddress(name, *value); !problem.empty()) {
        parsed.problem = problem;
        return parsed;
      }
    }
    if (name == "--log-list") o.log_lists.push_back(*value);
    if (name == "--log-match") o.log_match = *value;
    if (name == "--publish") o.publish = *value;
    if (name == "--cacert") o.cacert = *value;
    if (name == "--timeout") {
      std::optional<long long> seconds = ParseInteger(*value);
      if (!seconds || *seconds < 1 || *seconds > 86400) {
        parsed.problem = "option '--timeout' needs a number of seconds from 1 to 86400, not '" + *value + "'";
        return parsed;
      }
      o.timeout = static_cast<long>(*seconds);
    }
    if (name == "--since" || name == "--until") {
      std::optional<LogMoment> moment = ParseMoment(*value, name == "--until");
      if (!moment) {
        parsed.problem = "option '" + name + "' needs a date YYYY-MM-DD or 'YYYY-MM-DD HH:MM[:SS]', not '" + *value + "'";
        return parsed;
      }
      (name == "--since" ? o.since : o.until) = moment;
    }
    if (name == "--status") {
      o.status = StatusList::Parse(*value);
      if (!o.status) {
        parsed.problem = "option '--status' needs three-digit statuses separated by commas (such as 200,206), not '" +
                         *value + "'";
        return parsed;
      }
    }
    if (name == "--out") o.out = *value;
    // An empty name would quietly leave the file out (an unset variable in a cron line).
    if ((name == "--csv" || name == "--json") && value->empty()) {
      parsed.problem = "option '" + name + "' needs a file name";
      return parsed;
    }
    if (name == "--csv") o.csv = *value;
    if (name == "--json") o.json = *value;
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
  if (o.log_match != "*" && o.log_lists.empty()) parsed.problem = "--log-match needs --log-list";
  if (o.HasPeriod() && (o.from || o.to)) parsed.problem = "a period (--since, --until, --days) cannot be used with --from or --to";
  if (o.strict && !o.HasPeriod()) parsed.problem = "--strict needs a period (--since, --until or --days)";
  if (o.csv_utf8 && !o.csv) parsed.problem = "--csv-utf8 needs --csv";
  return parsed;
}

}  // namespace junmaru::batch
