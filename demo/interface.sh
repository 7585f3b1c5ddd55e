#!/usr/bin/env bash
# The demo interface, started once the simulator is on the bus (see session.sh).
# Usage: demo/interface.sh [--tour | --soak OUTPUT_DIR]
set -uo pipefail
demo=$(cd "$(dirname "$0")" && pwd)
export QT_QUICK_CONTROLS_STYLE=Material
# The instrument has a touch screen: no control shows a hover highlight.
export QT_QUICK_CONTROLS_HOVER_ENABLED=0

"$demo/data/install.sh" "$demo/data"
# A task raised before the interface starts, so the task manager has one to report.
dbus-send --session --print-reply --dest=gem.base.simulator /gem/base/simulator gem.base.Simulator.RaiseTask \
  string:Spectrum string:1 > /dev/null

# A sanitizer build of the module needs its runtime loaded before the QML tool's own libraries.
preload=()
[ -n "${HBASE_DEMO_PRELOAD:-}" ] && preload=(env "LD_PRELOAD=$HBASE_DEMO_PRELOAD")

if [ "${1:-}" = "--tour" ]; then
  # Xvfb has no GPU; the software renderer draws the same pixels everywhere, and with no GLX
  # integration no Mesa driver is loaded into the process. The tour is a QML test case:
  # qmltestrunner gives it real mouse and key events.
  export QT_QUICK_BACKEND=software QT_XCB_GL_INTEGRATION=none
  exec "${preload[@]}" qmltestrunner -import "$QML2_IMPORT_PATH" -input "$demo/Tour.qml"
fi
if [ "${1:-}" = "--soak" ]; then
  # The soak run (make soak): hbase-soak drives demo/Soak.qml and writes its samples to $2.
  export QT_QUICK_BACKEND=software QT_XCB_GL_INTEGRATION=none
  exec "$HBASE_SOAK" "$demo/Soak.qml" "$2"
fi
# Qt 5's viewer is qmlscene, Qt 6's is qml (the Qt 5 one may be on the PATH as well).
viewer=qml
[ -x "${HBASE_QT_BINS:-/usr/lib/qt5/bin}/qmlscene" ] && viewer=qmlscene
exec "${preload[@]}" "$viewer" "$demo/main.qml"
