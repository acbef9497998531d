#pragma once

// Logs that the server's rotation compressed with gzip.

#include <string>
#include <string_view>

#include "byte_buffer.h"

namespace junmaru {

// True when bytes begin with the gzip signature (1F 8B).
bool IsGzip(std::string_view bytes);

// Appends the decompressed contents of every member of gzip (concatenated
// .gz files are read whole) to out. The room is sized from the last
// member's length field when that is plausible and grows as needed, so
// members of any size and counts past 4 GB are taken in. Fails with the
// damaged-gzip message naming path for a broken, truncated or trailing-
// junk file, and with the out-of-memory message naming path when the room cannot be had;
// out then holds what was decompressed so far.
void InflateGzip(std::string_view gzip, const std::string& path, ByteBuffer& out);

}  // namespace junmaru
