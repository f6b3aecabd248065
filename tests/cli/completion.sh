#!/usr/bin/env bash
# The bash completion of sondrel-cli, driven as bash drives it (COMP_WORDS,
# COMP_CWORD): it is registered for the command, offers every command that
# "sondrel-cli help" lists, every option the manual gives each command (after
# the command or its sub-commands), and the words of an option's value.
set -euo pipefail
cli=$1
# shellcheck source=/dev/null
source "$2"
complete -p sondrel-cli | grep -q -- '-F _sondrel_cli'

# offered WORD...: what completing the last WORD offers, one per line.
offered() {
    COMP_WORDS=(sondrel-cli "$@")
    COMP_CWORD=$#
    _sondrel_cli
    printf '%s\n' "${COMPREPLY[@]}"
}
missing=""
commands=$("$cli" help | sed -n 's/^  \([a-z]*\) .*/\1/p')
for command in $commands; do
    grep -qx "$command" <<<"$(offered "")" || missing+=" command $command"
    subs=$(offered "$command" "" | grep -v '^-' || true)
    all=$(offered "$command" --; for sub in $subs; do offered "$command" "$sub" D --; done)
    for option in $("$cli" help "$command" | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
        grep -qx -- "$option" <<<"$all" || missing+=" $command $option"
    done
done
[ -z "$missing" ] || { echo "not completed:$missing" >&2; exit 1; }
[ "$(offered record --to c)" = cd ] || { echo "record --to c: $(offered record --to c)" >&2; exit 1; }
[ "$(offered save D --format "" | tr '\n' ' ')" = "wav mp3 " ]
[ "$(offered dis)" = disc ]
[ "$(offered --json erase D --y)" = --yes ]
echo "completion: $(wc -w <<<"$commands") commands and their options"
