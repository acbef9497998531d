#pragma once

// The Decode counting rule: a request path as the keeper names the file.
// Browsers send a Japanese file name percent-encoded in UTF-8
// (/dl/%E6%97%A5%E6%9C%AC.zip); decoded, it is the same file as one
// requested in code page 932, and it reads as its name on the page.

#include <string>
#include <string_view>

namespace junmaru {

// The path without its query string: everything before the first "?".
std::string_view WithoutQuery(std::string_view path);

// The path decoded: its percent-escapes (%XX, hexadecimal digits of either
// case) become their bytes, except those that would give a control byte
// (0x00 to 0x1F, 0x7F), which stay as written; a "%" that starts no escape
// stays too. When the decoded bytes are valid UTF-8 (no overlong form, no
// surrogate, nothing beyond U+10FFFF) and every character has a code page
// 932 form (Cp932OfCodePoint), the result is that code page 932 text;
// otherwise it is the decoded bytes as they are. Never longer than path.
// The query string is not cut here (see WithoutQuery). Returns path itself
// when decoding changes nothing, else a view of out, which it overwrites.
std::string_view DecodePath(std::string_view path, std::string& out);

}  // namespace junmaru
