#!/usr/bin/env bash
# cmake --install honours --prefix: the module lands in the QML folder below the prefix, stripped, and
# exports nothing but its plugin entry; the simulator and its stubs land beside it, never on the system PATH.
# Runs inside the sandbox (the prefix is its private /tmp).
# Usage: tst_install.sh BUILD_DIR QT_MAJOR
set -euo pipefail
build=$1
qt=$2
# The plugin entry: Qt 6 adds the module's registration function, which its engine calls on import.
entry="qt_plugin_instance qt_plugin_query_metadata "
[ "$qt" = 6 ] && entry="_Z24qml_register_types_HBasev qt_plugin_instance qt_plugin_query_metadata_v2 "
prefix=/tmp/prefix
cmake --install "$build" --prefix "$prefix" --strip > /dev/null
module=$(find "$prefix" -path "*/qt$qt/qml/HBase" -type d)
[ -n "$module" ] || { echo "no HBase folder below $prefix"; find "$prefix"; exit 1; }
for file in libhBase_plugin.so qmldir plugins.qmltypes; do
  [ -f "$module/$file" ] || { echo "missing $module/$file"; exit 1; }
done
exported=$(nm -D --defined-only "$module/libhBase_plugin.so" | awk '$2 == "T" || $2 == "W" { print $3 }' | sort | tr '\n' ' ')
[ "$exported" = "$entry" ] || { echo "exported functions: $exported"; exit 1; }
if readelf -S "$module/libhBase_plugin.so" | grep -q debug_info; then
  echo "the installed plugin keeps its debug information"; exit 1
fi
[ -x "$prefix/bin/hbase-sim" ] || { echo "hbase-sim is not installed"; exit 1; }
for stub in cmsend documentviewer_open reboot; do
  [ -x "$(find "$prefix/lib" -path "*/hbase-sim/bin/$stub")" ] || { echo "stub $stub is not installed"; exit 1; }
  [ ! -e "$prefix/bin/$stub" ] || { echo "stub $stub is on the PATH"; exit 1; }
done
echo "installed under $module"
