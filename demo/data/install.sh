#!/usr/bin/env bash
# Puts the demo's sample files where the instrument keeps them, without touching what is there:
# map profiles, favourite groups, and the device tool at the path the desktop client runs.
# Usage: install.sh DEMO_DATA_DIR   (inside the sandbox only)
set -euo pipefail
data=$1
checkout=$(cd "$data/../.." && pwd)

seed() { # seed SOURCE_DIR TARGET_DIR: copy once, on first start
  [ -e "$2" ] && return 0
  mkdir -p "$(dirname "$2")"
  cp -r "$1" "$2"
}
seed "$data/mapProfile" /user/tarnwick5G/internal/.mapProfile
seed "$data/favorite" /user/tarnwick5G/internal/.favorite
mkdir -p /velmora/release/bin /base/qml_4410/hetnet_private
cp "$checkout/sim/bin/cmsend" /velmora/release/bin/cmsend
