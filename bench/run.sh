#!/usr/bin/env bash
# Times junmaru-batch against the classic shell pipeline and against `wc -l`
# on two generated logs, and records peak memory.
#
#   bench/run.sh              # build, generate the logs (once), time, update README
#   RUNS=7 bench/run.sh       # more rounds per log
#
# Environment:
#   RUNS            rounds on the 2,000,000-line log (default 5)
#   RUNS_DISTINCT   rounds on the 1,000,000-distinct-path log (default 3)
#   BENCH_OUT       where the logs, pages and raw timings go (default bench/out, git-ignored)
#   BENCH_BUILD     build folder for junmaru-batch (default build-bench, configured with
#                   the project's default build type, RelWithDebInfo, when new)
#   BENCH_README    0 leaves README.md alone (default 1: the table is replaced)
#
# Each round runs the three commands one after the other (batch, pipeline,
# wc -l), so that a burst of load on the machine hits all of them alike;
# the medians of the rounds are reported. Wall time is taken around each
# command; peak memory is the "Maximum resident set size" of /usr/bin/time -v
# (for the pipeline that is its largest single process). The logs are read
# once before the first round so every command starts from a warm page cache.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && git rev-parse --show-toplevel)
gen="$repo/../shared/bench/gen_log.py"
out=${BENCH_OUT:-$repo/bench/out}
build=${BENCH_BUILD:-$repo/build-bench}
runs=${RUNS:-5}
runs_distinct=${RUNS_DISTINCT:-3}
update_readme=${BENCH_README:-1}

# --- what the benchmark needs (Debian 12), as scripts/install-deps.sh does
need=()
command -v mawk >/dev/null 2>&1 || need+=(mawk)
[ -x /usr/bin/time ] || need+=(time)
command -v python3 >/dev/null 2>&1 || need+=(python3)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v ninja >/dev/null 2>&1 || need+=(ninja-build)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${need[@]}"
fi
[ -f "$gen" ] || { echo "bench/run.sh: generator not found: $gen" >&2; exit 1; }

# --- junmaru-batch, built as scripts/build.sh builds it
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake -S "$repo" -B "$build" -DJUNMARU_WITH_WINDOW=ON >/dev/null
cmake --build "$build" --target junmaru-batch window_bench -j2 >/dev/null
batch="$build/junmaru-batch"
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

