#!/usr/bin/env bash
# One demo session inside the sandbox: hbase-sim on the private bus, then demo/interface.sh.
# Usage: demo/session.sh BUILD_DIR [--tour]
set -uo pipefail
demo=$(cd "$(dirname "$0")" && pwd)
build=$1
export QML2_IMPORT_PATH=$build/qml
export HBASE_SIM=$build/sim/hbase-sim
exec "$demo/../tests/support/with-sim" -- "$demo/interface.sh" "${2:-}"
