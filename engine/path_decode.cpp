#include "path_decode.h"

#include <cstdint>

#include "cp932.h"
#include "simd_bytes.h"

namespace junmaru {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsControl(unsigned byte) { return byte < 0x20 || byte == 0x7F; }

bool AllAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The code point of the UTF-8 character at text[i], and its length; none
// (length 0) for a byte that starts no valid character.
struct Utf8Char {
  std::uint32_t code_point = 0;
  std::size_t length = 0;
};
Utf8Char ReadUtf8(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned first = byte(i);
  if (first < 0x80) return {first, 1};
  std::size_t length;
  std::uint32_t lowest;  // the least code point of this length: anything below is an overlong form
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2, lowest = 0x80;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3, lowest = 0x800;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4, lowest = 0x10000;
  } else {
    return {};
  }
  if (i + length > text.size()) return {};
  std::uint32_t code_point = first & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {};
    code_point = code_point << 6 | (byte(i + k) & 0x3F);
  }
  if (code_point < lowest || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) return {};
  return {code_point, length};
}

// The path with its escapes turned into their bytes, but for those of a
// control byte and a "%" that starts no escape, which stay as written.
void Unescape(std::string_view path, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '%' && i + 2 < path.size() && HexDigit(path[i + 1]) >= 0 && HexDigit(path[i + 2]) >= 0) {
      const unsigned byte = static_cast<unsigned>(HexDigit(path[i + 1]) * 16 + HexDigit(path[i + 2]));
      if (!IsControl(byte)) {
        out += static_cast<char>(byte);
        i += 2;
        continue;
      }
    }
    out += path[i];
  }
}

// Whether bytes are valid UTF-8 whose every character has a code page 932 form.
bool HasCp932Form(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    // ASCII is its own code page 932 form: most of a path is, and a
    // Shift_JIS name fails at its first byte beyond it.
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8(bytes, i);
    if (c.length == 0 || Cp932OfCodePoint(c.code_point) == kNoCp932) return false;
    i += c.length;
  }
  return true;
}

// Turns bytes for which HasCp932Form holds into their code page 932
// text, in place. A character's form never takes more bytes than its
// UTF-8 does, so the text written never overtakes the bytes still to be read.
void Utf8ToCp932InPlace(std::string& bytes) {
  std::size_t written = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const Utf8Char c = ReadUtf8(bytes, i);
    const std::uint16_t code = Cp932OfCodePoint(c.code_point);
    if (code > 0xFF) bytes[written++] = static_cast<char>(code >> 8);
    bytes[written++] = static_cast<char>(code & 0xFF);
    i += c.length;
  }
  bytes.resize(written);
}

// Whether the path holds an escape or a byte outside ASCII, the only
// paths that decoding changes. Every path is asked, so the bytes are
// looked at sixteen at a time, without stopping early.
bool MayChange(std::string_view path) {
#if defined(__SSE2__)
  if (path.size() >= 16) {
    // The top bit of each byte: a "%", or a byte from 0x80 on.
    const auto hits = [](__m128i v) { return _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('%')), v); };
    const auto at = [&](std::size_t i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(path.data() + i)); };
    __m128i any = hits(at(path.size() - 16));
    for (std::size_t i = 0; i + 16 <= path.size(); i += 16) any = _mm_or_si128(any, hits(at(i)));
    return _mm_movemask_epi8(any) != 0;
  }
#endif
  unsigned found = 0;
  for (const char c : path) found |= static_cast<unsigned>(c == '%') | static_cast<unsigned char>(c) >> 7;
  return found != 0;
}

}  // namespace

std::string_view WithoutQuery(std::string_view path) { return path.substr(0, path.find('?')); }

std::string_view DecodePath(std::string_view path, std::string& out) {
  if (!MayChange(path)) return path;
  if (path.find('%') == std::string_view::npos) {
    // Nothing to unescape: only a UTF-8 name changes, into code page 932.
    // A Shift_JIS name, the common case, is told apart without a copy.
    if (!HasCp932Form(path)) return path;
    out.assign(path);
  } else {
    Unescape(path, out);
    if (AllAscii(out) || !HasCp932Form(out)) return out == path ? path : std::string_view(out);
  }
  Utf8ToCp932InPlace(out);
  if (out == path) return path;
  return out;
}

}  // namespace junmaru
