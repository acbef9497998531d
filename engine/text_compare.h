#pragma once

// The one text comparison of the program: it orders every sorted list and
// the ranking, and decides which paths are the same path.
//
// It works on code page 932 characters, never on raw bytes, so a trail
// byte is never case-folded. Letter case is ignored for ASCII, full-width
// Latin, Greek and Cyrillic letters and the Roman numerals; a character
// that the code page encodes twice (the NEC and IBM duplicates) is one
// character; everything else stays distinct. Digits ascend. It is a strict
// weak ordering, and FoldText and EqualText agree with it exactly.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace junmaru {

// Negative, zero or positive, as a is less than, equal to or greater than b.
int CompareText(std::string_view a, std::string_view b);

// True exactly when CompareText(a, b) == 0; faster when a and b are equal bytes.
bool EqualText(std::string_view a, std::string_view b);

// A key that is byte-equal for two texts exactly when they compare equal,
// and whose byte order is the comparison's order (bytes compared unsigned,
// a key that is a prefix of another first). Each character becomes one
// byte when its weight is below 0x80 (the ASCII characters) and three
// bytes otherwise, so the key is never longer than 3 * s.size() bytes.
std::string FoldText(std::string_view s);
// The same key written to out, which has room for 3 * s.size() bytes;
// returns the key's length. For callers that fold many texts.
std::size_t FoldKey(std::string_view s, char* out);
// The key of the characters of s that begin in [from, to), from being where
// a character begins, written to out (room for 3 * (to - from) bytes);
// returns its length and sets *end to where the next character begins (to,
// or to + 1 when the last one is a byte pair). Folding a text piece after
// piece this way, each from the last one's end, gives FoldKey's key.
std::size_t FoldKeyPart(std::string_view s, std::size_t from, std::size_t to, char* out, std::size_t* end);


// Collation weight of each character, for those who need to walk a text
// character by character (the weight is the folded Unicode code point, or a
// value above 0x10FFFF for bytes that form no character).
std::uint32_t CharWeight(std::string_view s, std::size_t i, std::size_t* length);

}  // namespace junmaru
