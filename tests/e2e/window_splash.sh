#!/bin/bash
# The real SDL build in a real X window (Xvfb): the window shows the splash exactly as the
# headless runner's screenshot of the same tick does, every screen pixel doubled (so the field is
# shown doubled in the centre and the side strips carry palette.dat's picture), and ESC on the
# splash ends the program with status 0.
#
# Usage: window_splash.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, xdotool or
# ImageMagick. Keys are held with keydown, a pause and keyup: a plain "xdotool key" releases the
# key after a few milliseconds, which a 29 ms tick would miss.
set -u
VORNE=$1
DATA=$2

for tool in Xvfb xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

WORK=$(mktemp -d)
XVFB=
GAME=
cleanup() {
    [ -n "$GAME" ] && kill "$GAME" 2>/dev/null
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$WORK/game.log" ] && sed 's/^/  game: /' "$WORK/game.log"
    exit 1
}

# An X server on a free display (Xvfb picks the number and writes it to fd 3). Without a window
# manager desktop full screen does not take effect, so the game runs --windowed: 1280 x 960, the
# screen doubled, fits this display.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB=$!
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.05
done
if [ ! -s "$WORK/display" ]; then
    echo "skipped: Xvfb did not start"
    exit 77
fi
export DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"

# The game plays in a copy of the data folder: nothing it might write lands in the build.
cp -r "$DATA" "$WORK/data"
(cd "$WORK/data" && "$VORNE" --headless --ticks 30 --shot "30:$WORK/expected.png") >"$WORK/headless.log" 2>&1 ||
    fail "the headless runner could not take the reference shot"
[ "$(convert "$WORK/expected.png" -format %k info:)" -gt 2 ] || fail "the reference shot is (nearly) one colour"
convert "$WORK/expected.png" -sample 200% "$WORK/expected2x.png"

(cd "$WORK/data" && SDL_AUDIODRIVER=dummy exec "$VORNE" --keyboard --windowed) >"$WORK/game.log" 2>&1 &
GAME=$!

WID=
for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name '^VORNE$' 2>/dev/null | head -1)
    [ -n "$WID" ] && break
    kill -0 "$GAME" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.05
done
[ -n "$WID" ] || fail "no visible window named VORNE"
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 960 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1280x960"

# The splash stays unchanged for its first 59 ticks (about 1.7 s): take screenshots until one
# equals the reference (the first ticks may not have been presented yet).
matched=
for attempt in $(seq 12); do
    sleep 0.1
    import -window "$WID" "$WORK/window$attempt.png" 2>/dev/null || continue
    differing=$(compare -metric AE "$WORK/expected2x.png" "$WORK/window$attempt.png" null: 2>&1)
    if [ "$differing" = 0 ]; then
        matched=$attempt
        break
    fi
done
if [ -z "$matched" ]; then
    [ -n "${VORNE_E2E_KEEP:-}" ] && cp "$WORK"/window*.png "$WORK/expected2x.png" "$VORNE_E2E_KEEP"/ 2>/dev/null
    fail "the window never showed the reference picture (last: $differing pixels differ)"
fi
[ -n "${VORNE_E2E_KEEP:-}" ] && cp "$WORK/window$matched.png" "$VORNE_E2E_KEEP/window_splash.png"

# ESC on the splash ends the program, with status 0.
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
xdotool keydown Escape
sleep 0.1
xdotool keyup Escape
for _ in $(seq 100); do
    kill -0 "$GAME" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$GAME" 2>/dev/null && fail "the game still runs 5 s after ESC on the splash"
wait "$GAME"
status=$?
GAME=
[ "$status" = 0 ] || fail "exit status $status after ESC, not 0"
echo "window_splash: the window matched the headless shot (attempt $matched), ESC ended with status 0"
exit 0
