#!/bin/sh
# Times "quillon-cli info" on a generated 10-second MKV against running the
# two tools by hand ("mediainfo FILE" then "ffmpeg -i FILE"): median of
# five runs each, in milliseconds.
#   bench/info_timing.sh [path/to/quillon-cli]
set -eu
cli=${1:-build/bin/quillon-cli}
runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="$work/clip 10s.mkv"

ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i testsrc=size=640x360:rate=25:duration=10 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=10 \
    -f lavfi -i sine=frequency=880:sample_rate=44100:duration=10 \
    -map 0:v -map 1:a -map 2:a -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
    -c:a:0 ac3 -ac:a:0 6 -c:a:1 aac -ac:a:1 2 -metadata:s:a:1 language=ger "$clip"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

time_runs() {
    i=0
    while [ $i -lt $runs ]; do
        start=$(now_ms)
        "$@" >/dev/null 2>&1 || true
        echo $(($(now_ms) - start))
        i=$((i + 1))
    done
}

by_hand() {
    mediainfo "$clip"
    ffmpeg -i "$clip"
}

echo "file: $(stat -c %s "$clip") bytes"
echo "quillon-cli info: $(time_runs "$cli" info "$clip" | median) ms"
if command -v mediainfo >/dev/null; then
    echo "mediainfo + ffmpeg -i: $(time_runs by_hand | median) ms"
else
    echo "mediainfo + ffmpeg -i: (mediainfo is not installed)"
fi
echo "ffmpeg -i alone: $(time_runs ffmpeg -i "$clip" | median) ms"
