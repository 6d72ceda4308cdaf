#!/bin/bash
# The real window's picture under openbox on a 1600 x 1200 display, compared with the headless
# runner's shot of the same tick of the splash (which holds still for about 1.7 s).
# - --windowed: a 1280 x 960 window with every screen pixel doubled (the field in the centre, the
#   side strips carrying palette.dat's picture). F12 saves the screen in $XDG_PICTURES_DIR/VORNE
#   as user-dirs.dirs names it, the very file of the headless shot, and names it on stderr. ESC
#   on the splash ends the program with status 0.
# - TAB: the field at its own size in the middle of palette.dat's picture (repainted, so nothing
#   of the doubled field stays behind), the window still that 640 x 480 screen doubled.
# - Without --windowed: desktop full screen, the display's mode left alone, the screen at the
#   largest whole factor that fits (2) between black bars; the window manager's close (Alt+F4)
#   ends the program with status 0.
# VORNE_E2E_KEEP=DIR keeps the matching screenshots.
. "$(dirname "$0")/xvfb_lib.bash"
need import convert compare
e2e_setup 1600x1200 wm
e2e_reference 30 200%
cp "$WORK/expected.png" "$WORK/doubled.png"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/config
unset XDG_PICTURES_DIR XDG_DATA_HOME
mkdir -p "$XDG_CONFIG_HOME"
echo 'XDG_PICTURES_DIR="$HOME/My Pictures"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
shots="$HOME/My Pictures/VORNE"

e2e_start_game --keyboard --windowed
e2e_wait_size 1280 960 "--windowed"
e2e_wait_drawn
e2e_hold F12
e2e_match_screenshot window_doubled
e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"
mapfile -t files < <(ls "$shots" 2>/dev/null)
[ "${#files[@]}" = 1 ] || fail "${#files[@]} screenshots in $shots after one F12: ${files[*]}"
grep -qF "screenshot saved as $shots/${files[0]}" "$WORK/game.log" || fail "${files[0]} was not named on stderr"
cmp -s "$shots/${files[0]}" "$WORK/shot.png" || fail "${files[0]} is not the headless runner's shot of the splash"

# TAB: palette.dat with the splash field (halved back to 200 x 240) at (220, 120), doubled.
convert "$WORK/shot.png" -crop 400x480+120+0 +repage -sample 50% "$WORK/field.png"
convert "bmp:$WORK/data/palette.dat" "$WORK/field.png" -geometry +220+120 -composite -sample 200% "$WORK/expected.png"
e2e_start_game --keyboard --windowed
# Pressed at once, the key is handled before or within the first ticks of the splash.
e2e_hold Tab
e2e_match_screenshot window_tab
e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"

# Full screen: 1280 x 960 centred, bars of 160 left and right, 120 above and below.
convert "$WORK/doubled.png" -background black -gravity center -extent 1600x1200 "$WORK/expected.png"
e2e_start_game --keyboard
e2e_wait_size 1600 1200 "full screen"
if command -v xdpyinfo >/dev/null 2>&1; then
    mode=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    [ "$mode" = 1600x1200 ] || fail "the display's mode was changed to $mode"
fi
e2e_match_screenshot window_fullscreen
e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
echo "window_picture: the splash doubled (and saved by F12), the field at its own size after TAB, full screen letterboxed"
