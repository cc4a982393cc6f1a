#!/bin/sh
# Adding a folder of small media files to the file list with Quick analysis
# (MediaInfo in process, on a worker pool) against the mediainfo program run
# once per file on the same files.
#   bench/add_folder_timing.sh path/to/bench_FileListWindowBench [files=200]
# Needs ffmpeg and mediainfo; runs offscreen.
set -eu
bench=$1
count=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -loglevel error -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
    -f lavfi -i sine=duration=1 -c:v libx264 -preset ultrafast -c:a aac "$work/clip.mkv"
mkdir "$work/folder"
i=0
while [ $i -lt "$count" ]; do
    cp "$work/clip.mkv" "$work/folder/clip $i.mkv"
    i=$((i + 1))
done
echo "quillon list:"
QT_QPA_PLATFORM=offscreen "$bench" "$work/folder" quick
start=$(date +%s.%N)
for f in "$work"/folder/*.mkv; do mediainfo "$f" >/dev/null; done
end=$(date +%s.%N)
echo "mediainfo, one run per file:"
echo "$count $start $end" | awk '{ s = $3 - $2; printf "files %d  seconds %.3f  files/s %.1f\n", $1, s, $1 / s }'
