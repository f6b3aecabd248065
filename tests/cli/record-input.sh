#!/usr/bin/env bash
# sondrel-cli record from a file input that cannot be used, each step a program
# start: a FIFO is refused at once instead of waiting for a writer, and a WAV
# file of another format is refused with what is wrong with it, not a message
# about a device in use.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=none

refused() { # input file, text the refusal must hold
    if timeout 20 "$cli" record --to file --path "$work/take.wav" --input "file:$1" \
        --seconds 1 >/dev/null 2>"$work/err"; then
        echo "recording from $1 was not refused" >&2
        exit 1
    fi
    grep -qF "$2" "$work/err" || { cat "$work/err" >&2; exit 1; }
}

mkfifo "$work/pipe.wav"
refused "$work/pipe.wav" "$work/pipe.wav is not a regular file"
# A mono 8 kHz WAV header with a little audio.
printf 'RIFF\x2c\x01\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00'\
'\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x01\x00\x00' >"$work/mono.wav"
head -c 256 /dev/zero >>"$work/mono.wav"
refused "$work/mono.wav" "$work/mono.wav holds 8000 Hz, 16-bit, 1 channel(s)"
refused "$work/missing.wav" "$work/missing.wav: No such file or directory"
