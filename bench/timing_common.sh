# Shared by the conversion timings (sourced, not run): the ten generated
# 10-second 640x360 clips and the timing helpers. Needs $work and $runs.

# Ten clips in $work/in, each with its own tone.
make_clips() {
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
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

# The wall time of one run of the command, after the outputs of the last.
time_once() {
    rm -f "$work"/in/*.avi
    start=$(now_ms)
    "$@" >/dev/null 2>&1 </dev/null
    echo $(($(now_ms) - start))
}

# Prints the median of each list of times ($1 and $3 name them) and the
# difference of the first against the second.
report() {
    first=$(median <"$2")
    second=$(median <"$4")
    echo "$1: $first ms ($(tr '\n' ' ' <"$2"))"
    echo "$3: $second ms ($(tr '\n' ' ' <"$4"))"
    awk -v q="$first" -v s="$second" 'BEGIN { printf "difference: %+.1f %%\n", (q - s) * 100 / s }'
}
