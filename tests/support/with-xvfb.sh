#!/usr/bin/env bash
# Runs a command against a private X server (Xvfb, with the RECORD and XTEST
# extensions) started for it alone on a free display number, and stops the
# server by its process id when the command ends:
#   with-xvfb.sh COMMAND [ARGS...]
# The command sees the server through DISPLAY.
# Exits 77 (skipped) when Xvfb is not installed.
set -uo pipefail

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "with-xvfb.sh: Xvfb is not installed; skipping" >&2
    exit 77
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/sondrel-xvfb.XXXXXX")
# The server picks a free display number and writes it to descriptor 3 once it
# accepts connections.
Xvfb -displayfd 3 -nolisten tcp -screen 0 640x480x24 +extension RECORD +extension XTEST \
    3>"$runtime/display" >"$runtime/server.log" 2>&1 &
server=$!

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/support/guard-server.sh disable=SC1091
. "$here/guard-server.sh"
guard_server "$server" "$runtime"

for _ in $(seq 100); do
    [ -s "$runtime/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
number=$(head -n 1 "$runtime/display" 2>/dev/null)
if [ -z "$number" ]; then
    echo "with-xvfb.sh: Xvfb did not come up" >&2
    cat "$runtime/server.log" >&2
    exit 1
fi
export DISPLAY=":$number"
unset WAYLAND_DISPLAY
"$@"
