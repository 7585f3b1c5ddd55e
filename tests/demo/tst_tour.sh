#!/usr/bin/env bash
# Runs the demo's scripted tour headless at 1280x800 and at 1920x1080, fails on any QML warning in
# its output, and checks the files it says it wrote.
# Usage: tst_tour.sh BUILD_DIR CHECKER
set -u
build=$1
checker=$2
checkout=$(cd "$(dirname "$0")/../.." && pwd)
# What a QML author must never leave behind, whatever the steps assert.
qml_warnings='TypeError|ReferenceError|Binding loop|non-NOTIFYable|is not a function|Cannot read property'

tour_at() { # tour_at WxH
  local size=$1 storage=$build/demo-tour-storage-$1
  rm -rf "$storage"
  mkdir -p "$storage"
  local output rc
  output=$(env -u DISPLAY HBASE_DEMO_STORAGE="$storage" "$checkout/scripts/run-demo" "$build" --tour --screen "$size" 2>&1)
  rc=$?
  echo "$output" | grep -E '^(PASS|FAIL|Totals)|TOUR-FILE'
  # QML's own warnings carry the file and line they come from: shown, whatever their kind.
  echo "$output" | grep -E '\.qml:[0-9]+' | grep -v 'TOUR-FILE'
  [ "$rc" = 0 ] || { echo "$output" | tail -60; echo "the tour at $size exited with $rc"; return 1; }
  if echo "$output" | grep -E "$qml_warnings"; then
    echo "the tour at $size printed QML warnings (above)"
    return 1
  fi

  # "TOUR-FILE kind /user/..." -> the file's place in the bound storage.
  host_path() {
    echo "$output" | sed -n "s/.*TOUR-FILE $1 \/\(.*\)\$/\1/p" | head -n 1 | sed "s|^|$storage/|"
  }
  local files=() kind
  for kind in setup screenshot screenshot-inverted report favourites picture-spectrum; do
    files+=("$(host_path "$kind")")
  done
  local f
  for f in "${files[@]}"; do
    [ -f "$f" ] || { echo "missing file: '$f'"; return 1; }
  done
  local pages
  pages=$(pdfinfo "${files[3]}" | sed -n 's/^Pages: *//p')
  [ "$pages" = 2 ] || { echo "the report has '$pages' pages, not 2 (page 1 and the attached screenshot)"; return 1; }
  HBASE_SANDBOX_BINDS="$build" "$checkout/tests/sandbox" --no-screen --no-bus -- "$checker" "$size" "${files[@]}"
}

tour_at 1280x800 && tour_at 1920x1080
