#!/usr/bin/env bash
# Load speed and peak memory of a gzip-compressed log beside the plain log:
# log_load_bench loads each (read, decompressed when gzip, split into
# lines) under /usr/bin/time -v, a few rounds, and prints one table row each.
#
#   bench/gzip_load.sh [LOG]     # default: bench/out/access-2m.log (bench/run.sh writes it)
#
# Environment: RUNS (default 3), BENCH_BUILD (default build-bench).
# Decompression is measured as MB of text produced per second, wall and
# processor time (the latter holds still when the machine is busy).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && git rev-parse --show-toplevel)
log=${1:-$repo/bench/out/access-2m.log}
build=${BENCH_BUILD:-$repo/build-bench}
runs=${RUNS:-3}
[ -f "$log" ] || { echo "bench/gzip_load.sh: no log at $log (run bench/run.sh first)" >&2; exit 1; }
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target log_load_bench >/dev/null
gz="$log.gz"
[ "$gz" -nt "$log" ] || gzip -6 -c "$log" >"$gz"
cat "$log" "$gz" >/dev/null  # warm page cache

echo "| file | size MiB | runs | median wall s | median cpu s | MB/s wall | MB/s cpu | peak RSS MiB | RSS / text |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
for f in "$log" "$gz"; do
  rows=$(mktemp)
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -v -o "$rows.time" "$build/log_load_bench" "$f" >"$rows.out"
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$rows.time")
    # wall cpu bytes kb
    awk -v kb="$kb" '{print $1, $3, $6, kb}' "$rows.out" >>"$rows"
  done
  sort -n -k1,1 "$rows" | awk -v name="$(basename "$f")" -v size="$(stat -c %s "$f")" -v n="$runs" '
    {w[NR]=$1; c[NR]=$2; b=$3; k[NR]=$4}
    END {m=int((NR+1)/2); printf "| %s | %.0f | %d | %.3f | %.3f | %.0f | %.0f | %.0f | %.2f |\n",
         name, size/1048576, n, w[m], c[m], b/w[m]/1e6, b/c[m]/1e6, k[m]/1024, k[m]*1024/b}'
  rm -f "$rows" "$rows.time" "$rows.out"
done
