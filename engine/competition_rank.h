#pragma once

#include <cstdint>

namespace junmaru {

// Competition ranking, fed the places in order: a count equal to the
// previous place's repeats its rank (counts 9, 9, 7 rank 1, 1, 3). The
// first place is 1 whatever its count.
class CompetitionRank {
 public:
  // The rank of place j (0 is first), which has count.
  long long Next(long long j, std::int64_t count) {
    if (count != last_count_) rank_ = j + 1;
    last_count_ = count;
    return rank_;
  }

 private:
  std::int64_t last_count_ = 0;
  long long rank_ = 1;
};

}  // namespace junmaru
