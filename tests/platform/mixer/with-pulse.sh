#!/usr/bin/env bash
# Runs a command against a private PulseAudio server started for it alone, and stops the
# server (by its process id) when the command ends:
#   with-pulse.sh COMMAND [ARGS...]
# The command sees SONDREL_TEST_PULSE=1 and PULSE_SERVER pointing at the private server.
# Without a pulseaudio program the command runs without them (and its tests skip).
set -euo pipefail

if ! command -v pulseaudio >/dev/null 2>&1 || ! command -v pactl >/dev/null 2>&1; then
    echo "with-pulse: pulseaudio or pactl missing; running without a sound server" >&2
    exec "$@"
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/sondrel-mixer-pulse.XXXXXX")
chmod 700 "$runtime"
mkdir -p "$runtime/home"
export XDG_RUNTIME_DIR=$runtime
export HOME=$runtime/home
export PULSE_SERVER=unix:$runtime/pulse/native
unset DBUS_SESSION_BUS_ADDRESS

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=rec_sink rate=44100 channels=2" \
    -L module-native-protocol-unix >"$runtime/server.log" 2>&1 &
server=$!
export SONDREL_TEST_PULSE_PID=$server

# Should this script itself be killed (a test run's timeout), the server must not outlive it.
wrapper=$$
(
    while kill -0 "$wrapper" 2>/dev/null; do sleep 1; done
    kill "$server" 2>/dev/null
) &
watchdog=$!

stop_server() {
    kill "$watchdog" 2>/dev/null || true
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$runtime"
}
trap stop_server EXIT

for _ in $(seq 1 100); do
    if pactl info >/dev/null 2>&1; then
        break
    fi
    if ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
    echo "with-pulse: the private server did not start:" >&2
    cat "$runtime/server.log" >&2
    exit 1
fi

# For ThreadSanitizer builds: libpulse's own thread hand-over is invisible to it.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}suppressions=$here/tsan-libpulse.supp"

SONDREL_TEST_PULSE=1 "$@"
