#!/bin/sh
# tests/support/with-sim and the simulator's command line, inside the sandbox with a session bus.
set -u
here=$(cd "$(dirname "$0")" && pwd)
with_sim=$here/../support/with-sim
fail() { echo "FAIL: $*" >&2; exit 1; }

has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q 'boolean true'
}

cat > /tmp/model.json <<'JSON'
{ "applications": [ { "name": "w_app", "modules": [ { "name": "w_reg_module", "items": [
  { "name": "gain", "type": "int", "value": 7 } ] } ] } ] }
JSON

# The command runs with the model's services on the bus, and the simulator is gone afterwards.
out=$("$with_sim" --model /tmp/model.json -- gdbus call --session -d gem.base.w_app -o /gem/base/elf \
  -m gem.base.Elf.Item ":config:w_app:w_reg_module:gain:") || fail "with-sim did not run the command"
[ "$out" = "(<7>, {'initValue': <7>})" ] || fail "unexpected item reply: $out"
has_owner gem.base.simulator && fail "the simulator is still on the bus"

# The command's exit code comes back unchanged.
"$with_sim" -- sh -c 'exit 7'
[ $? = 7 ] || fail "exit code not passed through"

# A broken model: a clear message and a failure before the command runs.
echo '{ "applications": [ {' > /tmp/broken.json
msg=$("$with_sim" --model /tmp/broken.json -- touch /tmp/ran 2>&1)
rc=$?
[ $rc = 2 ] || fail "broken model gave exit code $rc"
[ -e /tmp/ran ] && fail "the command ran without a simulator"
echo "$msg" | grep -q '^hbase-sim: model /tmp/broken.json: not valid JSON' || fail "no clear message: $msg"
echo "$msg" | grep -q 'with-sim: hbase-sim exited (status 2)' || fail "with-sim did not say why: $msg"

# --verbose: one line per request on standard error.
${HBASE_EMULATOR:-} "$HBASE_SIM" --verbose --model /tmp/model.json 2>/tmp/verbose.log &
sim=$!
tries=0
until has_owner gem.base.simulator; do
  tries=$((tries + 1)); [ $tries -lt 600 ] || fail "verbose simulator did not start"; sleep 0.05
done
gdbus call --session -d gem.base.w_app -o /gem/base/elf -m gem.base.Elf.SetItemValue \
  ":config:w_app:w_reg_module:gain:" "<9>" >/dev/null || fail "SetItemValue failed"
gdbus call --session -d gem.base.simulator -o /gem/base/simulator -m gem.base.Simulator.Quit >/dev/null
wait $sim
grep -qx 'hbase-sim: gem.base.w_app SetItemValue :config:w_app:w_reg_module:gain: 9' /tmp/verbose.log \
  || fail "verbose log: $(cat /tmp/verbose.log)"
echo "PASS"
