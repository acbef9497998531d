#include "error_text.h"

#include <new>
#include <stdexcept>

#include "cp932.h"
#include "error.h"

namespace junmaru::form {

const std::string& AppTitle() { return Sjis("順位丸"); }

std::string ErrorDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

std::string CurrentErrorDisplayText() {
  std::string message;
  try {
    throw;
  } catch (const junmaru::Error& error) {
    message = error.what();  // already code page 932
  } catch (const std::bad_alloc&) {
    message = Sjis("メモリが不足しています");
  } catch (const std::exception& error) {
    message = Utf8ToCp932(error.what());
  } catch (...) {
    message = Sjis("不明なエラーが発生しました");
  }
  return ErrorDisplayText(message);
}

}  // namespace junmaru::form
