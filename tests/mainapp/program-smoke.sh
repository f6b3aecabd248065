#!/usr/bin/env bash
# Starts the Sondrel program on its embedded default (tone input, virtual
# mixer, an emulated writer in a private folder) and lets it close itself:
#   program-smoke.sh PROGRAM offscreen|xvfb
# Exits 77 (skipped) for xvfb when Xvfb is not installed.
set -euo pipefail
program=$1
platform=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/sondrel-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
export SONDREL_AUDIO_INPUT=tone
export SONDREL_MIXER_STATE=$work/mixer-state
export SONDREL_DRIVES=$work/drives
export SONDREL_REGISTRY=$work/registry.ini
export SONDREL_QUIT_AFTER_MS=1500

case $platform in
offscreen)
    QT_QPA_PLATFORM=offscreen "$program"
    ;;
xvfb)
    if ! command -v xvfb-run >/dev/null 2>&1; then
        echo "program-smoke.sh: xvfb-run is not installed; skipping" >&2
        exit 77
    fi
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    xvfb-run --auto-servernum --error-file=/dev/stderr --server-args="-screen 0 800x600x24 -nolisten tcp" \
        env QT_QPA_PLATFORM=xcb "$program"
    ;;
*)
    echo "program-smoke.sh: unknown platform $platform" >&2
    exit 2
    ;;
esac
# The emulated writer was listed: the window read the drive list.
test -d "$SONDREL_DRIVES"
