#!/usr/bin/env bash
# Set-up, build, start and test Quillon on Debian 12.
#   scripts/dev.sh run    install what is missing, build (Release), start Quillon
#   scripts/dev.sh test   install what is missing, build (Release), run every test
#   scripts/dev.sh build  install what is missing and build only
#   scripts/dev.sh package  install what is missing, build, make build/quillon_*.deb
# Safe to run again: it installs only missing packages and builds incrementally.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QLN_BUILD_DIR:-$here/build}

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
    ffmpeg libmediainfo0v5
    # icons, the Debian package, the checks of the installed tree (manual
    # pages, completions), the desktop shortcut's tests (the entry validator
    # and GLib's launcher), and the session bus of the notification tests
    librsvg2-bin dpkg-dev desktop-file-utils appstream bash-completion libglib2.0-bin
    groff-base zsh dbus-daemon
)

say() { printf '== %s\n' "$*"; }

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "All packages present"
        return
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    say "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

build() {
    say "Configuring in $build_dir (Release)"
    # QLN_WERROR=ON (as CI sets it) makes every compiler warning an error.
    cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQLN_WERROR="${QLN_WERROR:-OFF}"
    say "Building"
    cmake --build "$build_dir" --parallel
}

# scripts/dev.sh fuzz [SECONDS]: build the fuzz targets with clang in
# build-fuzz/ and fuzz each for SECONDS (60). Each runs on a scratch copy of
# its corpus, so the tree's corpus only grows by hand (crash inputs are
# added there once fixed).
fuzz() {
    local seconds=${1:-60}
    local fuzz_dir=${QLN_FUZZ_BUILD_DIR:-$here/build-fuzz}
    packages+=(clang)
    install_packages
    say "Configuring in $fuzz_dir (clang, libFuzzer)"
    cmake -S "$here" -B "$fuzz_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQLN_FUZZ=ON
    say "Building the fuzz targets"
    cmake --build "$fuzz_dir" --parallel --target quillon_fuzz
    local scratch failed=()
    scratch=$(mktemp -d)
    for corpus in "$here"/fuzz/corpus/*/; do
        local name target work
        name=$(basename "$corpus")
        target=$fuzz_dir/fuzz/${name}_fuzz
        work=$scratch/$name
        mkdir -p "$work/corpus" "$work/crashes"
        cp "$corpus"* "$work/corpus/"
        say "Fuzzing $name for ${seconds}s"
        if (cd "$work" && "$target" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$work/crashes/" corpus >"$work/log" 2>&1); then
            grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added):' \
                "$work/log" | sed 's/^/   /' || true
        else
            failed+=("$name")
            tail -n 30 "$work/log"
            say "$name FAILED; crash input: $(ls "$work"/crashes/* 2>/dev/null | head -n 1)"
        fi
    done
    if [ ${#failed[@]} -gt 0 ]; then
        say "Crashed: ${failed[*]} (inputs and logs under $scratch)"
        return 1
    fi
    rm -rf "$scratch"
    say "No crash"
}

case "${1:-}" in
    run)
        install_packages
        build
        say "Starting $build_dir/bin/quillon"
        exec "$build_dir/bin/quillon"
        ;;
    test)
        install_packages
        build
        say "Running the test suite"
        cd "$build_dir"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300 </dev/null
        ;;
    build)
        install_packages
        build
        ;;
    package)
        install_packages
        build
        say "Making the Debian package"
        (cd "$build_dir" && cpack -G DEB)
        say "Install it with: sudo apt install $(ls "$build_dir"/quillon_*.deb | tail -n 1)"
        ;;
    fuzz)
        fuzz "${2:-60}"
        ;;
    *)
        echo "usage: $0 run|test|build|package" >&2
        exit 2
        ;;
esac
