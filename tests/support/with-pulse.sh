#!/usr/bin/env bash
# Runs a command against a private PulseAudio server started for it alone, with
# one null sink (rec_sink, 44,100 Hz stereo) whose monitor is the default
# source, and stops the server by its process id when the command ends:
#   with-pulse.sh COMMAND [ARGS...]
# The command sees SONDREL_TEST_PULSE=1, SONDREL_TEST_PULSE_PID, and the server
# through PULSE_SERVER and a private XDG_RUNTIME_DIR and HOME.
# Exits 77 (skipped) when PulseAudio is not installed.
set -uo pipefail

for tool in pulseaudio pactl; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "with-pulse.sh: $tool is not installed; skipping" >&2
        exit 77
    fi
done

runtime=$(mktemp -d "${TMPDIR:-/tmp}/sondrel-pulse.XXXXXX")
chmod 700 "$runtime"
mkdir -p "$runtime/home"
export XDG_RUNTIME_DIR=$runtime
export HOME=$runtime/home
export PULSE_SERVER=unix:$runtime/pulse/native
unset PULSE_SINK PULSE_SOURCE DBUS_SESSION_BUS_ADDRESS
# Clients send audio over the socket instead of shared memory: with several
# clients sharing memory blocks (paplay, parec and ALSA's pulse plugin), this
# server version can abort on an assertion about imported blocks
# (memblock.c stat_remove).
printf 'enable-shm = no\n' >"$runtime/client.conf"
export PULSE_CLIENTCONFIG=$runtime/client.conf

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=rec_sink rate=44100 channels=2" \
    -L module-native-protocol-unix >"$runtime/server.log" 2>&1 &
server=$!

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/support/guard-server.sh disable=SC1091
. "$here/guard-server.sh"
guard_server "$server" "$runtime"

for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    if ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
    echo "with-pulse.sh: the PulseAudio server did not come up" >&2
    cat "$runtime/server.log" >&2
    exit 1
fi
pactl set-default-source rec_sink.monitor

# For ThreadSanitizer builds: libpulse's own thread hand-over is invisible to it.
export TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}suppressions=$here/tsan-libpulse.supp"

export SONDREL_TEST_PULSE=1
export SONDREL_TEST_PULSE_PID=$server
"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "with-pulse.sh: the server's log:" >&2
    tail -n 40 "$runtime/server.log" >&2
fi
exit "$status"
