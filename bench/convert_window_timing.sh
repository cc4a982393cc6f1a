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
mkdir "$work/in"

i=1
while [ $i -le 10 ]; do
    ffmpeg -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc=size=640x360:rate=25:duration=10" \
        -f lavfi -i "sine=frequency=$((200 + i * 50)):sample_rate=48000:duration=10" \
        -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac \
        "$work/in/clip $i.mkv"
    i=$((i + 1))
done

set -- "$work"/in/*.mkv
"$bench" script "$ffmpeg" "$work/convert.sh" "$@" >/dev/null 2>&1

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

time_once() {
    rm -f "$work"/in/*.avi
    start=$(now_ms)
    "$@" >/dev/null 2>&1 </dev/null
    echo $(($(now_ms) - start))
}

# In turns, so that a change in the machine's load weighs on both alike.
n=0
while [ $n -lt $runs ]; do
    time_once "$bench" convert "$ffmpeg" "$@" >>"$work/window.ms"
    time_once sh "$work/convert.sh" >>"$work/script.ms"
    n=$((n + 1))
done
window=$(median <"$work/window.ms")
script=$(median <"$work/script.ms")
echo "controller convert: $window ms ($(tr '\n' ' ' <"$work/window.ms"))"
echo "sh convert.sh:      $script ms ($(tr '\n' ' ' <"$work/script.ms"))"
awk -v q="$window" -v s="$script" 'BEGIN { printf "difference:         %+.1f %%\n", (q - s) * 100 / s }'
