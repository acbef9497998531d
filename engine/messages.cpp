#include "messages.h"

#include "cp932.h"

namespace junmaru::messages {

std::string ListIndexOutOfRange(long long index) {
  return Sjis("リストのインデックスが範囲を超えています (") + std::to_string(index) + ")";
}

const std::string& SortedListRefused() { return Sjis("ソートされる文字列リストに対しては許されない動作です"); }

std::string GzipDamaged(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" は gzip として展開できません（壊れているか途中で切れています）");
}

const std::string& StatusScanning() { return Sjis("ログ整理中..."); }
const std::string& StatusTallying() { return Sjis("データ集計中..."); }
const std::string& StatusWritingHtml() { return Sjis("HTMLファイルに出力中..."); }
const std::string& LogFormatError() { return Sjis("エラー　ログファイルの形式がおかしいです"); }
const std::string& NoLineInPeriod() { return Sjis("エラー　指定された期間の行がログにありません"); }
const std::string& LogTooShort() { return Sjis("エラー　集計には2行以上のログが必要です"); }
const std::string& LogFileMissing() { return Sjis("エラー　読み込みファイルが選択先に存在しません"); }

std::string LogChanged(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" は読み込み中に短くなったか入れ替わりました");
}

std::string LogHasNoLines(const std::string& cp932_paths) {
  return Sjis("ログ ") + cp932_paths + Sjis(" に行がありません");
}

std::string LogFileMissingNamed(const std::string& cp932_path) {
  return Sjis("エラー　読み込みファイル ") + cp932_path + Sjis(" が存在しません");
}

std::string RangeOutsideLog(long long first, long long last, long long count) {
  return Sjis("エラー　行の範囲 ") + std::to_string(first) + Sjis("～") + std::to_string(last) + Sjis(" がログの行 (1～") +
         std::to_string(count) + Sjis(") に収まりません");
}

std::string LogsFallShort(const std::string& period, const std::string& covered) {
  return Sjis("ログが期間に足りません（期間 ") + period + Sjis("、ログ ") + covered + Sjis("）");
}

std::string LaterLinesLeftOut(long long lines, const std::string& after) {
  return Sjis("時刻が ") + after + Sjis(" より後の ") + std::to_string(lines) +
         Sjis(" 行は数えません（時計の狂いか偽りの時刻です）");
}

std::string LogsOutOfOrder(const std::string& later, const std::string& earlier) {
  return Sjis("ログ ") + later + Sjis(" は前のログ ") + earlier + Sjis(" が終わる前に始まっています（古い順に指定してください）");
}

std::string LogsAlike(const std::string& first, const std::string& second) {
  return Sjis("ログ ") + first + Sjis(" と ") + second + Sjis(" は最初と最後の行が同じです（同じログを二度数えていませんか）");
}

const std::string& RangeWithoutTime() {
  return Sjis("前回の期間を決められません（範囲の行に時刻がありません）");
}

std::string RangeEndsOutOfOrder(const std::string& first, const std::string& last) {
  return Sjis("前回の期間を決められません（範囲の最後の行の時刻 ") + last + Sjis(" が最初の行の時刻 ") + first +
         Sjis(" より前です）");
}

std::string PreviousFallsShort(const std::string& period, const std::string& covered) {
  return Sjis("ログが前回の期間に足りません（前回 ") + period + Sjis("、ログ ") + covered + Sjis("）");
}

const std::string& WarningMark() { return Sjis("警告　"); }
const std::string& ErrorMark() { return Sjis("エラー　"); }

std::string PageIsTheLog(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" は読み込んだログなので出力先にできません");
}

std::string OutputTwice(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" に二つの出力を書くことはできません");
}

std::string OutOfMemoryReading(const std::string& cp932_path) {
  return Sjis("メモリ不足のため ") + cp932_path + Sjis(" を読み込めません");
}

std::string OutOfMemoryWriting(const std::string& cp932_path) {
  return Sjis("メモリ不足のため ") + cp932_path + Sjis(" を書き込めません");
}

std::string CrawlerListUnreadable(const std::string& cp932_path) {
  return Sjis("クローラーの一覧 ") + cp932_path + Sjis(" を読み込めません（[Count] Bots）");
}

std::string CrawlerListMalformed(const std::string& cp932_path) {
  return Sjis("クローラーの一覧 ") + cp932_path + Sjis(" は crawler-user-agents の JSON ではありません（[Count] Bots）");
}

std::string CrawlerPatternRefused(const std::string& cp932_path, const std::string& utf8_pattern) {
  return Sjis("クローラーの一覧 ") + cp932_path + Sjis(" のパターン ") + Utf8ToCp932(utf8_pattern) +
         Sjis(" は使えません（[Count] Bots）");
}

std::string SwitchBad(const std::string& cp932_path, const std::string& section, const std::string& key,
                      const std::string& value) {
  return Sjis("設定ファイル ") + cp932_path + Sjis(" の [") + section + "] " + key + "=" + value +
         Sjis(" は 0 か 1 で指定してください");
}

std::string StatusListBad(const std::string& cp932_path, const std::string& value) {
  return Sjis("設定ファイル ") + cp932_path + Sjis(" の [Count] Status=") + value +
         Sjis(" は 200,206 のように 3 桁の番号をコンマで区切って指定してください");
}

std::string StatusListTyped(const std::string& value) {
  return Sjis("数える応答ステータス「") + value +
         Sjis("」は 200,206 のように 3 桁の番号をコンマで区切って入力してください（空欄ならすべて数えます）");
}

std::string CountRuleTurnedOff(const std::string& key) { return Sjis("（") + key + Sjis(" はオフにしました）"); }

std::string OtherHttpLinesLeftOut(long long lines, const std::string& option) {
  return Sjis("HTTP/1.0 と HTTP/1.1 以外（HTTP/2 など）の ") + std::to_string(lines) + Sjis(" 行を数えていません（") +
         option + Sjis(" で数えます）");
}

}  // namespace junmaru::messages
