#include "file_messages.h"

#include "code_page.h"

namespace junmaru::messages {

std::string CannotOpen(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" は開けません");
}

std::string CannotCreate(const std::string& cp932_path) {
  return Sjis("ファイル ") + cp932_path + Sjis(" を作成できません");
}

const std::string& StreamWriteError() { return Sjis("ストリームへの書き込みエラー"); }

}  // namespace junmaru::messages
