// The fields the counting rules read from a line, the status list, and the
// Decode rule's path.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "client_identity.h"
#include "cp932.h"
#include "log_fields.h"
#include "path_decode.h"
#include "status_list.h"

namespace junmaru {
namespace {

const std::string kHead = "192.0.2.1 - - [10/Oct/2024:13:55:36 +0900] ";

TEST(LogFields, AnyHttpReadsTheRequestFieldWhateverItsVersion) {
  struct Case {
    const char* name;
    std::string line;
    std::optional<std::string> path;
  };
  const Case cases[] = {
      {"http_1_1", kHead + "\"GET /a.zip HTTP/1.1\" 200 1", "/a.zip"},
      {"http_2_0", kHead + "\"GET /a.zip HTTP/2.0\" 200 1", "/a.zip"},
      {"http_2", kHead + "\"GET /a.zip HTTP/2\" 200 1", "/a.zip"},
      {"http_3", kHead + "\"GET /a.zip HTTP/3\" 200 1", "/a.zip"},
      {"space_inside_the_path", kHead + "\"GET /a b.zip HTTP/2\" 200 1", "/a b.zip"},
      {"empty_path", kHead + "\"GET  HTTP/2\" 200 1", ""},
      {"two_dots", kHead + "\"GET /a.zip HTTP/2.0.1\" 200 1", std::nullopt},
      {"no_version", kHead + "\"GET /a.zip HTTP/\" 200 1", std::nullopt},
      {"letters_in_version", kHead + "\"GET /a.zip HTTP/2a\" 200 1", std::nullopt},
      {"no_protocol", kHead + "\"GET /a.zip\" 200 1", std::nullopt},
      {"lower_case_protocol", kHead + "\"GET /a.zip http/2\" 200 1", std::nullopt},
      {"head_request", kHead + "\"HEAD /a.zip HTTP/2\" 200 1", std::nullopt},
      {"no_closing_quote", kHead + "\"GET /a.zip HTTP/2", std::nullopt},
      {"get_without_space", kHead + "\"GET/a.zip HTTP/2\" 200 1", std::nullopt},
      // Only the first "GET starts the field, wherever it stands.
      {"first_get_decides", kHead + "\"GET /a.zip\" 200 1 \"-\" \"GET /b.zip HTTP/1.1\"", std::nullopt},
      {"marker_in_agent_does_not_matter", kHead + "\"GET /a.zip HTTP/3\" 200 1 \"-\" \"x HTTP/1.1\"", "/a.zip"},
  };
  for (const Case& c : cases) {
    const std::optional<RequestField> request = AnyHttpRequest(c.line);
    ASSERT_EQ(request.has_value(), c.path.has_value()) << c.name;
    if (!request) continue;
    EXPECT_EQ(request->path, *c.path) << c.name;
    EXPECT_EQ(c.line[request->closing_quote], '"') << c.name;
    EXPECT_EQ(StatusAfter(c.line, request->closing_quote), 200) << c.name;
  }
}

TEST(LogFields, StatusIsTheThreeDigitsAfterTheRequestField) {
  const std::string request = kHead + "\"GET /a.zip HTTP/1.1\"";
  const std::size_t quote = request.size() - 1;
  struct Case {
    const char* rest;
    int status;
  };
  const Case cases[] = {{" 200 1", 200}, {" 206 1", 206}, {" 304 -", 304}, {" 404", 404},
                        {" - 1", -1},    {"  200 1", -1}, {" 20", -1},     {"", -1}, {" 2x0 1", -1}};
  for (const Case& c : cases) EXPECT_EQ(StatusAfter(request + c.rest, quote), c.status) << c.rest;
  // Today's rule ends the field at its marker's quote.
  const std::string line = request + " 206 1";
  EXPECT_EQ(MarkerQuote(line, std::string_view(line).substr(line.find("/a.zip"), 6)), quote);
}

TEST(LogFields, TheUserAgentIsTheLastOfAtLeastThreeQuotedFields) {
  struct Case {
    const char* name;
    std::string rest;  // after the request field
    std::optional<std::string> agent;
    bool told_after_the_request;  // whether UserAgentAfter tells it (no backslash before a quote)
  };
  const Case cases[] = {
      {"combined", " 200 1 \"-\" \"Mozilla/5.0\"", "Mozilla/5.0", true},
      {"empty_agent", " 200 1 \"-\" \"\"", "", true},
      {"common_format", " 200 1", std::nullopt, true},
      {"only_a_referrer", " 200 1 \"-\"", std::nullopt, true},
      {"more_fields_after", " 200 1 \"-\" \"Mozilla\" \"x-forwarded\"", "x-forwarded", true},
      {"long_agent", " 200 1 \"-\" \"" + std::string(150, 'm') + "\"", std::string(150, 'm'), true},
      {"escaped_quotes", " 200 1 \"-\" \"a \\\"b\\\" c\"", "a \\\"b\\\" c", false},
      {"escaped_backslash_before_the_end", " 200 1 \"-\" \"a\\\\\"", "a\\\\", false},
      {"left_open", " 200 1 \"-\" \"Mozilla", std::nullopt, true},
      {"left_open_after_the_agent", " 200 1 \"-\" \"Mozilla\" \"x", "Mozilla", true},
  };
  for (const Case& c : cases) {
    const std::string line = kHead + "\"GET /a.zip HTTP/1.1\"" + c.rest;
    EXPECT_EQ(UserAgent(line), c.agent) << c.name;
    const std::size_t first = line.find('"'), second = line.find('"', first + 1);
    std::optional<std::string_view> after = "unchanged";
    EXPECT_EQ(UserAgentAfter(line, first, second, after), c.told_after_the_request) << c.name;
    if (c.told_after_the_request) {
      EXPECT_EQ(after, c.agent) << c.name;
    }
  }
  EXPECT_EQ(ClientAddress(kHead), "192.0.2.1");
  EXPECT_EQ(ClientAddress("no-space"), "no-space");
}

TEST(ClientIdentity, EqualClientsAreEqualAddressTexts) {
  // Canonical dotted IPv4 addresses become their numbers, any other text
  // a number of its own: no two texts may meet.
  const std::vector<std::string> addresses = {
      "1.2.3.4",   "01.2.3.4",  "1.2.3.04",  "1.2.3.4 ",        "256.1.1.1",   "1.2.3",   "1.2.3.4.5",
      "0.0.0.0",   "0.0.0.00",  "255.255.255.255", "255.255.255.256", "1..2.3",  "::1",     "1.2.3.4x",
      "1.2.3.",    ".1.2.3",    "1.2.3.255", "1.2.3.0",         "1.2.3.1000",  "1.2.3.-4", "192.168.100.200",
      "0.1.2.3",   "1.2.3.40",  "12.3.4.5",  "1.23.4.5",        "123.45.6.78", "",        "a.b.c.d"};
  ClientIds ids;
  std::vector<ClientKey> keys;
  for (const std::string& address : addresses) keys.push_back(ids.Of(address, 7));
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    EXPECT_EQ(ids.Of(addresses[i], 7), keys[i]) << addresses[i];
    for (std::size_t j = i + 1; j < addresses.size(); ++j)
      EXPECT_FALSE(keys[i] == keys[j]) << addresses[i] << " and " << addresses[j];
  }
  EXPECT_FALSE(ids.Of("1.2.3.4", 7) == ids.Of("1.2.3.4", 8));
}

TEST(ClientIdentity, UserAgentsAreNumberedByTheirWholeText) {
  // Agents alike in length and in their first and last eight bytes, and
  // short ones, met again and again in varied order.
  const std::vector<std::string> agents = {"Mozilla/5.0 (AAAA) Firefox/128.0", "Mozilla/5.0 (BBBB) Firefox/128.0",
                                           "Mozilla/5.0 (AAAB) Firefox/128.0", "curl", "wget", "", "Mozilla/5.0"};
  ClientIds ids;
  std::vector<std::uint32_t> numbers(agents.size(), 0);
  std::mt19937 rng(3);
  for (int i = 0; i < 2000; ++i) {
    const std::size_t k = std::uniform_int_distribution<std::size_t>(0, agents.size() - 1)(rng);
    bool added = false;
    const std::uint32_t number = ids.AgentOf(std::string_view(agents[k]), &added);
    EXPECT_EQ(added, numbers[k] == 0) << agents[k];
    if (numbers[k] == 0) numbers[k] = number;
    EXPECT_EQ(number, numbers[k]) << agents[k];
  }
  for (std::size_t a = 0; a < agents.size(); ++a)
    for (std::size_t b = a + 1; b < agents.size(); ++b) EXPECT_NE(numbers[a], numbers[b]) << agents[a] << " / " << agents[b];
  EXPECT_EQ(ids.AgentOf(std::nullopt), 0u);
}

// A canonical dotted IPv4 address read the plainest way, number by number.
std::optional<std::uint32_t> ReferenceIpv4(const std::string& text) {
  std::uint32_t value = 0;
  int numbers = 0;
  for (std::size_t at = 0;; ++numbers) {
    const std::size_t end = std::min(text.find('.', at), text.size());
    const std::string number = text.substr(at, end - at);
    if (number.empty() || number.size() > 3 || (number.size() > 1 && number[0] == '0')) return std::nullopt;
    if (number.find_first_not_of("0123456789") != std::string::npos || std::stoi(number) > 255) return std::nullopt;
    value = value << 8 | static_cast<std::uint32_t>(std::stoi(number));
    if (end == text.size()) break;
    at = end + 1;
  }
  if (numbers != 3) return std::nullopt;
  return value;
}

TEST(ClientIdentity, AddressesAreReadAsTheirNumbersOneByOne) {
  // Numbers, some not sound, between separators, mostly dots.
  const std::vector<std::string> numbers = {"0", "1", "9", "25", "199", "255", "256", "00", "07", "1000", "", "a", "\x80"};
  const std::vector<std::string> separators = {".", ".", ".", ".", ".", "..", " ", "/", ":"};
  const auto pick = [](std::mt19937& rng, const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
  };
  std::mt19937 rng(7);
  std::deque<std::string> texts;  // ClientIds keeps views of what it numbers
  ClientIds ids;
  for (int i = 0; i < 100000; ++i) {
    std::string& text = texts.emplace_back(pick(rng, numbers));
    const int n = std::uniform_int_distribution<int>(2, 5)(rng);
    for (int k = 1; k < n; ++k) text += pick(rng, separators) + pick(rng, numbers);
    const ClientKey key = ids.Of(text, 5);
    const std::optional<std::uint32_t> number = ReferenceIpv4(text);
    if (number) {
      EXPECT_EQ(key, (ClientKey{*number, 5})) << text;
    } else {
      EXPECT_EQ(key.agent, 5u | 0x80000000u) << text;
    }
    // Read where it lies in a line, with digits and dots after it.
    const std::string line = text + pick(rng, separators) + "1.2.3.4 - - 5678";
    EXPECT_EQ(CanonicalIpv4(std::string_view(line).substr(0, text.size()), line.size()), number) << text;
  }
}

TEST(StatusList, ReadsThreeDigitCodesSeparatedByCommas) {
  struct Case {
    const char* text;
    bool good;
    std::vector<int> held;
  };
  const Case cases[] = {
      {"200,206", true, {200, 206}}, {" 200 , 206 ", true, {200, 206}}, {"304", true, {304}},
      {"", true, {}},                {"  ", true, {}},                  {"200,", false, {}},
      {"20", false, {}},             {"2000", false, {}},               {"200;206", false, {}},
      {"2xx", false, {}},            {",200", false, {}},               {"200 206", false, {}},
  };
  for (const Case& c : cases) {
    const std::optional<StatusList> list = StatusList::Parse(c.text);
    ASSERT_EQ(list.has_value(), c.good) << c.text;
    if (!list) continue;
    EXPECT_EQ(list->Empty(), c.held.empty()) << c.text;
    for (int status : {200, 206, 304, 404}) {
      const bool held = std::find(c.held.begin(), c.held.end(), status) != c.held.end();
      EXPECT_EQ(list->Holds(status), held) << c.text << " " << status;
    }
  }
  EXPECT_EQ(StatusList::Parse(" 200 , 206 ")->Text(), "200 , 206");
  EXPECT_EQ(*StatusList::Parse("206,200"), *StatusList::Parse("200,206"));
}

TEST(PathDecode, DecodesEscapesAndUtf8IntoCodePage932) {
  struct Case {
    const char* name;
    std::string path;
    std::string decoded;  // code page 932 bytes
  };
  const Case cases[] = {
      {"plain", "/dl/a.zip", "/dl/a.zip"},
      {"utf8_japanese", "/dl/%E6%97%A5%E6%9C%AC.zip", Sjis("/dl/日本.zip")},
      {"lower_case_hex", "/dl/%e6%97%a5%e6%9c%ac.zip", Sjis("/dl/日本.zip")},
      {"shift_jis_escapes_stay_bytes", "/dl/%93%FA%96%7B.zip", Sjis("/dl/日本.zip")},
      {"raw_utf8", "/dl/\xE6\x97\xA5.zip", Sjis("/dl/日.zip")},
      {"half_width_katakana", "/%EF%BD%B1.zip", "/\xB1.zip"},
      {"space_and_slash", "/a%20b%2Fc.zip", "/a b/c.zip"},
      {"nec_row_13_before_ibm", "/%E2%85%A0.zip", "/\x87\x54.zip"},            // Ⅰ
      {"ibm_before_nec_selected_ibm", "/%E7%BA%8A.zip", "/\xFA\x5C.zip"},      // 纊
      {"jis_before_nec_row_13", "/%E2%88%9A.zip", "/\x81\xE3.zip"},           // √
      {"no_code_page_form_stays_utf8", "/%C3%A9.zip", "/\xC3\xA9.zip"},        // é
      {"beyond_the_plane_stays_utf8", "/%F0%9F%98%80.zip", "/\xF0\x9F\x98\x80.zip"},
      {"control_bytes_stay_escaped", "/a%00b%1F%7F.zip", "/a%00b%1F%7F.zip"},
      {"lone_percent", "/100%.zip", "/100%.zip"},
      {"not_hex", "/%G1.zip", "/%G1.zip"},
      {"one_digit_at_the_end", "/a.zip%0", "/a.zip%0"},
      {"overlong_slash", "/%C0%AF.zip", "/\xC0\xAF.zip"},
      {"lone_surrogate", "/%ED%A0%80.zip", "/\xED\xA0\x80.zip"},
      {"cut_utf8", "/%E6%97.zip", "/\xE6\x97.zip"},
      {"query_is_not_cut_here", "/a.zip?x=%41", "/a.zip?x=A"},
      {"raw_shift_jis_stays", "/dl/\x93\xFA\x96\x7B.zip", "/dl/\x93\xFA\x96\x7B.zip"},
      // Sixteen bytes and more are looked at sixteen at a time, the last
      // ones in a block of their own.
      {"long_plain", "/archive/2026/december/a.zip", "/archive/2026/december/a.zip"},
      {"long_escape_at_the_end", "/archive/2026/december/a.zip%41", "/archive/2026/december/a.zipA"},
      {"long_shift_jis_at_the_end", "/archive/2026/december/\x93\xFA", "/archive/2026/december/\x93\xFA"},
      {"long_utf8_at_the_end", "/archive/2026/december/\xE6\x97\xA5", Sjis("/archive/2026/december/日")},
  };
  for (const Case& c : cases) {
    std::string out;
    const std::string_view decoded = DecodePath(c.path, out);
    EXPECT_EQ(std::string(decoded), c.decoded) << c.name;
    EXPECT_LE(decoded.size(), c.path.size()) << c.name;
    if (c.decoded == c.path) {
      EXPECT_EQ(decoded.data(), c.path.data()) << c.name;
    }
  }
  EXPECT_EQ(WithoutQuery("/a.zip?x=1?y"), "/a.zip");
  EXPECT_EQ(WithoutQuery("/a.zip"), "/a.zip");
}

TEST(PathDecode, EveryCodePointOfTheCodePageGoesBackToACodeOfTheSameCharacter) {
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const std::uint32_t u = DoubleByteCodePoint(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (u == kNoCodePoint) continue;
      const std::uint16_t code = Cp932OfCodePoint(u);
      ASSERT_NE(code, kNoCp932) << std::hex << lead << trail;
      const std::uint32_t back = code > 0xFF ? DoubleByteCodePoint(static_cast<unsigned char>(code >> 8),
                                                                   static_cast<unsigned char>(code & 0xFF))
                                             : SingleByteCodePoint(static_cast<unsigned char>(code));
      ASSERT_EQ(back, u) << std::hex << lead << trail;
    }
  EXPECT_EQ(Cp932OfCodePoint(0xE9), kNoCp932);   // é: no best fit
  EXPECT_EQ(Cp932OfCodePoint(0xA5), kNoCp932);   // ¥: no best fit to the backslash
  EXPECT_EQ(Cp932OfCodePoint(0x1F600), kNoCp932);
}

}  // namespace
}  // namespace junmaru
