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

std::string PageIsTheLog(const std::string& cp932_path);        // ファイル %s は読み込んだログなので出力先にできません
std::string OutOfMemoryReading(const std::string& cp932_path);  // メモリ不足のため %s を読み込めません
std::string OutOfMemoryWriting(const std::string& cp932_path);  // メモリ不足のため %s を書き込めません

}  // namespace junmaru::messages
