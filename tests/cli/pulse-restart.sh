#!/usr/bin/env bash
# Run by with-pulse.sh: a WAV take through ALSA's pulse device whose sound
# server is killed and started again during the take. Capture must open the
# input again and go on; the read-out line says that no sound arrives while
# the server is away; the take ends with a non-zero exit status, saying how
# much sound it lacks, and the file holds the sound from after the restart.
set -euo pipefail
cli=$1
work=$(mktemp -d)
export SONDREL_REGISTRY=$work/registry.ini
restarted=""
trap '[ -n "$restarted" ] && kill "$restarted" 2>/dev/null; rm -rf "$work"' EXIT
take=$work/take.wav

size_of() { stat -c %s "$take" 2>/dev/null || echo 0; }
wait_for_size() { # wait_for_size BYTES: until the take's file is that long
    for _ in $(seq 300); do
        [ "$(size_of)" -ge "$1" ] && return 0
        sleep 0.1
    done
    echo "the take's file stayed at $(size_of) bytes, waiting for $1" >&2
    return 1
}

status=0
"$cli" record --to file --path "$take" --input alsa:pulse --seconds 12 >"$work/out" \
    2>"$work/err" &
take_pid=$!
wait_for_size $((80 + 3 * 37632))

kill -KILL "$SONDREL_TEST_PULSE_PID"
sleep 3
before=$(size_of)
# The same server as with-pulse.sh starts, on the same socket.
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=rec_sink rate=44100 channels=2" \
    -L module-native-protocol-unix >"$work/server.log" 2>&1 &
restarted=$!
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl set-default-source rec_sink.monitor
wait_for_size $((before + 2 * 37632))
wait "$take_pid" || status=$?

cat "$work/err" >&2
[ "$status" -ne 0 ] || { echo "exit status 0 for a take with a gap" >&2; exit 1; }
grep -q 'No sound arrives' "$work/out" || { echo "the read-out never said so" >&2; exit 1; }
grep -Eq 'No sound arrives: the take lacks about [1-9][0-9]* s of sound' "$work/err"
size=$(stat -c %s "$take")
[ "$(od -An -tu4 -j76 -N4 "$take" | tr -d ' ')" -eq $((size - 80)) ]
echo "take with the server restarted: $((before - 80)) bytes before, $((size - 80)) in all"
