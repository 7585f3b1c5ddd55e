#!/usr/bin/env bash
# One demo session inside the sandbox: hbase-sim on the session bus, then demo/interface.sh.
# Usage: demo/session.sh BUILD_DIR [--tour | --soak OUTPUT_DIR | --shared-bus]
#   --shared-bus  start the session bus on the socket /home/demo-bus (demo/shared-bus.conf), for a
#                 sandbox without a bus of its own, so that "make demo-shell" can reach it
set -uo pipefail
demo=$(cd "$(dirname "$0")" && pwd)
build=$1
export QML2_IMPORT_PATH=$build/qml
export HBASE_SIM=$build/sim/hbase-sim
# The QML tools (qmltestrunner, the viewer) of the Qt the build was made with.
export HBASE_QT_BINS=$(sed -n 's/^HBASE_QT_BINS:INTERNAL=//p' "$build/CMakeCache.txt")
[ -n "$HBASE_QT_BINS" ] && export PATH=$HBASE_QT_BINS:$PATH
if [ "${2:-}" = "--shared-bus" ]; then
  rm -f /home/demo-bus   # left by a session that was killed
  exec dbus-run-session --config-file "$demo/shared-bus.conf" -- "$demo/../tests/support/with-sim" -- "$demo/interface.sh"
fi
exec "$demo/../tests/support/with-sim" -- "$demo/interface.sh" "${@:2}"
