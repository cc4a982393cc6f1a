#!/bin/sh
# Times several files at once: "quillon-cli convert --jobs 2" and "--jobs 1"
# against the one-at-a-time shell script "quillon-cli script" exports, on
# ten generated 10-second 640x360 clips (Xvid video, MP3 audio). The three
# run in turns, so that a change in the machine's load weighs on each
# alike; each is reported as the median of its runs, and each ratio as the
# median of the paired ratios.
#   bench/parallel_timing.sh [path/to/quillon-cli]    (QLN_RUNS=5 by default)
set -eu
cli=${1:-build/bin/quillon-cli}
runs=${QLN_RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/timing_common.sh"
make_clips

set -- "$work"/in/*.mkv
options="--set AUDIO.AudioCodec=MP3 --if-exists overwrite"
# shellcheck disable=SC2086
"$cli" script -o "$work/convert.sh" $options -- "$@" >/dev/null

n=0
while [ $n -lt $runs ]; do
    s=$(time_once sh "$work/convert.sh")
    # shellcheck disable=SC2086
    j2=$(time_once "$cli" convert --jobs 2 $options -- "$@")
    # shellcheck disable=SC2086
    j1=$(time_once "$cli" convert --jobs 1 $options -- "$@")
    echo "$s" >>"$work/script.ms"
    echo "$j2" >>"$work/jobs2.ms"
    echo "$j1" >>"$work/jobs1.ms"
    awk -v a="$j2" -v b="$s" 'BEGIN { printf "%.3f\n", a / b }' >>"$work/ratio2"
    awk -v a="$j1" -v b="$s" 'BEGIN { printf "%.3f\n", a / b }' >>"$work/ratio1"
    n=$((n + 1))
done
echo "sh convert.sh: $(median <"$work/script.ms") ms ($(tr '\n' ' ' <"$work/script.ms"))"
echo "convert --jobs 2: $(median <"$work/jobs2.ms") ms ($(tr '\n' ' ' <"$work/jobs2.ms"))"
echo "convert --jobs 1: $(median <"$work/jobs1.ms") ms ($(tr '\n' ' ' <"$work/jobs1.ms"))"
echo "jobs 2 / script, median of pairs: $(median <"$work/ratio2") ($(tr '\n' ' ' <"$work/ratio2"))"
echo "jobs 1 / script, median of pairs: $(median <"$work/ratio1") ($(tr '\n' ' ' <"$work/ratio1"))"
