#!/usr/bin/env bash
# Refreshes the crawler list of the Bots counting rule from the npm
# registry: the package crawler-user-agents (MIT), its JSON and its licence,
# into third_party/crawler-user-agents/. The new list is taken only when
# the program accepts every pattern of it (engine/tests/pattern_check.sh,
# run from an up-to-date ./build); review the diff and commit.
#   scripts/update-crawler-list.sh [VERSION]   (default: the latest)
set -euo pipefail
cd "$(dirname "$0")/.."
version="${1:-latest}"
target=third_party/crawler-user-agents
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack "crawler-user-agents@$version" --silent >pack.txt)
tar -xzf "$work/$(tail -n1 "$work/pack.txt")" -C "$work" package/crawler-user-agents.json package/LICENSE package/package.json
packed=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["version"])' "$work/package/package.json")
tool=build/pattern_matches
if [ ! -x "$tool" ]; then
  echo "no $tool: build first (scripts/build.sh), then run again to check the patterns" >&2
  exit 1
fi
bash engine/tests/pattern_check.sh "$tool" "$work/package/crawler-user-agents.json" engine/tests
cp "$work/package/crawler-user-agents.json" "$target/crawler-user-agents.json"
cp "$work/package/LICENSE" "$target/LICENSE"
echo "crawler-user-agents $packed" >"$target/VERSION"
echo "crawler-user-agents $packed in $target"
