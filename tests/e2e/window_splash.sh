#!/bin/bash
# The real SDL build in a real X window (Xvfb, no window manager, so --windowed): the window
# shows the splash exactly as the headless runner's screenshot of the same tick does with every
# screen pixel doubled (the field doubled in the centre, the side strips carrying palette.dat's
# picture, the whole 1280 x 960 window filled at factor 2), and ESC on the splash ends the
# program with status 0.
#
# Usage: window_splash.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, xdotool or
# ImageMagick. VORNE_E2E_KEEP=DIR keeps the matching screenshot.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb xdotool import convert compare
e2e_start_xvfb 1600x1200
e2e_copy_data "$DATA"
# The splash stays unchanged for its first 59 ticks (about 1.7 s).
e2e_reference "$VORNE" 30 200%

e2e_start_game "$VORNE" --keyboard --windowed
e2e_window_size
[ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 960 ] || e2e_fail "window is ${WIDTH}x${HEIGHT}, not 1280x960"
e2e_match_screenshot window_splash

e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"
echo "window_splash: the window showed the headless shot doubled; ESC ended the program with status 0"
