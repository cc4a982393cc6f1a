#!/bin/sh
# Makes the user's guide, one HTML page, from its template and quillon-cli's
# own --help texts, so that the command-line part cannot drift from it.
#   sh gen-help.sh QUILLON-CLI TEMPLATE OUT-FILE VERSION
set -eu
cli=$1
template=$2
out=$3
version=$4

# The program must not take its settings from the build machine's user.
HOME=$(mktemp -d)
export HOME
trap 'rm -rf "$HOME"' EXIT
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME

escape() { sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g'; }

blocks=$HOME/cli.html
{
    echo '<pre>'
    "$cli" --help | escape
    echo '</pre>'
    commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')
    for command in $commands; do
        printf '<h3 id="cli-%s">quillon-cli %s</h3>\n<pre>\n' "$command" "$command"
        "$cli" "$command" --help | escape
        echo '</pre>'
    done
} >"$blocks"

awk -v blocks="$blocks" -v version="$version" '
    /^@CLI_HELP@$/ { while ((getline line < blocks) > 0) print line; next }
    { gsub(/@VERSION@/, version); print }
' "$template" >"$out.tmp"
mv "$out.tmp" "$out"
