#include "messages.h"

#include "cp932.h"

namespace junmaru::messages {

std::string ListIndexOutOfRange(long long index) {
  return Sjis("リストのインデックスが範囲を超えています (") + std::to_string(index) + ")";
}

const std::string& SortedListRefused() { return Sjis("ソートされる文字列リストに対しては許されない動作です"); }

const std::string& StatusScanning() { return Sjis("ログ整理中..."); }
const std::string& StatusTallying() { return Sjis("データ集計中..."); }
const std::string& StatusWritingHtml() { return Sjis("HTMLファイルに出力中..."); }
const std::string& LogFormatError() { return Sjis("エラー　ログファイルの形式がおかしいです"); }
const std::string& LogFileMissing() { return Sjis("エラー　読み込みファイルが選択先に存在しません"); }

}  // namespace junmaru::messages
