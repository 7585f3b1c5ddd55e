#!/usr/bin/env bash
# Checks that the sandbox keeps the instrument's roots private and the device commands stubbed.
set -u
sandbox=$1
marker="hbase-selftest-$$-$RANDOM"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

host_had_user=0; [ -e /user ] && host_had_user=1
host_tab_before=$(cat /tmp/Tab1.oxs 2>/dev/null || true)

inside=$("$sandbox" --no-screen -- bash -c '
  set -e
  mkdir -p /user/TK520/internal && echo "$1" > /user/TK520/internal/x
  echo "$1" > /tmp/Tab1.oxs
  cat /user/TK520/internal/x /tmp/Tab1.oxs
  command -v reboot
  reboot -f now
  cat /tmp/hbase-sim/commands.log
  grep CapEff /proc/self/status
' _ "$marker" 2>&1) || fail "sandbox command failed: $inside"

[ "$(echo "$inside" | grep -c "^$marker\$")" = 2 ] || fail "files not written inside the sandbox: $inside"
echo "$inside" | grep -qx "$(cd "$(dirname "$sandbox")/.." && pwd)/sim/bin/reboot" || fail "reboot is not the stub: $inside"
echo "$inside" | grep -qx "reboot \[-f\] \[now\]" || fail "reboot stub did not log its command line: $inside"
capeff=$(echo "$inside" | sed -n 's/^CapEff:[[:space:]]*//p')
if [ -n "$capeff" ] && [ $(( 0x$capeff & (1 << 22) )) -ne 0 ]; then fail "CAP_SYS_BOOT still effective"; fi

[ "$host_had_user" = 0 ] && [ -e /user ] && fail "the sandbox created /user on the host"
grep -qs "$marker" /tmp/Tab1.oxs && fail "the sandbox wrote the host's /tmp/Tab1.oxs"
[ "$(cat /tmp/Tab1.oxs 2>/dev/null || true)" = "$host_tab_before" ] || fail "the host's /tmp/Tab1.oxs changed"

# Two sandboxes never see each other's files.
"$sandbox" --no-screen --no-bus -- test ! -e /user/TK520/internal/x || fail "a second sandbox saw the first one's file"

[ "$failures" = 0 ] && echo "sandbox self-test passed"
exit "$failures"
