#!/usr/bin/env bash
# Generated content cannot drift: builds and runs every generator in tools/
# in a temporary copy of the tree and fails when a file it writes differs from
# the one committed under Data/ (or is missing there). Content made otherwise,
# such as a recorded flight, is not checked. To regenerate the committed files
# instead, run the generators from the repository root (tools/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
WORK=$(mktemp -d /tmp/halvardine-content.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cp -r tools "$WORK/tools"
mkdir -p "$WORK/Data" "$WORK/bin"
cd "$WORK"
for src in tools/*.cpp; do
  tool="bin/$(basename "$src" .cpp)"
  c++ -std=c++20 -O2 "$src" -o "$tool"
  "$tool" > /dev/null
done
python3 tools/makemeshes.py > /dev/null
python3 tools/makeguitextures.py > /dev/null
python3 tools/makehudtextures.py > /dev/null
python3 tools/makeicon.py > /dev/null
python3 tools/sounds/generate.py > /dev/null

status=0
count=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  if ! cmp -s "$file" "$ROOT/$file"; then
    echo "checkcontent: $file differs from what tools/ generates"
    status=1
  fi
done < <(find Data -type f -print0)
echo "checkcontent: $count generated files compared with Data/"
exit $status
