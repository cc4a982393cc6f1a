#!/bin/sh
# Makes the manual pages and the shell completions from quillon-cli's own
# --help texts and word lists, so that they cannot drift from the program.
#   sh gen-docs.sh QUILLON-CLI TEMPLATE-DIR OUT-DIR VERSION
# Writes OUT-DIR/quillon.1, quillon-cli.1, quillon-cli.bash, _quillon-cli.
set -eu
cli=$1
templates=$2
out=$3
version=$4

work=$out/help
rm -rf "$work"
mkdir -p "$work"

# The program must not take its settings from the build machine's user.
HOME=$work
export HOME
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME

"$cli" --help >"$work/main.help"
commands=$(awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' "$work/main.help")
for command in $commands; do
    "$cli" "$command" --help >"$work/$command.help"
done
"$cli" --list-set-keys >"$work/set-keys"
"$cli" --list-extensions | tr 'A-Z' 'a-z' >"$work/extensions"

# One record per line, tab-separated, from a help text:
#   U  usage (after "Usage: quillon-cli ")
#   O  option and value ("-o, --output FILE")  description (continuation lines joined)
#   T  a line of prose       B  a blank line
# Section headings ("Options:") and the main help's command list are left
# out: each command's own help describes it.
parse() {
    awk '
        function trim(s) { sub(/^ +/, "", s); sub(/ +$/, "", s); return s }
        # An option is printed once its continuation lines are known.
        function flush() { if (option != "") printf "O\t%s\t%s\n", option, description; option = "" }
        NR == 1 { sub(/^Usage: quillon-cli */, ""); print "U\t" $0; next }
        /^       quillon-cli / { sub(/^ +quillon-cli */, ""); print "U\t" $0; next }
        /^    / && option != "" { description = description " " trim($0); next }
        { flush() }
        /^Commands:$/ { skip = 1 }
        skip { next }
        /^[A-Z][a-z ]*:$/ { next }
        /^  -/ {
            match($0, /^  -[^ ,]+(, -[^ ]+)?( [^ ]+)?/)
            option = trim(substr($0, 1, RLENGTH))
            description = trim(substr($0, RLENGTH + 1))
            next
        }
        /^$/ { print "B"; next }
        { print "T\t" $0 }
        END { flush() }
    ' "$1"
}

parse "$work/main.help" >"$work/main.rec"
for command in $commands; do
    parse "$work/$command.help" >"$work/$command.rec"
done

# --- manual pages -----------------------------------------------------------

# Records to troff: options as tagged paragraphs, prose as it is.
to_troff() {
    awk -F '\t' -v synopsis="$2" -v sq="'" '
        function esc(s) {
            gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
            if (s ~ "^[." sq "]") s = "\\&" s
            return s
        }
        function option_troff(s,    n, parts, i, p, comma, r) {
            n = split(s, parts, " ")
            for (i = 1; i <= n; i++) {
                p = parts[i]; comma = ""
                if (p ~ /,$/) { sub(/,$/, "", p); comma = "," }
                r = r (i > 1 ? " " : "") (p ~ /^-/ ? "\\fB" esc(p) "\\fR" : "\\fI" esc(p) "\\fR") comma
            }
            return r
        }
        $1 == "U" { if (synopsis != "") { if (u++) print ".br"; print ".B " synopsis; print esc($2); printed = 1 } next }
        $1 == "O" { print ".TP"; print option_troff($2); print esc($3); inOption = 1; pending = 0; next }
        $1 == "B" { pending = 1; next }
        $1 == "T" {
            if (inOption || (pending && printed)) print ".PP"
            inOption = 0; pending = 0; printed = 1
            print esc($2)
        }
    ' "$1"
}

# Global options of the main help only (its usage lines are the synopsis).
awk -F '\t' '$1 == "O"' "$work/main.rec" >"$work/global.rec"
to_troff "$work/global.rec" "" >"$work/global.troff"
to_troff "$work/main.rec" "quillon\\-cli" | awk '/^\.TP$/ { exit } { print }' >"$work/synopsis.troff"
: >"$work/commands.troff"
for command in $commands; do
    {
        printf '.SS %s\n' "$command"
        to_troff "$work/$command.rec" "quillon\\-cli"
    } >>"$work/commands.troff"
done

# A template with its @NAME@ lines replaced by the files made above and the
# shared sections.
fill() {
    awk -v work="$work" -v templates="$templates" -v version="$version" '
        function include(path,    line) {
            while ((getline line < path) > 0) print line
            close(path)
        }
        { gsub(/@VERSION@/, version) }
        /^@SYNOPSIS@$/ { include(work "/synopsis.troff"); next }
        /^@GLOBAL_OPTIONS@$/ { include(work "/global.troff"); next }
        /^@COMMANDS@$/ { include(work "/commands.troff"); next }
        /^@FILES@$/ { include(templates "/man-files.in"); next }
        { print }
    ' "$1"
}
fill "$templates/quillon-cli.1.in" >"$out/quillon-cli.1"
fill "$templates/quillon.1.in" >"$out/quillon.1"

# --- completions ------------------------------------------------------------

extensions=$(tr '\n' '|' <"$work/extensions" | sed 's/|$//')
set_keys=$(sed 's/$/=/' "$work/set-keys" | tr '\n' ' ' | sed 's/ $//')

# Every option of every command (and the global ones), once, with its value.
for command in $commands; do
    awk -F '\t' -v c="$command" '$1 == "O" { print c "\t" $2 "\t" $3 }' "$work/$command.rec"
done >"$work/options.tsv"
awk -F '\t' '$1 == "O" { print "\t" $2 "\t" $3 }' "$work/main.rec" >>"$work/options.tsv"

# bash: what follows an option that takes a value, by the value's name.
awk -F '\t' -v sq="'" '
    {
        n = split($2, parts, " ")
        value = parts[n] ~ /^-/ ? "" : parts[n]
        if (value == "") next
        names = ""
        for (i = 1; i < n; i++) { p = parts[i]; sub(/,$/, "", p); names = names (names == "" ? "" : " | ") p }
        if (seen[names]++) next
        if (value ~ /\|/) { gsub(/\|/, " ", value); action = "COMPREPLY=($(compgen -W " sq value sq " -- \"$cur\"))" }
        else if (value == "SECTION.Key=VALUE") action = "[[ $cur == *=* ]] || { COMPREPLY=($(compgen -W \"$set_keys\" -- \"$cur\")); compopt -o nospace; }"
        else if (value == "DIR") action = "_filedir -d"
        else if (value ~ /^[A-Z]+\.[a-z]+$/) { sub(/^[A-Z]+\./, "", value); action = "_filedir " value }
        else if (value ~ /^(N|NUMBER)$/) action = ":"
        else action = "_filedir"
        printf "        %s)\n            %s\n            return\n            ;;\n", names, action
    }
' "$work/options.tsv" >"$work/bash-values"

: >"$work/bash-commands"
for command in $commands; do
    options=$(awk -F '\t' '$1 == "O" {
            n = split($2, parts, " ")
            for (i = 1; i <= n; i++) if (parts[i] ~ /^-/) { p = parts[i]; sub(/,$/, "", p); printf "%s ", p }
        }' "$work/$command.rec")
    printf "        %s) options='%s--help' ;;\n" "$command" "$options" >>"$work/bash-commands"
done
global_options=$(awk -F '\t' '$1 == "O" { split($2, parts, " "); printf "%s ", parts[1] }' "$work/main.rec")

awk -v work="$work" -v commands="$(echo $commands)" -v globals="${global_options}--version --help" \
    -v keys="$set_keys" -v media="$extensions" '
    function include(path,    line) {
        while ((getline line < path) > 0) print line
        close(path)
    }
    /^@VALUE_CASES@$/ { include(work "/bash-values"); next }
    /^@COMMAND_OPTIONS@$/ { include(work "/bash-commands"); next }
    {
        gsub(/@COMMANDS@/, commands); gsub(/@GLOBAL_OPTIONS@/, globals)
        gsub(/@SET_KEYS@/, keys); gsub(/@MEDIA@/, media)
        print
    }
' "$templates/quillon-cli.bash.in" >"$out/quillon-cli.bash"

# zsh: the same facts as _arguments option descriptions.
awk '/^Commands:/ { on = 1; next }
     on && /^  [a-z]/ { name = $1; next }
     on && /^      / { sub(/^ +/, ""); print name "\t" $0 }' "$work/main.help" >"$work/summaries.tsv"
awk -F '\t' -v sq="'" -v keys="$(tr '\n' ' ' <"$work/set-keys")" -v media="$extensions" \
    -v commands="$(echo $commands)" '
    # Text inside single quotes.
    function q(s) { gsub(sq, sq "\\" sq sq, s); return s }
    function zsh_option(names, description,    n, parts, i, p, value, brace, paren, count, r, action) {
        n = split(names, parts, " ")
        value = parts[n] ~ /^-/ ? "" : parts[n]
        for (i = 1; i <= n; i++) {
            if (parts[i] !~ /^-/) continue
            p = parts[i]; sub(/,$/, "", p)
            brace = brace (count ? "," : "") p; paren = paren (count ? " " : "") p; count++
        }
        gsub(/[][]/, "\\\\&", description)
        if (count > 1) r = sq "(" paren ")" sq "{" brace "}" sq
        else r = sq (description ~ /repeatable/ ? "*" : "") brace
        if (value ~ /\|/) { action = value; gsub(/\|/, " ", action); action = ":" value ":(" action ")" }
        else if (value == "SECTION.Key=VALUE") action = ":key:{compadd -S = -- " keys "}"
        else if (value == "DIR") action = ":" value ":_files -/"
        else if (value ~ /^(N|NUMBER)$/) action = ":" value ":"
        else if (value != "") action = ":" value ":_files"
        return r "[" q(description) "]" q(action) sq
    }
    FILENAME ~ /summaries/ { gsub(/:/, "\\:", $2); summary[$1] = q($2); next }
    { options[$1] = options[$1] "            " zsh_option($2, $3) " \\\n" }
    END {
        print "#compdef quillon-cli"
        print "# Made from quillon-cli --help by gen-docs.sh."
        print ""
        print "_quillon-cli() {"
        print "    local -a commands"
        print "    commands=("
        n = split(commands, list, " ")
        for (i = 1; i <= n; i++) print "        " sq list[i] ":" summary[list[i]] sq
        print "    )"
        print "    local context state state_descr line"
        print "    typeset -A opt_args"
        print "    _arguments -C \\"
        printf "%s", options[""]
        print "        " sq "(- *)--version[print the version]" sq " " sq "(- *)--help[print the usage]" sq " \\"
        print "        " sq "1:command:->command" sq " " sq "*::argument:->argument" sq
        print "    case $state in"
        print "    command) _describe command commands ;;"
        print "    argument)"
        print "        case $words[1] in"
        for (i = 1; i <= n; i++) {
            print "        " list[i] ")"
            print "            _arguments \\"
            printf "%s", options[list[i]]
            print "            " sq "(- *)--help[print the usage of this command]" sq " \\"
            print "            " sq "*:media file:_files -g \"*.(#i)(" media ")(-.)\"" sq
            print "            ;;"
        }
        print "        esac"
        print "        ;;"
        print "    esac"
        print "}"
        print ""
        print "_quillon-cli \"$@\""
    }
' "$work/summaries.tsv" "$work/options.tsv" >"$out/_quillon-cli"
