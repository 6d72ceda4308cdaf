#!/bin/bash
# TAB in the real window (Xvfb, --windowed): the key reaches the game as a key-down message, and
# the field is then presented at its own size in the middle of the screen, surrounded by
# palette.dat's picture (the screen is repainted with it, so nothing of the doubled field stays
# behind); the window still shows that 640 x 480 screen doubled. Expected picture: palette.dat,
# with the headless runner's splash field (halved back to 200 x 240) at (220, 120).
#
# Usage: window_tab.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, xdotool or
# ImageMagick. VORNE_E2E_KEEP=DIR keeps the matching screenshot.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb xdotool import convert compare
e2e_start_xvfb 1600x1200
e2e_copy_data "$DATA"
e2e_reference "$VORNE" 30 200%
convert "bmp:$E2E_WORK/data/palette.dat" "$E2E_WORK/palette.png"
convert "$E2E_WORK/shot.png" -crop 400x480+120+0 +repage -sample 50% "$E2E_WORK/field.png"
convert "$E2E_WORK/palette.png" "$E2E_WORK/field.png" -geometry +220+120 -composite -sample 200% "$E2E_WORK/expected.png"

e2e_start_game "$VORNE" --keyboard --windowed
# Pressed at once, the key is handled before or within the first ticks of the splash, which
# stays unchanged for about 1.7 s.
e2e_hold Tab
e2e_match_screenshot window_tab

e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"
echo "window_tab: TAB switched to the field at its own size inside palette.dat's picture"
