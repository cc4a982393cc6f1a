#!/bin/sh
# Times "quillon-cli convert" on ten generated 10-second 640x360 clips
# (Xvid video, MP3 audio) against running the same ten FFmpeg commands from
# the shell script "quillon-cli script" exports for them: median of three
# runs each, in milliseconds.
#   bench/convert_timing.sh [path/to/quillon-cli]
set -eu
cli=${1:-build/bin/quillon-cli}
runs=${QLN_RUNS:-3}
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
options="--set AUDIO.AudioCodec=MP3 --if-exists overwrite"
# shellcheck disable=SC2086
"$cli" script -o "$work/convert.sh" $options -- "$@" >/dev/null

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

time_once() {
    rm -f "$work"/in/*.avi
    start=$(now_ms)
    "$@" >/dev/null 2>&1 </dev/null
    echo $(($(now_ms) - start))
}

# The two are timed in turns, so that a change in the machine's load
# between them weighs on both alike.
n=0
while [ $n -lt $runs ]; do
    # shellcheck disable=SC2086
    time_once "$cli" convert $options -- "$@" >>"$work/quillon.ms"
    time_once sh "$work/convert.sh" >>"$work/script.ms"
    n=$((n + 1))
done
quillon=$(median <"$work/quillon.ms")
script=$(median <"$work/script.ms")
echo "quillon-cli convert: $quillon ms ($(tr '\n' ' ' <"$work/quillon.ms"))"
echo "sh convert.sh:       $script ms ($(tr '\n' ' ' <"$work/script.ms"))"
awk -v q="$quillon" -v s="$script" 'BEGIN { printf "difference:          %+.1f %%\n", (q - s) * 100 / s }'
