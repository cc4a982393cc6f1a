#!/bin/sh
# How close "quillon-cli plan" comes to the sizes "quillon-cli convert"
# writes: for each video encoder of the AVI page and the MPG choices, on
# generated 640x360 clips of different content, the expected size against
# the real one. Prints one line per encoder and clip, then per encoder the
# median and the worst relative error.
#   bench/size_estimate.sh [path/to/quillon-cli]   (QLN_SECONDS=20 by default)
set -eu
cli=${1:-build/bin/quillon-cli}
seconds=${QLN_SECONDS:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in"

# Content from easy to hard: a test pattern, a fractal zoom, a grainy
# gradient as film or a dark room gives it, and a slowly panned mosaic.
i=0
for source in "testsrc2=size=640x360:rate=25" "mandelbrot=size=640x360:rate=25" \
    "gradients=size=640x360:rate=25:speed=0.02,noise=alls=4:allf=t" \
    "cellauto=size=640x360:rate=25:rule=18,boxblur=6,scroll=h=0.002"; do
    i=$((i + 1))
    ffmpeg -hide_banner -loglevel error -y -f lavfi -t "$seconds" -i "$source" \
        -f lavfi -t "$seconds" -i "sine=frequency=$((300 + i * 100)):sample_rate=48000" \
        -ac 2 -c:v libx264 -preset veryfast -crf 18 -pix_fmt yuv420p -c:a aac -b:a 160k \
        "$work/in/clip$i.mkv"
done

# name|settings
cat >"$work/encoders" <<'LIST'
Xvid|--set AVI.VideoCodec=XVID
DivX3|--set AVI.VideoCodec=DIVX3
H.264|--set AVI.VideoCodec=H264
MPEG-4|--set AVI.VideoCodec=MPEG4
MS-MPEG-4v2|--set AVI.VideoCodec=MSMPEG4V2
WMV1|--set AVI.VideoCodec=WMV1
WMV2|--set AVI.VideoCodec=WMV2
MJPEG|--set AVI.VideoCodec=MJPEG
Copy|--set AVI.VideoCodec=COPY
H.264-2pass-1500k|--set AVI.VideoCodec=H264 --set AVI.Video2Pass=1 --set AVI.VideoBitrate=1500
MPEG-1|--set MAIN.OutputFormat=MPG --set MPG.VideoFormat=2 --set MPG.MPEGVersion=0
MPEG-2|--set MAIN.OutputFormat=MPG --set MPG.VideoFormat=2 --set MPG.MPEGVersion=1
PAL-DVD|--set MAIN.OutputFormat=MPG --set MPG.VideoFormat=0
LIST

while IFS='|' read -r name options; do
    for clip in "$work"/in/*.mkv; do
        rm -rf "$work/out"
        # shellcheck disable=SC2086
        expected=$("$cli" plan $options --out-dir "$work/out" -- "$clip" | awk -F'\t' '$1 == "file" { print $2 }')
        # shellcheck disable=SC2086
        "$cli" convert $options --out-dir "$work/out" -- "$clip" >/dev/null 2>&1
        actual=$(stat -c %s "$work"/out/*)
        awk -v n="$name" -v c="$(basename "$clip")" -v e="$expected" -v a="$actual" \
            'BEGIN { printf "%-18s %-10s expected %10s actual %10d error %+6.1f %%\n", n, c, e, a, (e - a) * 100 / a }' |
            tee -a "$work/results"
    done
done <"$work/encoders"

echo
echo "encoder            median    worst   (relative error of the expected size)"
cut -c1-18 "$work/results" | sort -u | while read -r name; do
    awk -v n="$name" '$1 == n { print $8 + 0 }' "$work/results" | sort -n >"$work/errs"
    # An even count's median is the mean of the middle two.
    median=$(awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); print NR % 2 ? v[m] : (v[m] + v[m + 1]) / 2 }' "$work/errs")
    worst=$(awk '{ a = $1 < 0 ? -$1 : $1; if (a >= m) { m = a; w = $1 } } END { print w }' "$work/errs")
    printf "%-18s %+6.1f %%  %+6.1f %%\n" "$name" "$median" "$worst"
done
