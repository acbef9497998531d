#pragma once

// The engine's messages and status texts, in code page 932 (the file
// layer's own messages come with it).

#include <string>

#include "file_messages.h"

namespace junmaru::messages {

std::string ListIndexOutOfRange(long long index);         // リストのインデックスが範囲を超えています (%d)
const std::string& SortedListRefused();                   // ソートされる文字列リストに対しては許されない動作です
std::string GzipDamaged(const std::string& cp932_path);   // ファイル %s は gzip として展開できません（壊れているか途中で切れています）

const std::string& StatusScanning();     // ログ整理中...
const std::string& StatusTallying();     // データ集計中...
const std::string& StatusWritingHtml();  // HTMLファイルに出力中...
const std::string& LogFormatError();     // エラー　ログファイルの形式がおかしいです
const std::string& LogFileMissing();     // エラー　読み込みファイルが選択先に存在しません
const std::string& NoLineInPeriod();     // エラー　指定された期間の行がログにありません
const std::string& LogTooShort();        // エラー　集計には2行以上のログが必要です

std::string LogChanged(const std::string& cp932_path);  // ファイル %s は読み込み中に短くなったか入れ替わりました
std::string LogHasNoLines(const std::string& cp932_paths);  // ログ %s に行がありません
std::string LogFileMissingNamed(const std::string& cp932_path);  // エラー　読み込みファイル %s が存在しません
std::string RangeOutsideLog(long long first, long long last, long long count);  // エラー　行の範囲 %d～%d がログの行 (1～%d) に収まりません

// What a run on the command line says about the logs it was given.
std::string LogsFallShort(const std::string& period, const std::string& covered);  // ログが期間に足りません（期間 %s、ログ %s）
std::string LaterLinesLeftOut(long long lines, const std::string& after);  // 時刻が %s より後の %d 行は数えません（時計の狂いか偽りの時刻です）
std::string LogsOutOfOrder(const std::string& later, const std::string& earlier);  // ログ %s は前のログ %s が終わる前に始まっています（古い順に指定してください）
std::string LogsAlike(const std::string& first, const std::string& second);  // ログ %s と %s は最初と最後の行が同じです（同じログを二度数えていませんか）
// What a run with the rank changes says of the previous period.
const std::string& RangeWithoutTime();  // 前回の期間を決められません（範囲の行に時刻がありません）
std::string RangeEndsOutOfOrder(const std::string& first, const std::string& last);  // 前回の期間を決められません（範囲の最後の行の時刻 %s が最初の行の時刻 %s より前です）
std::string PreviousFallsShort(const std::string& period, const std::string& covered);  // ログが前回の期間に足りません（前回 %s、ログ %s）
const std::string& WarningMark();  // 警告　
const std::string& ErrorMark();    // エラー　

std::string PageIsTheLog(const std::string& cp932_path);        // ファイル %s は読み込んだログなので出力先にできません
std::string OutputTwice(const std::string& cp932_path);         // ファイル %s に二つの出力を書くことはできません
std::string OutOfMemoryReading(const std::string& cp932_path);  // メモリ不足のため %s を読み込めません
std::string OutOfMemoryWriting(const std::string& cp932_path);  // メモリ不足のため %s を書き込めません

// The counting rules of the settings file's section [Count], and the
// crawler list of the Bots rule: each message names the file and the key.
std::string CrawlerListUnreadable(const std::string& cp932_path);  // クローラーの一覧 %s を読み込めません（[Count] Bots）
std::string CrawlerListMalformed(const std::string& cp932_path);   // クローラーの一覧 %s は crawler-user-agents の JSON ではありません（[Count] Bots）
std::string CrawlerPatternRefused(const std::string& cp932_path, const std::string& utf8_pattern);  // クローラーの一覧 %s のパターン %s は使えません（[Count] Bots）
std::string SwitchBad(const std::string& cp932_path, const std::string& section, const std::string& key,
                      const std::string& value);  // 設定ファイル %s の [%s] %s=%s は 0 か 1 で指定してください
std::string StatusListBad(const std::string& cp932_path, const std::string& value);  // 設定ファイル %s の [Count] Status=%s は 200,206 のように 3 桁の番号をコンマで区切って指定してください
std::string StatusListTyped(const std::string& value);  // 数える応答ステータス「%s」は 200,206 のように 3 桁の番号をコンマで区切って入力してください（空欄ならすべて数えます）
std::string CountRuleTurnedOff(const std::string& key);  // （%s はオフにしました）
// Lines written over another protocol than HTTP/1.0 and HTTP/1.1 that
// the AnyHttp rule would count.
std::string OtherHttpLinesLeftOut(long long lines, const std::string& option);  // HTTP/1.0 と HTTP/1.1 以外（HTTP/2 など）の %d 行を数えていません（%s で数えます）

}  // namespace junmaru::messages
