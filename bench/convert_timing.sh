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
. "$(dirname "$0")/timing_common.sh"
make_clips

set -- "$work"/in/*.mkv
options="--set AUDIO.AudioCodec=MP3 --if-exists overwrite"
# shellcheck disable=SC2086
"$cli" script -o "$work/convert.sh" $options -- "$@" >/dev/null

# The two are timed in turns, so that a change in the machine's load
# between them weighs on both alike.
n=0
while [ $n -lt $runs ]; do
    # shellcheck disable=SC2086
    time_once "$cli" convert $options -- "$@" >>"$work/quillon.ms"
    time_once sh "$work/convert.sh" >>"$work/script.ms"
    n=$((n + 1))
done
report "quillon-cli convert" "$work/quillon.ms" "sh convert.sh" "$work/script.ms"
