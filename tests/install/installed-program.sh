#!/usr/bin/env bash
# The installed program at work, as a user with a home folder of their own runs it:
#   installed-program.sh PREFIX            the program installed in PREFIX (bin/, share/sondrel/, lib/sondrel/)
#   installed-program.sh --install BUILD   first installs BUILD into a temporary prefix, made read-only
# A CD take onto the emulated writer the first start creates, the data files
# found in share/sondrel/ with the user's own SoftSet.ini winning, and the
# window shown under Xvfb with the hotkey library of lib/sondrel/ loaded. No
# installed file may change, and none may be added to the program's folders.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/sondrel-installed.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
if [ "$1" = --install ]; then
    cmake --install "$2" --prefix "$work/prefix" >/dev/null
    chmod -R a-w "$work/prefix"
    set -- "$work/prefix"
fi
prefix=$(realpath "$1")
fail() { echo "installed-program.sh: $*" >&2; exit 1; }
# Root may write into a read-only tree, so the files themselves are compared.
snapshot() { find "$prefix/bin/Sondrel" "$prefix/bin/sondrel-cli" "$prefix/share/sondrel" \
    "$prefix/lib/sondrel" -printf '%p %m %s\n' -type f -exec sha256sum {} + | sort; }
snapshot >"$work/before"

export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export XDG_STATE_HOME=$work/home/state XDG_CACHE_HOME=$work/home/cache
unset SONDREL_DRIVES SONDREL_REGISTRY SONDREL_MIXER_STATE SONDREL_AUDIO_OUTPUT
export SONDREL_AUDIO_INPUT=tone
cd "$work"
cli=$prefix/bin/sondrel-cli

"$cli" demo --seconds 1 | grep -qxF "program folder: $prefix/share/sondrel/" || fail "demo: program folder"
"$cli" record --to cd --drive D --seconds 2 >"$work/take.out" || fail "the take: $(cat "$work/take.out")"
"$cli" toc D | grep -q '^D: 1 audio track$' || fail "no track on the disc"
[ -f "$XDG_DATA_HOME/sondrel/drives/writer/letter" ] || fail "the emulated writer is not in the user's data folder"
english=$("$cli" text Message 16)
mkdir -p "$XDG_CONFIG_HOME/sondrel"
sed 's/^langsel=1/langsel=2/' "$prefix/share/sondrel/SoftSet.ini" >"$XDG_CONFIG_HOME/sondrel/SoftSet.ini"
[ "$("$cli" text Message 16)" != "$english" ] || fail "the user's SoftSet.ini does not choose the language"
rm "$XDG_CONFIG_HOME/sondrel/SoftSet.ini"

# The window, found on the X server, with the hotkey library mapped.
window() {
    SONDREL_NO_SPLASH=1 SONDREL_QUIT_AFTER_MS=4000 QT_QPA_PLATFORM=xcb "$prefix/bin/sondrel" &
    local pid=$!
    timeout 60 xdotool search --sync --onlyvisible --name '^Sondrel$' >/dev/null || fail "no window"
    grep -qF "$prefix/lib/sondrel/libtrindle.so" "/proc/$pid/maps" || fail "the hotkey library is not loaded"
    wait "$pid" || fail "the window ended with $?"
}
export -f window fail
export prefix
"$here/../support/with-xvfb.sh" bash -c window

snapshot >"$work/after"
diff "$work/before" "$work/after" || fail "the installed files changed"
echo "installed program: take, settings, window and an unchanged tree: passed"
