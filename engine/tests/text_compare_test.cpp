#include "text_compare.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace junmaru {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

struct PairCase {
  const char* name;
  std::string a, b;
  bool equal;
};

TEST(TextCompare, WhichTextsAreEqual) {
  const PairCase cases[] = {
      {"ascii_case_ignored", "/dl/Tool.LZH", "/dl/tool.lzh", true},
      {"trail_bytes_never_folded_tsu_vs_i", "\x83\x63", "\x83\x43", false},
      {"trail_bytes_in_path", "/\x83\x63.zip", "/\x83\x43.zip", false},
      {"full_width_latin_case", "\x82\x60", "\x82\x81", true},      // Ａ ａ
      {"greek_case", "\x83\x9F", "\x83\xBF", true},                 // Α α
      {"cyrillic_case", "\x84\x40", "\x84\x70", true},              // А а
      {"cyrillic_yo_case", "\x84\x46", "\x84\x76", true},           // Ё ё
      {"roman_numeral_case", "\x87\x54", "\xFA\x40", true},         // Ⅰ ⅰ
      {"nec_ibm_duplicates", "\xED\x40", "\xFA\x5C", true},         // 纊 twice
      {"nec_and_ibm_roman_numeral", "\x87\x54", "\xFA\x4A", true},  // Ⅰ twice
      {"full_and_half_width_differ", "\x82\x60", "A", false},
      {"hiragana_and_katakana_differ", "\x82\xA0", "\x83\x41", false},
      {"half_width_katakana_differs", "\xB1", "\x83\x41", false},
      {"hyphen_matters", "/dl/my-tool.lzh", "/dl/mytool.lzh", false},
      {"prefix_is_not_equal", "/dl/a.zip", "/dl/a.zip.zip", false},
      {"invalid_bytes_compare_as_themselves", "\xFD", "\xFE", false},
      {"same_invalid_bytes", "a\xFD", "A\xFD", true},
      {"lone_lead_byte_at_end", "a\x83", "A\x83", true},
      {"lone_lead_byte_is_not_its_trail", "\x83", "\x83\x63", false},
      {"empty", "", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareText(c.a, c.b) == 0, c.equal) << c.name;
    EXPECT_EQ(EqualText(c.a, c.b), c.equal) << c.name;
    EXPECT_EQ(FoldText(c.a) == FoldText(c.b), c.equal) << c.name;
  }
}

// The fold key takes runs of eight ASCII bytes as eight characters at once;
// that is sound only while a character's weight fixes its byte length, and
// only ASCII weighs below 0x80.
TEST(TextCompare, EveryWeightBelongsToOneByteLength) {
  std::map<std::uint32_t, std::size_t> length_of;
  auto record = [&](const std::string& text) {
    std::size_t length;
    const std::uint32_t weight = CharWeight(text, 0, &length);
    auto [it, fresh] = length_of.emplace(weight, length);
    ASSERT_EQ(it->second, length) << "weight " << weight;
    if (weight < 0x80) {
      ASSERT_EQ(length, 1u);
    }
  };
  for (int b = 0; b < 256; ++b) record(std::string(1, static_cast<char>(b)));
  for (int lead = 0x81; lead <= 0xFC; ++lead)
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      record(std::string{static_cast<char>(lead), static_cast<char>(trail)});
}

TEST(TextCompare, FoldAgreesAcrossAsciiRunsAndDuplicates) {
  const std::string a = "/Downloads/VeryLongFileName\xED\x40Tail-of-the-PATH.zip";
  const std::string b = "/downloads/verylongfilename\xFA\x5Ctail-OF-THE-path.ZIP";
  ASSERT_EQ(CompareText(a, b), 0);
  EXPECT_EQ(FoldText(a), FoldText(b));
  EXPECT_NE(FoldText("@ABCDEFGH[]"), FoldText("`abcdefgh{}")) << "only A-Z fold";
}

TEST(TextCompare, OrdersDigitsAndPrefixes) {
  EXPECT_LT(CompareText("00003/a.zip", "00012/b.lzh"), 0);
  EXPECT_LT(CompareText("00003/a.zip", "00003/c.exe"), 0);
  EXPECT_LT(CompareText("09999", "10000"), 0);
  EXPECT_LT(CompareText("abc", "abcd"), 0) << "a prefix sorts first";
  EXPECT_GT(CompareText("b", "A"), 0) << "case is ignored for order too";
  for (char d = '0'; d < '9'; ++d) EXPECT_LT(CompareText(std::string(1, d), std::string(1, d + 1)), 0);
}

// Random texts drawn from characters that stress the comparison: letters of
// both cases in every script it folds, duplicates, trail bytes that look
// like ASCII letters, lone lead bytes and bytes that form no character.
std::string RandomText(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {
      "a", "A", "b", "B", "z", "0", "1", "9", "/", ".", "-", "_", " ",
      "\x83\x63", "\x83\x43", "\x83\x64", "\x82\x60", "\x82\x81", "\x83\x9F", "\x83\xBF", "\x84\x40", "\x84\x70",
      "\x87\x54", "\xFA\x40", "\xFA\x4A", "\xED\x40", "\xFA\x5C", "\x82\xA0", "\x83\x41", "\xB1", "\x81\x60",
      "\xFD", "\x80", "\xA0", "\x85\x40", "\x83",
  };
  std::uniform_int_distribution<std::size_t> length(0, 5);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::string s;
  for (std::size_t n = length(rng); n > 0; --n) s += pieces[pick(rng)];
  return s;
}

TEST(TextCompare, IsAStrictWeakOrderingConsistentWithFold) {
  std::mt19937 rng(20261207);
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) texts.push_back(RandomText(rng));
  for (const auto& a : texts) {
    ASSERT_EQ(CompareText(a, a), 0) << "irreflexive";
    for (const auto& b : texts) {
      const int ab = Sign(CompareText(a, b));
      ASSERT_EQ(ab, -Sign(CompareText(b, a))) << "antisymmetric";
      ASSERT_EQ(ab, Sign(FoldText(a).compare(FoldText(b)))) << "fold order agrees";
    }
  }
  // Transitivity of both "less" and "equal" over sampled triples.
  std::uniform_int_distribution<std::size_t> pick(0, texts.size() - 1);
  for (int i = 0; i < 200000; ++i) {
    const auto& a = texts[pick(rng)];
    const auto& b = texts[pick(rng)];
    const auto& c = texts[pick(rng)];
    const int ab = Sign(CompareText(a, b)), bc = Sign(CompareText(b, c)), ac = Sign(CompareText(a, c));
    if (ab <= 0 && bc <= 0) {
      ASSERT_LE(ac, 0) << "less-or-equal is transitive";
    }
    if (ab == 0 && bc == 0) {
      ASSERT_EQ(ac, 0) << "equality is transitive";
    }
    if (ab < 0 && bc <= 0) {
      ASSERT_LT(ac, 0) << "less is transitive";
    }
  }
}

}  // namespace
}  // namespace junmaru
