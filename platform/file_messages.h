#pragma once

// The messages of the file layer, in code page 932.

#include <string>

namespace junmaru::messages {

std::string CannotOpen(const std::string& cp932_path);    // ファイル %s は開けません
std::string CannotCreate(const std::string& cp932_path);  // ファイル %s を作成できません
const std::string& StreamWriteError();                    // ストリームへの書き込みエラー

}  // namespace junmaru::messages
