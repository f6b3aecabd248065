#!/usr/bin/env bash
# The manual page of sondrel-cli: clean for man, groff and lexgrog; every
# command that "sondrel-cli help" lists has its part, shown by "sondrel-cli
# help COMMAND"; and every option that a source file of the program accepts
# (each "--option" written in it) is in the part of the command that file
# defines, or, for a file that defines none, somewhere in the page.
#   manual.sh CLI PAGE SOURCE_FOLDER
set -euo pipefail
cli=$1 page=$2 sources=$3
part=$(mktemp)
trap 'rm -f "$part"' EXIT
fail() {
    echo "$*" >&2
    exit 1
}
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
warnings+=$(groff -ww -z -man "$page" 2>&1)
[ -z "$warnings" ] || fail "$warnings"
lexgrog "$page" | grep -q '"sondrel-cli - record sound' || fail "lexgrog: $(lexgrog "$page")"

for command in $("$cli" help | sed -n 's/^  \([a-z]*\) .*/\1/p'); do
    "$cli" help "$command" >"$part" || fail "no part for $command"
    head -1 "$part" | grep -qx "   $command" || fail "help $command: $(head -1 "$part")"
    ! grep -E '\\[f(&-]|^ *\.[A-Z]' "$part" || fail "roff left in help $command"
done
! "$cli" help nonsense 2>/dev/null || fail "help for an unknown command"
[ "$("$cli" save D --folder x --help)" = "$("$cli" help save)" ] || fail "save --help is not help save"

missing=""
for file in "$sources"/*.cpp; do
    commands=$(grep -ozP 'CliCommand k\w+\{\s*"\K[a-z]+' "$file" | tr '\0' ' ' || true)
    for option in $(grep -oE '"--[a-z][a-z0-9-]*"' "$file" | tr -d '"' | sort -u); do
        if [ -z "$commands" ]; then
            grep -qF -- "${option//-/\\-}" "$page" || missing+=" $option"
        fi
        for command in $commands; do
            grep -qe "$option\b" <<<"$("$cli" help "$command")" || missing+=" $command $option"
        done
    done
done
[ -z "$missing" ] || fail "not in the manual:$missing"
echo "manual: every command and option of $(ls "$sources"/*.cpp | wc -l) source files"
