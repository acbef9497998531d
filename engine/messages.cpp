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
const std::string& LogFileMissing() { return Sjis("エラー　読み込みファイルが選択先に存在しません"); }

std::string PageIsTheLog(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" は読み込んだログなので出力先にできません");
}

std::string OutOfMemoryReading(const std::string& cp932_path) {
  return Sjis("メモリ不足のため ") + cp932_path + Sjis(" を読み込めません");
}

std::string OutOfMemoryWriting(const std::string& cp932_path) {
  return Sjis("メモリ不足のため ") + cp932_path + Sjis(" を書き込めません");
}

}  // namespace junmaru::messages
