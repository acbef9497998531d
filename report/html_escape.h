#pragma once

#include <string>
#include <string_view>

namespace junmaru {

// Text from the log made safe to place in the page, in element content and
// in double-quoted attribute values alike: & < > " ' become &amp; &lt;
// &gt; &quot; &#39;, and every other byte is kept. The five characters are
// all below 0x40, so none of them can be the second byte of a double-byte
// character, and the bytes can be escaped one by one.
std::string EscapeHtml(std::string_view text);

}  // namespace junmaru
