#pragma once

// Logs that the server's rotation compressed with gzip.

#include <cstdint>
#include <string>
#include <string_view>

#include "byte_buffer.h"

namespace junmaru {

// True when bytes begin with the gzip signature (1F 8B).
bool IsGzip(std::string_view bytes);

// Appends the text that gzip holds to out: the decompressed contents of
// every member (concatenated .gz files are read whole), up to its first
// NUL byte, which ends the text; nothing after it is decompressed. The
// room is sized from the last member's length field when that is
// plausible and grows as needed, so members of any size and counts past
// 4 GB are taken in, but out never grows beyond limit bytes in all. Fails
// with the damaged-gzip message naming path for a broken, truncated or
// trailing-junk file, and with the out-of-memory message naming path when
// the text would pass limit or the room cannot be had; out then holds what
// was decompressed so far.
void InflateGzip(std::string_view gzip, const std::string& path, ByteBuffer& out, std::size_t limit = SIZE_MAX);

}  // namespace junmaru
