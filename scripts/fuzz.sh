#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for the given number of seconds
# (default 10) on a copy of its seed corpus. Findings land in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
scripts/install-deps.sh
for p in clang-14 libclang-rt-14-dev; do
  dpkg -s "$p" >/dev/null 2>&1 || { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y "$p"; }
done
build=build-fuzz
flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DJUNMARU_WITH_WINDOW=OFF -DJUNMARU_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags"
targets=(request_filter_fuzz log_timestamp_fuzz line_split_fuzz text_compare_fuzz profile_file_fuzz report_page_fuzz
         link_target_fuzz batch_options_fuzz gzip_inflate_fuzz period_parse_fuzz counting_rules_fuzz)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
  echo "== $t for ${seconds}s"
  (cd "$build" && ASAN_OPTIONS=detect_leaks=1 "./$t" -max_total_time="$seconds" -max_len=4096 \
     -print_final_stats=1 "corpus/$t" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true)
  # libFuzzer leaves crash-* files on a finding.
  findings=("$build"/crash-* "$build"/leak-* "$build"/timeout-* "$build"/oom-*)
  for f in "${findings[@]}"; do
    if [ -e "$f" ]; then echo "fuzz finding in $t: $f"; exit 1; fi
  done
done
