#!/usr/bin/env bash
# qmllint over the demo's QML with the module's type information; any remark fails the test.
set -u
lint=$1
import_dir=$2
shift 2
out=$("$lint" -I "$import_dir" -i "$import_dir/HBase/plugins.qmltypes" "$@" 2>&1)
rc=$?
[ -z "$out" ] && [ "$rc" = 0 ] && { echo "qmllint: $# files clean"; exit 0; }
echo "$out"
exit 1
