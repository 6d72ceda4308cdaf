#!/bin/bash
# The real window's picture (openbox, 1600 x 1200) against the headless runner's shot of the same
# still tick of the splash: --windowed, every pixel doubled, F12 saving that very shot where
# user-dirs.dirs puts pictures; after TAB the field at its own size on palette.dat's picture;
# full screen at the largest whole factor between black bars, the display's mode kept. ESC on the
# splash and Alt+F4 end the program with 0. VORNE_E2E_KEEP=DIR keeps the matching screenshots.
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
