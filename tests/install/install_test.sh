#!/bin/bash
# Installs the built tree into a temporary prefix and checks it as a user
# meets it: the files, the desktop entry, icons, manual pages (against
# --help), completions, and quillon-cli run from there by a user whose only
# writable folder is a fresh HOME.
#   install_test.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$1
source=$2

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check_file() { [ -f "$prefix/$1" ] || fail "not installed: $1"; }
# A check whose tool is missing is skipped on a contributor's machine; in CI
# the set-up has installed every tool, so a missing one is a failure.
missing_tool() {
    if [ "${CI:-}" = true ]; then fail "missing in CI: $*"; else echo "note: $*"; fi
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The unprivileged user below must reach the prefix and the media file.
chmod 755 "$tmp"
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || {
    cat "$tmp/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
}
cli=$prefix/bin/quillon-cli

# --- the tree ----------------------------------------------------------------
for program in quillon quillon-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not an installed program"
done
for file in share/quillon/data/fourcc_video_tags.txt share/quillon/data/resolutions.txt \
    share/quillon/lang/English.ini share/applications/quillon.desktop \
    share/icons/hicolor/scalable/apps/quillon.svg share/man/man1/quillon.1 \
    share/man/man1/quillon-cli.1 share/bash-completion/completions/quillon-cli \
    share/zsh/vendor-completions/_quillon-cli; do
    check_file "$file"
done
[ -e "$prefix/share/quillon/lang/.gitkeep" ] && fail "lang/.gitkeep installed"
# The guide carries the command line's own help, every command of it.
help=$prefix/share/quillon/data/quillon-help.html
check_file share/quillon/data/quillon-help.html
for command in convert script command; do
    grep -q "<h3 id=\"cli-$command\">" "$help" || fail "the guide lacks quillon-cli $command"
done
grep -q '@[A-Z_]*@' "$help" && fail "a placeholder left in the guide"
[ -e "$prefix/bin/data" ] || [ -e "$prefix/bin/quillon.ini" ] && fail "portable files in bin/"

# PNG icons when the build rendered them: the size its folder names.
if [ -d "$build/packaging/icons" ]; then
    for size in 16 22 24 32 48 64 128 256; do
        png=$prefix/share/icons/hicolor/${size}x${size}/apps/quillon.png
        if [ ! -f "$png" ]; then
            fail "no ${size}x${size} icon"
            continue
        fi
        # IHDR: width and height, 32 bits big-endian each, from byte 16.
        read -r w3 w2 w1 w0 h3 h2 h1 h0 < <(od -An -tu1 -j16 -N8 "$png")
        [ $(((w3 << 24) + (w2 << 16) + (w1 << 8) + w0)) -eq "$size" ] &&
            [ $(((h3 << 24) + (h2 << 16) + (h1 << 8) + h0)) -eq "$size" ] ||
            fail "${size}x${size} icon has another size"
    done
fi

# --- desktop entry and AppStream metadata -----------------------------------
desktop=$prefix/share/applications/quillon.desktop
grep -qx 'Exec=quillon %F' "$desktop" || fail "desktop entry: Exec"
grep -qx 'Icon=quillon' "$desktop" || fail "desktop entry: Icon"
grep -qx 'Terminal=false' "$desktop" || fail "desktop entry: Terminal"
grep -qx 'Categories=AudioVideo;Video;AudioVideoEditing;' "$desktop" || fail "desktop entry: Categories"
expected_mime="MimeType=$(tr '\n' ';' <"$source/packaging/mime-types.txt")"
grep -qxF "$expected_mime" "$desktop" || fail "desktop entry: MimeType is not packaging/mime-types.txt"
grep -q 'video/x-matroska;' "$desktop" || fail "desktop entry: no Matroska"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    missing_tool "desktop-file-validate not installed (desktop-file-utils)"
fi
metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null)
if [ -z "$metainfo" ]; then
    fail "no AppStream metadata"
elif command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" ||
        { cat "$tmp/appstream.log" >&2; fail "appstreamcli validate"; }
else
    missing_tool "appstreamcli not installed (appstream)"
fi

# --- manual pages ------------------------------------------------------------
command -v groff >/dev/null || missing_tool "groff not installed (groff-base)"
for page in quillon.1 quillon-cli.1; do
    command -v groff >/dev/null || break
    warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$prefix/share/man/man1/$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
done

