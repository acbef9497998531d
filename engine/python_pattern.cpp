#include "python_pattern.h"

#include <bitset>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace junmaru {
namespace {

using ByteSet = std::bitset<256>;

ByteSet Range(unsigned first, unsigned last) {
  ByteSet set;
  for (unsigned b = first; b <= last; ++b) set.set(b);
  return set;
}

// Python's classes over the characters U+0000 to U+00FF (str patterns).
ByteSet DigitSet() { return Range('0', '9'); }
ByteSet SpaceSet() { return Range(0x09, 0x0D) | Range(0x1C, 0x20) | Range(0x85, 0x85) | Range(0xA0, 0xA0); }
ByteSet WordSet() {
  return Range('0', '9') | Range('A', 'Z') | Range('_', '_') | Range('a', 'z') | Range(0xAA, 0xAA) |
         Range(0xB2, 0xB3) | Range(0xB5, 0xB5) | Range(0xB9, 0xBA) | Range(0xBC, 0xBE) | Range(0xC0, 0xD6) |
         Range(0xD8, 0xF6) | Range(0xF8, 0xFF);
}

// The class an escape letter names (d, D, s, S, w, W), if it names one.
std::optional<ByteSet> ClassEscape(char letter) {
  switch (letter) {
    case 'd': return DigitSet();
    case 'D': return ~DigitSet();
    case 's': return SpaceSet();
    case 'S': return ~SpaceSet();
    case 'w': return WordSet();
    case 'W': return ~WordSet();
    default: return std::nullopt;
  }
}

// The byte of a control-character escape (a, f, n, r, t, v).
std::optional<unsigned> ControlEscape(char letter) {
  switch (letter) {
    case 'a': return 0x07;
    case 'f': return 0x0C;
    case 'n': return 0x0A;
    case 'r': return 0x0D;
    case 't': return 0x09;
    case 'v': return 0x0B;
    default: return std::nullopt;
  }
}

bool IsAsciiAlnum(std::uint32_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int Hex(std::uint32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

std::string HexByte(unsigned b) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02x", b);
  return text;
}

// RE2 syntax for a set of bytes: an explicit class, which holds nothing
// RE2 could read otherwise.
std::string SetText(const ByteSet& set) {
  if (set.none()) return "[^\\x00-\\xff]";
  std::string text = "[";
  for (unsigned b = 0; b < 256;) {
    if (!set[b]) {
      ++b;
      continue;
    }
    unsigned last = b;
    while (last + 1 < 256 && set[last + 1]) ++last;
    text += HexByte(b);
    if (last > b) text += "-" + HexByte(last);
    b = last + 1;
  }
  return text + "]";
}

std::string LiteralText(unsigned b) { return IsAsciiAlnum(b) ? std::string(1, static_cast<char>(b)) : HexByte(b); }

class Translator {
 public:
  explicit Translator(std::string_view pattern) {
    // The pattern's characters; one beyond U+00FF can never match a byte.
    for (std::size_t i = 0; i < pattern.size();) {
      const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(pattern[k]); };
      std::uint32_t c = byte(i);
      std::size_t length = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
      if (length == 0 || i + length > pattern.size()) {
        valid_ = false;
        return;
      }
      if (length > 1) {
        c &= 0x7Fu >> length;
        for (std::size_t k = 1; k < length; ++k) {
          if ((byte(i + k) & 0xC0) != 0x80) {
            valid_ = false;
            return;
          }
          c = c << 6 | (byte(i + k) & 0x3F);
        }
      }
      chars_.push_back(c);
      i += length;
    }
  }

  std::optional<std::string> Translate() {
    if (!valid_) return std::nullopt;
    int depth = 0;
    bool repeatable = false;  // an item stands before: a repetition may follow
    while (at_ < chars_.size()) {
      const std::uint32_t c = chars_[at_++];
      if (c == '*' || c == '+' || c == '?' || (c == '{' && RepetitionAhead())) {
        if (!repeatable || !Repetition(c)) return std::nullopt;
        repeatable = false;
        continue;
      }
      repeatable = true;
      switch (c) {
        case '(':
          if (!GroupOpening()) return std::nullopt;
          ++depth;
          repeatable = false;
          break;
        case ')':
          if (--depth < 0) return std::nullopt;
          out_ += ")";
          break;
        case '|':
          out_ += "|";
          repeatable = false;
          break;
        case '^':
          out_ += "^";
          repeatable = false;
          break;
        case '$':
          out_ += "\\z";
          repeatable = false;
          break;
        case '.':
          out_ += SetText(~Range('\n', '\n'));
          break;
        case '[': {
          const std::optional<ByteSet> set = BracketClass();
          if (!set) return std::nullopt;
          out_ += SetText(*set);
          break;
        }
        case '\\': {
          if (at_ >= chars_.size()) return std::nullopt;
          const std::uint32_t e = chars_[at_++];
          if (e == 'A' || e == 'Z') {
            out_ += e == 'A' ? "\\A" : "\\z";
            repeatable = false;
          } else if (const std::optional<ByteSet> set = e < 0x80 ? ClassEscape(static_cast<char>(e)) : std::nullopt) {
            out_ += SetText(*set);
          } else if (const std::optional<unsigned> b = EscapedByte(e)) {
            out_ += LiteralText(*b);
          } else {
            return std::nullopt;
          }
          break;
        }
        default:
          if (c > 0xFF) return std::nullopt;
          out_ += LiteralText(c);
      }
    }
    if (depth != 0) return std::nullopt;
    return out_;
  }

 private:
  std::uint32_t Peek(std::size_t ahead = 0) const { return at_ + ahead < chars_.size() ? chars_[at_ + ahead] : 0; }

  // After "(": a group that captures (written as one that does not) or
  // not, or a named one; every other kind is refused.
  bool GroupOpening() {
    if (Peek() != '?') {
      out_ += "(?:";
      return true;
    }
    if (Peek(1) == ':') {
      at_ += 2;
      out_ += "(?:";
      return true;
    }
    if (Peek(1) == 'P' && Peek(2) == '<') {
      at_ += 3;
      std::size_t letters = 0;
      for (; at_ < chars_.size() && chars_[at_] != '>'; ++at_, ++letters)
        if (!IsAsciiAlnum(chars_[at_]) && chars_[at_] != '_') return false;
      if (at_ >= chars_.size() || letters == 0) return false;
      ++at_;
      out_ += "(?:";
      return true;
    }
    return false;
  }

  // The byte an escape of a single character stands for, outside or
  // inside a class: a control character, \xHH, or a character that is no
  // letter or digit standing for itself. None for the others.
  std::optional<unsigned> EscapedByte(std::uint32_t e) {
    if (e < 0x80 && ControlEscape(static_cast<char>(e))) return ControlEscape(static_cast<char>(e));
    if (e == 'x') {
      const int high = Hex(Peek()), low = Hex(Peek(1));
      if (high < 0 || low < 0) return std::nullopt;
      at_ += 2;
      return static_cast<unsigned>(high * 16 + low);
    }
    if (IsAsciiAlnum(e) || e > 0xFF) return std::nullopt;
    return e;
  }

  // After "{": whether a repetition follows, as Python decides: digits,
  // optionally a comma and digits, then "}", but not "{}".
  bool RepetitionAhead() const {
    std::size_t k = at_;
    if (k < chars_.size() && chars_[k] == '}') return false;
    while (k < chars_.size() && chars_[k] >= '0' && chars_[k] <= '9') ++k;
    if (k < chars_.size() && chars_[k] == ',') {
      ++k;
      while (k < chars_.size() && chars_[k] >= '0' && chars_[k] <= '9') ++k;
    }
    return k < chars_.size() && chars_[k] == '}';
  }

  // A repetition that c began; a lazy "?" may follow, a possessive "+" may not.
  bool Repetition(std::uint32_t c) {
    if (c == '{') {
      std::string low, high;
      while (Peek() >= '0' && Peek() <= '9') low += static_cast<char>(chars_[at_++]);
      bool bounded = true;
      if (Peek() == ',') {
        ++at_;
        bounded = false;
        while (Peek() >= '0' && Peek() <= '9') high += static_cast<char>(chars_[at_++]);
      }
      ++at_;  // "}"
      if (bounded) high = low;
      const std::string minimum = low.empty() ? "0" : low;
      if (!low.empty() && !high.empty() && (low.size() > 9 || high.size() > 9 || std::stol(low) > std::stol(high)))
        return false;
      out_ += "{" + minimum + (bounded ? "" : ",") + (bounded ? "" : high) + "}";
    } else {
      out_ += static_cast<char>(c);
    }
    if (Peek() == '+') return false;
    if (Peek() == '?') {
      ++at_;
      out_ += "?";
    }
    return true;
  }

  // After "[": the bytes of the class, up to its "]".
  std::optional<ByteSet> BracketClass() {
    const bool negated = Peek() == '^';
    if (negated) ++at_;
    ByteSet set;
    bool first = true;
    for (;;) {
      if (at_ >= chars_.size()) return std::nullopt;
      if (chars_[at_] == ']' && !first) {
        ++at_;
        break;
      }
      first = false;
      const std::optional<ClassItem> low = Item();
      if (!low) return std::nullopt;
      if (Peek() == '-' && at_ + 1 < chars_.size() && chars_[at_ + 1] != ']') {
        ++at_;
        const std::optional<ClassItem> high = Item();
        if (!high || low->set || high->set || low->byte > high->byte) return std::nullopt;
        set |= Range(low->byte, high->byte);
      } else {
        set |= low->set ? *low->set : Range(low->byte, low->byte);
      }
    }
    return negated ? ~set : set;
  }

  // One member of a class: a byte, or a class escape's set.
  struct ClassItem {
    unsigned byte = 0;
    std::optional<ByteSet> set;
  };
  std::optional<ClassItem> Item() {
    const std::uint32_t c = chars_[at_++];
    if (c != '\\') {
      if (c > 0xFF) return std::nullopt;
      return ClassItem{c, std::nullopt};
    }
    if (at_ >= chars_.size()) return std::nullopt;
    const std::uint32_t e = chars_[at_++];
    if (e < 0x80)
      if (std::optional<ByteSet> set = ClassEscape(static_cast<char>(e))) return ClassItem{0, set};
    if (e == 'b') return ClassItem{0x08, std::nullopt};  // a backspace, in a class
    if (const std::optional<unsigned> b = EscapedByte(e)) return ClassItem{*b, std::nullopt};
    return std::nullopt;
  }

  std::vector<std::uint32_t> chars_;
  std::size_t at_ = 0;
  bool valid_ = true;
  std::string out_;
};

}  // namespace

std::optional<std::string> Re2FromPython(std::string_view python_pattern) {
  return Translator(python_pattern).Translate();
}

}  // namespace junmaru
