#include "code_page.h"

#include <iconv.h>

#include <cerrno>
#include <optional>
#include <stdexcept>

namespace junmaru {
namespace {

std::string Convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out;
  out.resize(in.size() * 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  while (src_left > 0) {
    if (iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = static_cast<size_t>(dst - out.data());
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dst_left = out.size() - used;
      continue;
    }
    // EILSEQ or EINVAL: put "?" for the offending byte and go on after it.
    if (dst_left == 0) {
      size_t used = static_cast<size_t>(dst - out.data());
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dst_left = out.size() - used;
    }
    *dst++ = '?';
    --dst_left;
    ++src;
    --src_left;
  }
  out.resize(static_cast<size_t>(dst - out.data()));
  iconv_close(cd);
  return out;
}

// The whole text converted, or nothing when any byte of it does not convert.
std::optional<std::string> ConvertExactly(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out(in.size() * 4 + 16, '\0');  // room for UTF-8 from code page 932, and for UTF-32
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  const bool whole = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<size_t>(-1) &&
                     iconv(cd, nullptr, nullptr, &dst, &dst_left) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!whole) return std::nullopt;
  out.resize(static_cast<size_t>(dst - out.data()));
  return out;
}

bool IsUtf8(std::string_view text) { return ConvertExactly("UTF-32LE", "UTF-8", text).has_value(); }

}  // namespace

std::string StoredPath(const std::string& native_path) {
  const std::optional<std::string> cp932 = ConvertExactly("CP932", "UTF-8", native_path);
  // Stored converted only when reading it back gives the same name: a
  // character the code page holds under another code (such as the wave
  // dash) would come back as another name, and a converted name that is
  // valid UTF-8 as well would be read as UTF-8.
  if (cp932 && NativePath(*cp932) == native_path) return *cp932;
  return native_path;
}

std::string NativePath(const std::string& stored_path) {
  if (IsUtf8(stored_path)) return stored_path;
  return ConvertExactly("UTF-8", "CP932", stored_path).value_or(stored_path);
}

std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

std::string Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932); }

}  // namespace junmaru
