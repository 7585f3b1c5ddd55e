#!/usr/bin/env bash
# The committed type description must equal a fresh dump of the built plugin: a type, property or
# method added without `make qmltypes` fails here. Runs inside the sandbox (the dump creates every type).
# Usage: tst_qmltypes.sh SOURCE_DIR QML_IMPORT_DIR
set -euo pipefail
source_dir=$1
import_dir=$2
"$source_dir/scripts/dump-qmltypes" "$import_dir" /tmp/plugins.qmltypes
if ! diff -u "$source_dir/src/plugin/plugins.qmltypes" /tmp/plugins.qmltypes; then
  echo "src/plugin/plugins.qmltypes is out of date: run make qmltypes" >&2
  exit 1
fi
grep -q 'name: "ElfData"' /tmp/plugins.qmltypes || { echo "ElfData is not described" >&2; exit 1; }
echo "plugins.qmltypes is current"
