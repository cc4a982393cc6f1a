#!/bin/sh
# Times converting ten generated 10-second 640x360 clips (Xvid video, MP3
# audio) through the window's conversion controller against running the
# same conversions from the shell script the controller exports for them:
# median of three runs each, in milliseconds. Needs the benchmarks built
# (-DQLN_BUILD_BENCH=ON).
#   bench/convert_window_timing.sh [path/to/bench_ConversionWindowBench]
set -eu
bench=${1:-build/bin/bench_ConversionWindowBench}
runs=${QLN_RUNS:-3}
ffmpeg=$(command -v ffmpeg)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/timing_common.sh"
make_clips

set -- "$work"/in/*.mkv
"$bench" script "$ffmpeg" "$work/convert.sh" "$@" >/dev/null 2>&1

# In turns, so that a change in the machine's load weighs on both alike.
n=0
while [ $n -lt $runs ]; do
    time_once "$bench" convert "$ffmpeg" "$@" >>"$work/window.ms"
    time_once sh "$work/convert.sh" >>"$work/script.ms"
    n=$((n + 1))
done
report "controller convert" "$work/window.ms" "sh convert.sh" "$work/script.ms"
