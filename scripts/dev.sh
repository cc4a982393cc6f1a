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
    *)
        echo "usage: $0 run|test|build|package" >&2
        exit 2
        ;;
esac
