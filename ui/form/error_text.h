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

// The error display's text for the exception being handled; call it only
// inside a catch block. The program's own errors carry their code page 932
// message; a library's message is ASCII or UTF-8 and is converted; a lack
// of memory and an unknown exception get messages of their own.
std::string CurrentErrorDisplayText();

}  // namespace junmaru::form
