#!/bin/bash
# The real SDL build full screen under a window manager (Xvfb with openbox): without --windowed
# the window covers the whole 1600 x 1200 display (desktop full screen, the display's mode left
# alone), the 640 x 480 screen is shown at the largest whole factor that fits (2) in the centre
# with black bars around it, and closing the window through the window manager (Alt+F4) ends
# the program with status 0.
#
# Usage: window_fullscreen.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, openbox,
# xdotool, xprop or ImageMagick. VORNE_E2E_KEEP=DIR keeps the matching screenshot.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb openbox xdotool xprop import convert compare
e2e_start_xvfb 1600x1200
e2e_start_wm
e2e_copy_data "$DATA"
e2e_reference "$VORNE" 30 200%
# 1280 x 960 centred on the 1600 x 1200 display: bars of 160 left and right, 120 above and below.
convert "$E2E_WORK/expected.png" -background black -gravity center -extent 1600x1200 "$E2E_WORK/expected.png"

e2e_start_game "$VORNE" --keyboard
for _ in $(seq 40); do
    e2e_window_size
    [ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] && break
    sleep 0.05
done
[ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] || e2e_fail "full-screen window is ${WIDTH}x${HEIGHT}, not 1600x1200"
if command -v xdpyinfo >/dev/null 2>&1; then
    mode=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    [ "$mode" = 1600x1200 ] || e2e_fail "the display's mode was changed to $mode"
fi
e2e_match_screenshot window_fullscreen

e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
echo "window_fullscreen: desktop full screen, the screen doubled and letterboxed; closing ended with status 0"
