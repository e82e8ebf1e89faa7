#!/bin/sh
# Runs the desktop program against the simulated radio: starts zq708-sim, makes a demo program
# directory whose setting.ini points COM1 at the simulator's pseudo-terminal, starts the program
# there and stops the simulator when the program exits.
set -e
BUILD=${1:-build}
# The simulated radio starts with a full memory and answers at the cable's real speed.
IMAGE=${DEMO_IMAGE:-$(dirname "$0")/../../tests/data/full_radio.pgm}
BIN="$BUILD/bin"
DEMO="$BUILD/demo"
for exe in zq708-cps zq708-sim; do
    [ -x "$BIN/$exe" ] || { echo "demo: $BIN/$exe is missing; run make build first" >&2; exit 1; }
done
mkdir -p "$DEMO"

"$BIN/zq708-sim" --pace --image "$IMAGE" >"$DEMO/sim.log" 2>&1 &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT INT TERM

# The simulator names its pseudo-terminal on its first line of output.
PTY=""
for _ in $(seq 50); do
    PTY=$(head -n 1 "$DEMO/sim.log" | grep -o '/dev/[^ ]*' || true)
    [ -n "$PTY" ] && break
    kill -0 $SIM 2>/dev/null || { cat "$DEMO/sim.log" >&2; echo "demo: the simulator stopped" >&2; exit 1; }
    sleep 0.1
done
[ -n "$PTY" ] || { echo "demo: the simulator named no pseudo-terminal" >&2; exit 1; }

# The program finds its settings and languages beside its own (resolved) executable, so it is copied.
cp -f "$BIN/zq708-cps" "$DEMO/"
for f in "$BIN"/*.lang "$BIN"/*.chm; do
    [ -e "$f" ] && cp -f "$f" "$DEMO/"
done
# The demo settings: the program's own, with COM1 chosen and mapped to the simulator.
awk -v pty="$PTY" '
    /^[ \t]*\[/ { section = tolower($0); gsub(/[ \t\[\]]/, "", section) }
    /^[ \t]*\[[ \t]*[Ss][Ee][Tt][Uu][Pp][ \t]*\]/ { print; print "com=1"; seen = 1; next }
    section == "ports" { next }
    section == "setup" && tolower($0) ~ /^[ \t]*com[ \t]*=/ { next }
    { print }
    END { if (!seen) { print "[setup]"; print "com=1" } print "[ports]"; print "COM1=" pty }
' "$BIN/setting.ini" >"$DEMO/setting.ini"

echo "demo: simulated radio on $PTY (COM1); starting the program"
"$DEMO/zq708-cps"
