#!/bin/sh
# Time from starting quillon to its main window shown on the X display
# (no files, so no analysis): median of seven runs, in milliseconds. Each
# run starts a copy of the program folder, so the build's folder gets no
# settings file; the program is stopped without saving.
#   bench/startup_timing.sh [path/to/bin]      (needs xdotool; without a
#   DISPLAY it runs itself under xvfb-run)
set -eu
bin=${1:-build/bin}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$@"
fi
runs=7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$bin/quillon" "$bin/lang" "$bin/data" "$work/"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

i=0
while [ $i -lt $runs ]; do
    start=$(now_ms)
    "$work/quillon" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name '^Quillon ' >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null || [ $(($(now_ms) - start)) -gt 20000 ]; then
            echo "quillon ended or showed no window" >&2
            exit 1
        fi
        sleep 0.005
    done
    echo $(($(now_ms) - start))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    i=$((i + 1))
done | sort -n | sed -n "$(((runs + 1) / 2))p" | sed 's/$/ ms to the shown main window (median)/'
