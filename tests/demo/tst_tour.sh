#!/usr/bin/env bash
# Runs the demo's scripted tour headless and checks the files it says it wrote.
# Usage: tst_tour.sh BUILD_DIR CHECKER
set -u
build=$1
checker=$2
checkout=$(cd "$(dirname "$0")/../.." && pwd)
storage=$build/demo-tour-storage
rm -rf "$storage"
mkdir -p "$storage"

output=$(env -u DISPLAY HBASE_DEMO_STORAGE="$storage" "$checkout/scripts/run-demo" "$build" --tour 2>&1)
rc=$?
echo "$output" | grep -E '^(qml: )?TOUR'
# QML's own warnings carry the file and line they come from; the test registration fails on them.
echo "$output" | grep -E '\.qml:[0-9]+' | grep -vE '^(qml: )?TOUR'
[ "$rc" = 0 ] || { echo "$output" | tail -40; echo "the tour exited with $rc"; exit 1; }

# "TOUR-FILE kind /user/..." -> the file's place in the bound storage.
host_path() {
  echo "$output" | sed -n "s/^\(qml: \)\{0,1\}TOUR-FILE $1 \/\(.*\)\$/\2/p" | head -n 1 | sed "s|^|$storage/|"
}
setup=$(host_path setup)
shot=$(host_path screenshot)
inverted=$(host_path screenshot-inverted)
report=$(host_path report)
favourites=$(host_path favourites)
for f in "$setup" "$shot" "$inverted" "$report" "$favourites"; do
  [ -f "$f" ] || { echo "missing file: '$f'"; exit 1; }
done

pages=$(pdfinfo "$report" | sed -n 's/^Pages: *//p')
[ "$pages" = 2 ] || { echo "the report has '$pages' pages, not 2 (page 1 and the attached screenshot)"; exit 1; }
export HBASE_SANDBOX_BINDS="$build"
"$checkout/tests/sandbox" --no-screen --no-bus -- "$checker" "$setup" "$shot" "$inverted" "$report" "$favourites"
