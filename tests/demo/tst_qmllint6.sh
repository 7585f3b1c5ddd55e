#!/usr/bin/env bash
# Qt 6's qmllint over the demo's QML with the module's generated type description: it
# checks every binding against the types (unknown properties, wrong argument types, unqualified access),
# and any warning fails.
# The files are linted as copies that begin with "pragma ComponentBehavior: Bound": their delegates use
# the ids of the file around them, which Qt 6 allows only for bound components, and Qt 5.15 does not
# know that pragma, so the files themselves cannot carry it. Everything else is linted as it stands.
# Usage: tst_qmllint6.sh QMLLINT MODULE_IMPORT_DIR SOURCE_DIR FILE...   (FILEs relative to SOURCE_DIR)
set -u
lint=$1
import_dir=$2
source_dir=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The gate itself must fail on a type and on a property that do not exist.
printf 'import QtQuick 2.15\nimport HBase 1.0\nItem { NoSuchHBaseType { } }\n' > "$work/Type.qml"
printf 'import QtQuick 2.15\nimport HBase 1.0\nItem { HSave { noSuchMember: 1 } }\n' > "$work/Member.qml"
for file in "$work"/*.qml; do
  if "$lint" -I "$import_dir" "$file" > /dev/null 2>&1; then
    echo "qmllint passed $(basename "$file"), which uses what does not exist"; exit 1
  fi
done

# The copies keep the folders (relative imports, qmldir, scripts); the pragma shares the first line,
# so the line numbers qmllint gives are the files' own.
(cd "$source_dir" && cp -r --parents demo "$work/")
for file in "$@"; do
  sed -i '1s/^/pragma ComponentBehavior: Bound; /' "$work/$file"
done
out=$(cd "$work" && "$lint" -I "$import_dir" "$@" 2>&1)
rc=$?
if [ "$rc" != 0 ]; then
  printf '%s\n' "$out"
  echo "qmllint: $(printf '%s\n' "$out" | grep -c '^Warning') warnings (exit $rc)"
  exit 1
fi
echo "qmllint: $# files, no warning"
