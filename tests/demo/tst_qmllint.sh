#!/usr/bin/env bash
# qmllint -U over the demo's and the tests' QML with the module's type information and Qt's own modules.
# Fails on a syntax error and on any type qmllint cannot find (an element or a member's type): a file that
# uses a type which does not exist fails here. Qt 5.15's qmllint also remarks on every `var` member and
# on attached properties it cannot model; those remarks are shown but do not fail the test.
# Usage: tst_qmllint.sh QMLLINT QT_QML_DIR MODULE_IMPORT_DIR FILE...
set -u
lint=$1
qt_qml=$2
import_dir=$3
shift 3

# Elements of QtQml that Qt 5.15's qmllint does not find through any import path, and the basic types
# it reports as unknown member types.
known_gaps='^(Component|Connections|ListElement|ListModel|QtObject|Timer)$'
basic_types='^(var|real|double|int|bool|string|url|date|QVariant|QString)$'

lint_files() {
  "$lint" -U -I "$qt_qml" -I "$import_dir" -i "$import_dir/HBase/plugins.qmltypes" "$@" 2>&1
}

# The lines that fail: unknown elements and unknown member types, less Qt's own gaps.
unknown_types() {
  sed -n -e 's/^warning: \([A-Za-z0-9_.]*\) was not found.*/\1/p' \
         -e 's/^Warning: Type "\([^"]*\)" of member .*/\1/p' |
    grep -Ev "$known_gaps" | grep -Ev "$basic_types"
}

# The gate itself must catch a type that does not exist.
probe=$(mktemp --suffix=.qml)
printf 'import QtQuick 2.15\nimport HBase 1.0\nItem { NoSuchHBaseType { } }\n' > "$probe"
if [ -z "$(lint_files "$probe" | unknown_types)" ]; then
  echo "qmllint did not report an unknown type"; rm -f "$probe"; exit 1
fi
rm -f "$probe"

out=$(lint_files "$@")
rc=$?
bad=$(printf '%s\n' "$out" | unknown_types | sort -u)
syntax=$(printf '%s\n' "$out" | grep -E '\.qml:[0-9]+ : ' || true)
if [ -n "$bad" ] || [ -n "$syntax" ]; then
  printf '%s\n' "$out"
  echo "unknown types: ${bad:-none}"
  exit 1
fi
echo "qmllint -U: $# files, no unknown type (exit $rc)"
