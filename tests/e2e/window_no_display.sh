#!/bin/bash
# Without any display the real build says so and ends with status 1, instead of running a game
# nobody can see (SDL would otherwise fall back to drawing into memory).
#
# Usage: window_no_display.sh VORNE_BINARY DATA_DIR.
set -u
VORNE=$1
DATA=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp -r "$DATA" "$WORK/data"
cd "$WORK/data" || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$WORK" \
    timeout 10 "$VORNE" --keyboard >"$WORK/out.log" 2>&1
status=$?
if [ "$status" != 1 ]; then
    echo "FAIL: exit status $status without a display, not 1"
    cat "$WORK/out.log"
    exit 1
fi
if ! grep -q "display" "$WORK/out.log"; then
    echo "FAIL: no word about the missing display:"
    cat "$WORK/out.log"
    exit 1
fi
echo "window_no_display: status 1 and: $(grep display "$WORK/out.log")"
