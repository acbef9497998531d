#pragma once

#include <string>

namespace junmaru::form {

// The program's title, caption of every message box (code page 932).
const std::string& AppTitle();

// The text the error display shows for an error message (code page 932):
// the message, with a full stop appended when its last byte sorts after
// "." in byte order. A message ending in ")" or "!" gets none; one ending
// in a double-byte character gets one, since every byte of such a
// character is above ".".
std::string ErrorDisplayText(const std::string& message);

}  // namespace junmaru::form
