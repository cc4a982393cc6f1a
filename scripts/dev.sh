#!/usr/bin/env bash
# Set-up, build, start and test Quillon on Debian 12.
#   scripts/dev.sh run    install what is missing, build (Release), start Quillon
#   scripts/dev.sh test   install what is missing, build (Release), run every test
#   scripts/dev.sh build  install what is missing and build only
#   scripts/dev.sh package  install what is missing, build, make build/quillon_*.deb
#   scripts/dev.sh sanitize  build with AddressSanitizer + UBSan (build-asan) and
#                            run every test, then with ThreadSanitizer (build-tsan)
#                            and run the tests labelled "threads"
#   scripts/dev.sh tidy [all]  clang-tidy (the root .clang-tidy) over the sources
#                            this branch changed, or over all of src/ and tests/
#   scripts/dev.sh format   clang-format check of the C++ files this branch changed
#   scripts/dev.sh fuzz [SECONDS]  build the fuzz targets with clang (build-fuzz)
#                            and fuzz each for SECONDS (60)
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

# Only the checks need these; the README's set-up does not install them.
check_packages=(clang-tidy clang-format git)

say() { printf '== %s\n' "$*"; }

install_packages() {
    local missing=()
    for p in "${packages[@]}" "$@"; do
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

# One sanitizer build: its own folder, the same CMake options as CI's build.
sanitizer_build() { # KIND DIR [TARGET...]
    local kind=$1 dir=$2
    shift 2
    say "Configuring in $dir (QLN_SANITIZE=$kind)"
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQLN_WERROR="${QLN_WERROR:-OFF}" -DQLN_SANITIZE="$kind"
    say "Building in $dir"
    if [ $# -gt 0 ]; then
        cmake --build "$dir" --parallel --target "$@"
    else
        cmake --build "$dir" --parallel
    fi
}

sanitize() {
    local supp=$here/tests/sanitizers
    # Halt on the first report, so the test that caused it fails; the
    # suppressions cover only the uninstrumented system libraries.
    export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
    # ThreadSanitizer cannot see the locks inside Debian's uninstrumented
    # libraries (Qt, MediaInfo), and after such a library's load it even
    # loses the loading thread's own: it leaves their code alone. A child
    # forked while threads run may start one before it runs its program;
    # TSan would stop it there.
    export TSAN_OPTIONS=suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1:die_after_fork=0
    export QT_QPA_PLATFORM=offscreen
    local asan_dir=${QLN_ASAN_DIR:-$here/build-asan} tsan_dir=${QLN_TSAN_DIR:-$here/build-tsan}

    sanitizer_build address "$asan_dir"
    say "Running the test suite under AddressSanitizer and UBSan"
    (cd "$asan_dir" && ctest --output-on-failure --parallel "$(nproc)" </dev/null)

    # ThreadSanitizer: only the test programs that start threads.
    sanitizer_build thread "$tsan_dir" quillon_tests_threads
    say "Running the tests that start threads under ThreadSanitizer"
    (cd "$tsan_dir" && ctest --output-on-failure --parallel "$(nproc)" -L threads </dev/null)
}

# clang-tidy over the Release build's compile_commands.json. "all": every
# source file of src/ and tests/ (over an hour of CPU: for a release or after
# changing .clang-tidy); otherwise the sources changed (as the format check
# picks them), which keeps CI within its time. A changed header is checked
# through the sources changed with it, or by "all".
tidy() {
    build
    local files=()
    if [ "${1:-}" = all ]; then
        files=("^$here/(src|tests)/")
    else
        local f
        while IFS= read -r f; do
            case $f in
                src/*.cpp | tests/*.cpp) files+=("^$here/$f\$") ;;
            esac
        done < <(changed_cxx_files)
        if [ ${#files[@]} -eq 0 ]; then
            say "clang-tidy: no source file of src/ or tests/ changed"
            return
        fi
    fi
    # clang cannot read GCC's precompiled headers: each source is checked as
    # it stands, with its own includes.
    local db
    db=$(mktemp -d)
    sed -E 's/ -Winvalid-pch//g; s/ -include [^ "]*cmake_pch\.hxx//g' \
        "$build_dir/compile_commands.json" >"$db/compile_commands.json"
    say "clang-tidy over ${#files[@]} path patterns"
    run-clang-tidy -quiet -p "$db" -j "$(nproc)" "${files[@]}" </dev/null
    rm -rf "$db"
}

# The C++ files a change touched, for the format check:
#  - on a branch: what changed since it left main (the merge base with the
#    upstream main: origin/main, else a local main);
#  - on main itself, as in CI's clean clone where HEAD is main: the last
#    commit's files, which is the change being checked;
#  - with no history to compare (a shallow clone of depth 1): every file,
#    since the tree is kept formatted as a whole.
changed_cxx_files() {
    local base="" ref
    for ref in origin/main main; do
        if git -C "$here" rev-parse -q --verify "$ref^{commit}" >/dev/null; then
            base=$(git -C "$here" merge-base HEAD "$ref") && break
        fi
    done
    if [ -z "$base" ] || [ "$base" = "$(git -C "$here" rev-parse HEAD)" ]; then
        base=$(git -C "$here" rev-parse -q --verify 'HEAD~1^{commit}') || base=""
    fi
    if [ -z "$base" ]; then
        git -C "$here" ls-files -- '*.cpp' '*.h'
    else
        git -C "$here" diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
    fi
}

format_check() {
    local files=()
    mapfile -t files < <(changed_cxx_files)
    if [ ${#files[@]} -eq 0 ]; then
        say "Format check: no C++ file changed"
        return
    fi
    say "Format check of ${#files[@]} C++ files"
    (cd "$here" && clang-format --dry-run -Werror "${files[@]}")
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
    sanitize)
        install_packages
        sanitize
        ;;
    tidy)
        install_packages "${check_packages[@]}"
        tidy "${2:-}"
        ;;
    format)
        install_packages "${check_packages[@]}"
        format_check
        ;;
    *)
        echo "usage: $0 run|test|build|package|sanitize|tidy|format|fuzz [SECONDS]" >&2
        exit 2
        ;;
esac