# The options of each --help against the page's section of that command.
help_options() {
    grep -E '^  -' | sed -E 's/^  //; s/ {2,}.*//; s/,/ /g' |
        awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^-/) print $i }' | sort -u
}
man_options() {
    awk -v section="$1" '
        /^\.S[SH] / { on = ($0 == section) ; next }
        on && tp { gsub(/\\-/, "-"); while (match($0, /\\fB-[^\\]+\\fR/)) {
                       print substr($0, RSTART + 3, RLENGTH - 6); $0 = substr($0, RSTART + RLENGTH) } }
        { tp = ($0 == ".TP") }
    ' "$prefix/share/man/man1/quillon-cli.1" | sort -u
}
{ "$cli" --help | help_options; printf -- '--version\n--help\n'; } | sort -u >"$tmp/help.txt"
man_options '.SH GLOBAL OPTIONS' >"$tmp/man.txt"
diff -u "$tmp/help.txt" "$tmp/man.txt" >&2 || fail "man page and --help disagree on the global options"
commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')
[ -n "$commands" ] || fail "no commands in --help"
for command in $commands; do
    "$cli" "$command" --help | help_options >"$tmp/help.txt"
    man_options ".SS $command" >"$tmp/man.txt"
    grep -qx ".SS $command" "$prefix/share/man/man1/quillon-cli.1" || fail "man page: no command $command"
    diff -u "$tmp/help.txt" "$tmp/man.txt" >&2 || fail "man page and $command --help disagree"
done

# --- bash completion ---------------------------------------------------------
if [ -f /usr/share/bash-completion/bash_completion ]; then
    complete_words() {
        bash -c '
            source /usr/share/bash-completion/bash_completion
            source "$1"
            cd "$2"
            # A builtin only inside a real completion.
            compopt() { :; }
            shift 2
            COMP_WORDS=("$@")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
            COMP_LINE="${COMP_WORDS[*]}"
            COMP_POINT=${#COMP_LINE}
            _quillon_cli quillon-cli
            printf "%s\n" "${COMPREPLY[@]}" | sort
        ' bash "$prefix/share/bash-completion/completions/quillon-cli" "$@"
    }
    mkdir -p "$tmp/files/sub"
    touch "$tmp/files/a.MKV" "$tmp/files/b.avi" "$tmp/files/c.txt"
    [ "$(complete_words "$tmp" quillon-cli co)" = "$(printf 'command\nconvert')" ] ||
        fail "completion: commands"
    [ "$(complete_words "$tmp" quillon-cli convert --if-exists '')" = "$(printf 'overwrite\nrename\nskip')" ] ||
        fail "completion: --if-exists"
    [ "$(complete_words "$tmp" quillon-cli convert --set AVI.VideoCod)" = "AVI.VideoCodec=" ] ||
        fail "completion: --set keys"
    [ "$(complete_words "$tmp" quillon-cli script --o)" = "--out-dir
--output" ] || fail "completion: script options"
    [ "$(complete_words "$tmp/files" quillon-cli convert '')" = "$(printf 'a.MKV\nb.avi\nsub')" ] ||
        fail "completion: media files"
else
    missing_tool "bash-completion not installed, completion not exercised"
fi
if command -v zsh >/dev/null; then
    zsh -n "$prefix/share/zsh/vendor-completions/_quillon-cli" || fail "zsh completion syntax"
else
    missing_tool "zsh not installed, its completion not checked"
fi

# --- installed quillon-cli for a user whose only writable folder is HOME -----
if ! command -v ffmpeg >/dev/null; then
    missing_tool "no ffmpeg, the installed info is not run"
else
    home=$tmp/home
    mkdir -p "$home" "$tmp/media"
    ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=size=160x120:rate=10:duration=1 \
        -c:v mpeg4 "$tmp/media/clip.avi" || fail "ffmpeg could not make the test file"
    chmod -R a+rX "$tmp/media" "$prefix"
    as_user=()
    if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
        # CI runs as root, which may write anywhere: run as a user who cannot.
        chown nobody "$home"
        as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
    fi
    find "$prefix" -printf '%p %s %T@\n' | sort >"$tmp/prefix.before"
    touch "$tmp/marker"
    run() {
        env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "${as_user[@]}" "$cli" "$@"
    }
    run paths >"$tmp/paths.txt" 2>"$tmp/paths.err" || fail "installed paths: $(cat "$tmp/paths.err")"
    for line in Layout=installed "IniName=$home/.config/quillon/quillon.ini" \
        "ProfilesDir=$home/.local/share/quillon/profiles" "DataDir=$prefix/share/quillon/data" \
        "LangDir=$prefix/share/quillon/lang" "CacheDir=$home/.cache/quillon" ToolsDir=; do
        grep -qxF "$line" "$tmp/paths.txt" || fail "installed paths: no $line"
    done
    run info "$tmp/media/clip.avi" >"$tmp/info.txt" 2>"$tmp/info.err" ||
        fail "installed info failed: $(cat "$tmp/info.err")"
    grep -q 'Resolution: 160 x 120' "$tmp/info.txt" || fail "installed info: no resolution in the report"

    find "$prefix" -printf '%p %s %T@\n' | sort >"$tmp/prefix.after"
    diff -u "$tmp/prefix.before" "$tmp/prefix.after" >&2 || fail "the run changed the installed tree"
    if [ ${#as_user[@]} -gt 0 ]; then
        # What else that user can write: the shared temporary folders.
        written=$(find /tmp /var/tmp /dev/shm -xdev -user nobody -newer "$tmp/marker" 2>/dev/null |
            grep -v "^$home")
        [ -z "$written" ] || fail "written outside HOME: $written"
    fi
    echo "HOME after the run:"
    (cd "$home" && find . -mindepth 1 | sort)
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "install tree OK"
