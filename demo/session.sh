#!/usr/bin/env bash
# One demo session inside the sandbox: the simulator, the demo's sample files, then the interface.
# Usage: demo/session.sh BUILD_DIR [--tour]
set -uo pipefail
demo=$(cd "$(dirname "$0")" && pwd)
checkout=$(cd "$demo/.." && pwd)
build=$1
tour=${2:-}
export QML2_IMPORT_PATH=$build/qml
export HBASE_SIM=$build/sim/hbase-sim
export QT_QUICK_CONTROLS_STYLE=Material
if [ "$tour" = "--tour" ]; then
  # Xvfb has no GPU; the software renderer draws the same pixels everywhere.
  export QT_QUICK_BACKEND=software
fi

run_interface() {
  "$demo/data/install.sh" "$demo/data"
  # A task raised before the interface starts, so the task manager has one to report.
  dbus-send --session --dest=gem.base.simulator /gem/base/simulator gem.base.Simulator.RaiseTask \
    string:Spectrum string:1
  if [ "$tour" = "--tour" ]; then
    qmlscene "$demo/main.qml" -- --tour
  else
    qmlscene "$demo/main.qml"
  fi
}
export -f run_interface
export demo tour
exec "$checkout/tests/support/with-sim" -- bash -c run_interface