# --- the logs, written once and kept outside the repository's tracked files
mkdir -p "$out"
make_log() {  # name lines files
  local log="$out/$1.log" stamp="$out/$1.args"
  local args="--lines $2 --files $3 $(sha1sum "$gen" | cut -c1-12)"
  if [ ! -f "$log" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$args" ]; then
    echo "writing $log (--lines $2 --files $3)..." >&2
    python3 "$gen" --lines "$2" --files "$3" >"$log.part"
    mv "$log.part" "$log"
    echo "$args" >"$stamp"
  fi
}
make_log access-2m 2000000 5000
make_log access-1m-distinct 5000000 1000000

# A settings file with every value at its default: an empty file.
settings="$out/defaults.ini"
: >"$settings"
# The bar image beside the page, so the batch run prints no notice.
: >"$out/gage.gif"

pipeline_script='mawk '\''$6=="\"GET" && ($8=="HTTP/1.1\"" || $8=="HTTP/1.0\"") {print $7}'\'' "$1" | sort | uniq -c | sort -rn | head -100'

now_ns() { date +%s%N; }

# Runs one command under /usr/bin/time -v; appends "seconds kilobytes" to $2.
measure() {  # label results-file command...
  local label=$1 results=$2
  shift 2
  local tv="$out/time-v.txt" start end
  start=$(now_ns)
  if ! /usr/bin/time -v -o "$tv" "$@" >"$out/$label.stdout" 2>"$out/$label.stderr"; then
    echo "bench/run.sh: $label failed:" >&2
    cat "$out/$label.stderr" "$tv" >&2
    exit 1
  fi
  end=$(now_ns)
  local kb
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tv")
  echo "$(( (end - start) / 1000 )) $kb" >>"$results"
}

median() {  # column file
  sort -n -k"$1,$1" "$2" | awk -v c="$1" '{v[NR]=$c} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'
}

table="$out/table.md"
{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')), commit $(git -C "$repo" rev-parse --short HEAD), ${build_type:-default} build."
  echo
  echo "| log | tool | runs | median wall s | s per M lines | peak RSS MiB | RSS / log size |"
  echo "|---|---|---:|---:|---:|---:|---:|"
} >"$table"
summary="$out/summary.md"
: >"$summary"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

bench_log() {  # name rounds
  local name=$1 rounds=$2 log="$out/$1.log"
  local bytes lines mb
  bytes=$(stat -c %s "$log")
  cat "$log" >/dev/null
  lines=$(wc -l <"$log")
  mb=$(awk -v b="$bytes" 'BEGIN {printf "%.0f", b / 1048576}')  # MiB
  local r_batch="$out/$name.batch.txt" r_pipe="$out/$name.pipeline.txt" r_wc="$out/$name.wc.txt"
  : >"$r_batch"; : >"$r_pipe"; : >"$r_wc"
  for ((i = 1; i <= rounds; i++)); do
    echo "$name: round $i of $rounds" >&2
    measure batch "$r_batch" "$batch" --settings "$settings" --log "$log" --out "$out/$name.html"
    measure pipeline "$r_pipe" env LC_ALL=C bash -c "$pipeline_script" pipeline "$log"
    measure wc "$r_wc" wc -l "$log"
  done
  local label tool file us kb
  local -A wall
  for tool in batch pipeline wc; do
    file="$out/$name.$tool.txt"
    us=$(median 1 "$file")
    kb=$(median 2 "$file")
    wall[$tool]=$us
    case $tool in
      batch) label='`junmaru-batch`' ;;
      pipeline) label='mawk \| sort \| uniq -c \| sort -rn \| head' ;;
      wc) label='`wc -l`' ;;
    esac
    awk -v lg="$name ($lines lines, $mb MiB)" -v t="$label" -v n="$rounds" -v us="$us" -v kb="$kb" \
        -v lines="$lines" -v bytes="$bytes" 'BEGIN {
      printf "| %s | %s | %d | %.3f | %.3f | %.0f | %.2f |\n", lg, t, n, us / 1e6,
             us / 1e6 / (lines / 1e6), kb / 1024, kb * 1024 / bytes
    }' >>"$table"
  done
  awk -v name="$name" -v b="${wall[batch]}" -v p="${wall[pipeline]}" -v w="${wall[wc]}" \
      -v kb="$(median 2 "$r_batch")" -v bytes="$bytes" 'BEGIN {
    printf "- %s: junmaru-batch = %.3f x the pipeline, %.2f x `wc -l`; its peak memory = %.2f x the log size\n",
           name, b / p, b / w, kb * 1024 / bytes
  }' >>"$summary"
}

bench_log access-2m "$runs"
bench_log access-1m-distinct "$runs_distinct"

# The window's two handlers, loading the log and GO (to the saved page),
# timed in the window itself on Qt's offscreen platform by window_bench,
# with the longest time the gauge stood still without a repaint during GO.
window_figures() {  # name rounds
  local name=$1 rounds=$2 file="$out/$1.window.txt"
  : >"$file"
  for ((i = 1; i <= rounds; i++)); do
    QT_QPA_PLATFORM=offscreen "$build/window_bench" "$out/$name.log" "$out/$name.window.html" 2>/dev/null |
      awk '{print $4, $7, $14}' >>"$file"
  done
  echo "- $name in the window (window_bench, offscreen, median of $rounds): load $(median 1 "$file") s, GO $(median 2 "$file") s, gauge still at most $(median 3 "$file") s at a time" >>"$summary"
}
window_figures access-2m "$runs"
window_figures access-1m-distinct "$runs_distinct"

{
  echo
  cat "$summary"
  echo
  echo "Load average (1, 5, 15 min) before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)."
} >>"$table"

cat "$table"

if [ "$update_readme" = 1 ]; then
  readme="$repo/README.md"
  begin='<!-- benchmark table: begin -->'
  end='<!-- benchmark table: end -->'
  if grep -qF "$begin" "$readme" && grep -qF "$end" "$readme"; then
    awk -v begin="$begin" -v end="$end" -v table="$table" '
      $0 == begin { print; while ((getline line < table) > 0) print line; skip = 1; next }
      $0 == end { skip = 0 }
      !skip { print }
    ' "$readme" >"$readme.tmp"
    mv "$readme.tmp" "$readme"
    echo "README.md: benchmark table replaced" >&2
  else
    echo "README.md has no benchmark markers; table left in $table" >&2
  fi
fi
