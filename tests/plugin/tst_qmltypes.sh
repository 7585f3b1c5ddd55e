#!/usr/bin/env bash
# Qt 5: the committed type description must equal a fresh dump of the built plugin: a type, property or
# method added without `make qmltypes` fails here. Runs inside the sandbox (the dump creates every type).
# Qt 6 writes its description at build time: it must export the same names at 1.0 and describe every
# member the committed one does, so tools see the same module on both.
# Usage: tst_qmltypes.sh SOURCE_DIR QML_IMPORT_DIR [--generated]
set -euo pipefail
source_dir=$1
import_dir=$2
committed=$source_dir/src/plugin/plugins.qmltypes

# "Component kind name" for each property, method and signal of the module's own components.
members() {
  awk '
    /^    Component \{/ { comp = ""; own = 0; next }
    /^        name: "/ && comp == "" { split($0, q, "\""); comp = q[2]; if (comp == "ElfData") own = 1; next }
    /^        exports: .*"HBase\// { own = 1; next }
    /^        (Property|Method|Signal) \{/ {
      kind = $1
      if (match($0, /name: "[^"]*"/)) { if (own) print comp, kind, substr($0, RSTART + 7, RLENGTH - 8) }
      else pending = kind
      next
    }
    /^            name: "/ && pending != "" { split($0, q, "\""); if (own) print comp, pending, q[2]; pending = "" }
  ' "$1" | sort -u
}
exports() { grep -o '"HBase/[A-Za-z0-9]* [0-9.]*"' "$1" | sort; }

if [ "${3:-}" = --generated ]; then
  generated=$import_dir/HBase/plugins.qmltypes
  if ! diff <(exports "$committed") <(exports "$generated"); then
    echo "the generated description exports other names than $committed" >&2; exit 1
  fi
  missing=$(comm -23 <(members "$committed") <(members "$generated"))
  [ -z "$missing" ] || { printf 'not described by the generated file:\n%s\n' "$missing" >&2; exit 1; }
  grep -q 'name: "ElfData"' "$generated" || { echo "ElfData is not described" >&2; exit 1; }
  echo "the generated plugins.qmltypes exports $(exports "$generated" | wc -l) types with every member"
  exit 0
fi

"$source_dir/scripts/dump-qmltypes" "$import_dir" /tmp/plugins.qmltypes
if ! diff -u "$committed" /tmp/plugins.qmltypes; then
  echo "src/plugin/plugins.qmltypes is out of date: run make qmltypes" >&2
  exit 1
fi
grep -q 'name: "ElfData"' /tmp/plugins.qmltypes || { echo "ElfData is not described" >&2; exit 1; }
echo "plugins.qmltypes is current"
