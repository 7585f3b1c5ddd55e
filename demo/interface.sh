#!/usr/bin/env bash
# The demo interface, started once the simulator is on the bus (see session.sh).
# Usage: demo/interface.sh [--tour]
set -uo pipefail
demo=$(cd "$(dirname "$0")" && pwd)
export QT_QUICK_CONTROLS_STYLE=Material

"$demo/data/install.sh" "$demo/data"
# A task raised before the interface starts, so the task manager has one to report.
dbus-send --session --print-reply --dest=gem.base.simulator /gem/base/simulator gem.base.Simulator.RaiseTask \
  string:Spectrum string:1 > /dev/null

# A sanitizer build of the module needs its runtime loaded before qmlscene's own libraries.
launcher=(qmlscene)
[ -n "${HBASE_DEMO_PRELOAD:-}" ] && launcher=(env "LD_PRELOAD=$HBASE_DEMO_PRELOAD" qmlscene)

if [ "${1:-}" = "--tour" ]; then
  # Xvfb has no GPU; the software renderer draws the same pixels everywhere, and with no GLX
  # integration no Mesa driver is loaded into the process.
  export QT_QUICK_BACKEND=software QT_XCB_GL_INTEGRATION=none
  exec "${launcher[@]}" "$demo/main.qml" -- --tour
fi
exec "${launcher[@]}" "$demo/main.qml"
