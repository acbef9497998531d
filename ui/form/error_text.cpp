#include "error_text.h"

#include "cp932.h"

namespace junmaru::form {

const std::string& AppTitle() { return Sjis("順位丸"); }

std::string ErrorDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

}  // namespace junmaru::form
