#!/usr/bin/env bash
# The program's matching of Python patterns against Python's own: every
# pattern of the shipped crawler list, and patterns made to tell the
# engines apart, on every instance the lists hold and on samples of bytes
# beyond ASCII. The shipped list must be taken whole; both must agree on
# every sample.
#   pattern_check.sh PATTERN_MATCHES SHIPPED_LIST TESTS_FOLDER
set -euo pipefail
tool=$1 shipped=$2 here=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for list in "$shipped" "$here/pattern_check_list.json"; do
  "$tool" "$list" "$here/pattern_check_samples.txt" >"$work/program.txt"
  refused=$(sed -n 's/^refused //p' "$work/program.txt")
  if [ "$list" = "$shipped" ] && [ -n "$refused" ]; then
    echo "the shipped list holds patterns the program refuses: $refused" >&2
    exit 1
  fi
  # shellcheck disable=SC2086
  /usr/bin/python3 "$here/pattern_matches.py" "$list" "$here/pattern_check_samples.txt" $refused >"$work/python.txt"
  if ! diff "$work/python.txt" "$work/program.txt" >"$work/diff.txt"; then
    echo "$list: the program and Python disagree (< Python, > program):" >&2
    head -n 40 "$work/diff.txt" >&2
    exit 1
  fi
  echo "$list: $(grep -c : "$work/program.txt") samples agree; refused: ${refused:-none}" | tr '\n' ' '
  echo
done
