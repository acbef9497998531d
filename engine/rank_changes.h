#pragma once

// Where the files of a ranking stood in the previous period's ranking.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "download_tally.h"

namespace junmaru {

// For each of the first shown places of the ranking current (a tally in
// ranking order), its competition rank in the whole ranking previous (the
// previous period's tally, in ranking order), 0 where previous did not
// count it. A file is the same file in both where its paths compare equal
// as the tally compares them.
std::vector<std::int64_t> PreviousRanks(const DownloadTally& current, std::size_t shown,
                                        const DownloadTally& previous);

}  // namespace junmaru
