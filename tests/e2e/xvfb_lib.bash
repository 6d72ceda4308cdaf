# Shared by the end-to-end tests of the real SDL build (sourced; each is run as SCRIPT
# VORNE_BINARY DATA_DIR and exits 77 when a tool it needs is missing): an X server of its own, a
# copy of the data to play in, the game and its windows, screenshots, its exit, and the start-up
# dialog. Keys are held with keydown, a pause and keyup: "xdotool key" lets go within a few
# milliseconds, which a 29 ms tick would miss.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.bash"
VORNE=$(realpath "$1")
DATA=$(realpath "$2")
E2E_X=
E2E_GAME=
E2E_WID=

# What a failure leaves: the whole screen (beside the binary) and the game's output.
on_fail() {
    [ -n "$E2E_X" ] && shot root "$(dirname "$VORNE")/e2e_failure.png" &&
        echo "  screen: $(dirname "$VORNE")/e2e_failure.png"
    [ -f "$WORK/game.log" ] && sed 's/^/  game: /' "$WORK/game.log"
}

# e2e_start_xvfb WIDTHxHEIGHT: an X server on a free display (Xvfb picks the number and writes it
# to fd 3); exports DISPLAY.
e2e_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    BG+=($!)
    wait_for 5 test -s "$WORK/display" || skip "Xvfb did not start"
    export DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"
    E2E_X=1
}

# e2e_start_wm: openbox, for desktop full screen and the window manager's close. A window mapped
# before openbox has set its client list (the end of its start) may never be managed.
e2e_start_wm() {
    openbox >"$WORK/openbox.log" 2>&1 &
    BG+=($!)
    wm_ready() { xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q 'window id'; }
    wait_for 30 wm_ready || { cat "$WORK/openbox.log"; fail "openbox did not start"; }
    sleep 0.5
}

# e2e_setup WIDTHxHEIGHT [wm]: the X server, openbox when asked for, and the data copied into
# $WORK/data, without records: the game plays in the copy, so nothing it writes lands in the build.
e2e_setup() {
    need Xvfb xdotool
    [ "${2:-}" = wm ] && need openbox xprop
    e2e_start_xvfb "$1"
    [ "${2:-}" = wm ] && e2e_start_wm
    cp -r "$DATA" "$WORK/data"
    rm -f "$WORK/data/score.dat" "$WORK/data/replay.rep"
}

# e2e_reference TICK SCALE: the headless runner's shot of TICK into $WORK/shot.png, and magnified
# SCALE times (nearest neighbour) into $WORK/expected.png.
e2e_reference() {
    (cd "$WORK/data" && "$VORNE" --headless --ticks "$1" --shot "$1:$WORK/shot.png") >"$WORK/headless.log" 2>&1 ||
        fail "the headless runner could not take the reference shot"
    [ "$(convert "$WORK/shot.png" -format %k info:)" -gt 2 ] || fail "the reference shot is (nearly) one colour"
    convert "$WORK/shot.png" -sample "$2" "$WORK/expected.png"
}

# e2e_launch ARGS...: the game in the data copy, in the background, on SDL's dummy audio driver
# (or E2E_AUDIODRIVER's). No leak check: the system's OpenGL driver leaks and is unloaded before
# it, beyond suppressing; our own leaks are the unit tests' and the headless runs'.
e2e_launch() {
    (cd "$WORK/data" && SDL_AUDIODRIVER=${E2E_AUDIODRIVER:-dummy} ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        exec "$VORNE" "$@") >"$WORK/game.log" 2>&1 &
    E2E_GAME=$!
    BG+=($!)
}

# shot WINDOW FILE: the window's picture (false if none comes within 10 s).
shot() { timeout 10 import -window "$1" "$2" 2>/dev/null; }

# e2e_windows: the visible windows named VORNE (the game's, the dialog's, a message box's).
e2e_windows() { xdotool search --onlyvisible --name '^VORNE$' 2>/dev/null; }

# e2e_start_game ARGS...: launches the game and waits for its window into E2E_WID.
e2e_start_game() {
    e2e_launch "$@"
    shows() {
        E2E_WID=$(e2e_windows | head -1)
        [ -n "$E2E_WID" ] || { kill -0 "$E2E_GAME" 2>/dev/null || fail "the game ended before its window appeared"; false; }
    }
    wait_for 15 shows || fail "no visible window named VORNE"
}

# e2e_window_size: WIDTH, HEIGHT, X and Y of the window E2E_WID (or $1).
e2e_window_size() { eval "$(xdotool getwindowgeometry --shell "${1:-$E2E_WID}")"; }

# e2e_wait_size W H WHAT: the window reaches W x H within 3 s.
e2e_wait_size() {
    size_is() { e2e_window_size && [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]; }
    wait_for 3 size_is "$1" "$2" || fail "$3: the window is ${WIDTH}x$HEIGHT, not $1x$2"
}

# e2e_wait_drawn: waits (up to 2 s) for the first ticks drawn: more than a colour or two.
e2e_wait_drawn() {
    drawn() { shot "$E2E_WID" "$WORK/window.png" && [ "$(convert "$WORK/window.png" -format %k info:)" -gt 2 ]; }
    wait_for 2 drawn
}

# e2e_match_screenshot NAME: one of the window's screenshots over the next 4 s (all taken before
# any is compared, which is slow) must equal expected.png; kept as NAME.png in $VORNE_E2E_KEEP.
e2e_match_screenshot() {
    local shots=0 start=$SECONDS i differing=
    while [ $((SECONDS - start)) -lt 4 ] && [ "$shots" -lt 20 ]; do
        shot "$E2E_WID" "$WORK/window$shots.png" && shots=$((shots + 1))
        sleep 0.05
    done
    [ "$shots" -gt 0 ] || fail "no screenshot of the window could be taken"
    for i in $(seq 0 $((shots - 1))); do
        differing=$(compare -metric AE "$WORK/expected.png" "$WORK/window$i.png" null: 2>&1)
        if [ "$differing" = 0 ]; then
            [ -n "${VORNE_E2E_KEEP:-}" ] && cp "$WORK/window$i.png" "$VORNE_E2E_KEEP/$1.png"
            return 0
        fi
    done
    [ -n "${VORNE_E2E_KEEP:-}" ] && cp "$WORK/window$((shots - 1)).png" "$VORNE_E2E_KEEP/$1-mismatch.png"
    fail "$1: none of $shots screenshots showed the reference picture (last: $differing pixels differ)"
}

# e2e_hold KEY...: focuses the window and holds the keys for a tenth of a second (or $HOLD s).
e2e_hold() {
    xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || xdotool windowfocus "$E2E_WID"
    xdotool keydown "$@"
    sleep "${HOLD:-0.1}"
    xdotool keyup "$@"
}

# e2e_start_playing: from the splash into play with the keyboard: the shot held through the
# splash starts the game on the title, a second press takes ship A.
e2e_start_playing() {
    HOLD=3.2 e2e_hold z
    sleep 1.5
    e2e_hold z
    sleep 1
}

# e2e_wait_exit SECONDS: waits that long at most for the game to end; STATUS is then its exit
# status, or "running".
e2e_wait_exit() {
    ended() { ! kill -0 "$E2E_GAME" 2>/dev/null; }
    STATUS=running
    ended || wait_for "$1" ended || return 0
    wait "$E2E_GAME"
    STATUS=$?
}

# e2e_expect_exit STATUS WHAT: the game must end within 10 s with STATUS.
e2e_expect_exit() {
    e2e_wait_exit 10
    [ "$STATUS" = "$1" ] || fail "after $2 the game's status is $STATUS, not $1"
}

# ---- the start-up dialog and its message boxes

# ink FILE X Y W H (pixels): the number of dark pixels (text) in that part of the picture.
ink() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -threshold 40% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}

# e2e_wait_painted WINDOW FILE SPREAD: waits (up to 10 s) for a picture in FILE whose grey levels'
# standard deviation is over SPREAD, not one flat colour; false if none comes.
e2e_wait_painted() {
    painted() {
        shot "$1" "$2" && awk -v d="$(convert "$2" -colorspace gray -format '%[fx:standard_deviation]' info:)" \
            -v s="$3" 'BEGIN { exit !(d > s) }'
    }
    wait_for 10 painted "$@"
}

# e2e_start_dialog: the game with no options, its dialog in E2E_WID once painted; BX and BY are
# the base units worked out from its size, 210 x 215 dialog units plus the 3-pixel frame a side.
e2e_start_dialog() {
    need import convert
    e2e_start_game
    e2e_wait_painted "$E2E_WID" "$WORK/first.png" 0.05
    sleep 0.2
    e2e_window_size
    DIALOG_W=$WIDTH DIALOG_H=$HEIGHT BX= BY=
    local b
    for b in $(seq 3 20); do
        [ $(((210 * b + 2) / 4 + 6)) = "$DIALOG_W" ] && BX=$b
        [ $(((215 * b + 4) / 8 + 6)) = "$DIALOG_H" ] && BY=$b
    done
    [ -n "$BX" ] && [ -n "$BY" ] || fail "the dialog is ${DIALOG_W}x${DIALOG_H}, not 210 x 215 dialog units of any font"
}

# rect X Y W H (dialog units): sets RL RT RW RH, the item's rectangle in window pixels.
rect() {
    RL=$((3 + ($1 * BX + 2) / 4))
    RT=$((3 + ($2 * BY + 4) / 8))
    RW=$((($3 * BX + 2) / 4))
    RH=$((($4 * BY + 4) / 8))
}

# click_button ROW: a left click in the middle of the button at dialog-unit row ROW (25 keyboard,
# 45 joystick, 65 watch replay, 85 quit).
click_button() {
    rect 10 "$1" 190 15
    xdotool mousemove --window "$E2E_WID" $((RL + RW / 2)) $((RT + RH / 2)) click 1
}

# e2e_wait_other SECONDS: OTHER is a visible VORNE window besides E2E_WID (a message box or the
# game), or empty if none shows in that time.
e2e_wait_other() {
    other() { OTHER=$(e2e_windows | grep -vx "$E2E_WID" | head -1) && [ -n "$OTHER" ]; }
    wait_for "$1" other
}

# e2e_wait_gone WINDOW SECONDS: true once the window is no longer visible.
e2e_wait_gone() { wait_for "$2" eval "! e2e_windows | grep -qx $1"; }

# The face the game prefers for its texts; the pictures are compared with ImageMagick's rendering
# of the same strings in it (a font without the characters would show boxes or nothing instead).
REF_FONT=$(fc-list 'VL PGothic' file 2>/dev/null | head -1 | sed 's/: *$//')

# text_matches FILE X Y W H TEXT: true when that part of the picture shows TEXT in real glyphs:
# cropped to its ink, it is compared with TEXT rendered at 9 points and 96 dpi in REF_FONT (other
# glyphs already differ in size by more than 2 pixels, or else in where their strokes are).
text_matches() {
    local file=$1 x=$2 y=$3 w=$4 h=$5 text=$6 cw ch rw rh r
    convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -fuzz 20% -trim +repage "$WORK/crop.png"
    convert -background '#d4d0c8' -fill black -font "$REF_FONT" -density 96 -pointsize 9 label:"$text" \
        -fuzz 20% -trim +repage "$WORK/ref.png"
    read -r cw ch <<<"$(identify -format '%w %h' "$WORK/crop.png")"
    read -r rw rh <<<"$(identify -format '%w %h' "$WORK/ref.png")"
    if [ $((cw - rw)) -gt 2 ] || [ $((rw - cw)) -gt 2 ] || [ $((ch - rh)) -gt 2 ] || [ $((rh - ch)) -gt 2 ]; then
        note "\"$text\": ${cw}x${ch}, its glyphs ${rw}x${rh}"
        return 1
    fi
    # A slight blur on both sides evens out the two renderers' hinting and anti-aliasing.
    convert "$WORK/ref.png" -resize "${cw}x${ch}!" -blur 0x0.8 "$WORK/ref.png"
    convert "$WORK/crop.png" -blur 0x0.8 "$WORK/crop.png"
    r=$(compare -metric RMSE "$WORK/crop.png" "$WORK/ref.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    note "\"$text\": distance $r"
    awk -v r="$r" 'BEGIN { exit !(r < 0.1) }'
}

# e2e_message_box TEXT HOW [over]: a message box captioned VORNE shows (within 10 s) with TEXT
# between its caption bar and its button (ink there, and TEXT's glyphs where VL PGothic is
# installed), over E2E_WID if asked, and goes when closed with HOW: click (its OK button), Return
# or space.
e2e_message_box() {
    e2e_wait_other 10 || fail "no message box; expected \"$1\""
    sleep 0.3
    [ "$(xdotool getwindowname "$OTHER")" = VORNE ] || fail "the message box's caption is not VORNE"
    [ "${3:-}" = over ] && ! e2e_windows | grep -qx "$E2E_WID" && fail "the window went away under its message box"
    e2e_window_size "$OTHER"
    shot "$OTHER" "$WORK/box.png"
    [ "$(ink "$WORK/box.png" 6 30 100 16)" -ge 15 ] || fail "no text in the message box"
    # frame 3, caption 18, margins 12, button 23 high with 14 above it and 12 below
    if [ -n "$REF_FONT" ]; then
        text_matches "$WORK/box.png" 6 25 $((WIDTH - 12)) $((HEIGHT - 71)) "$1" ||
            fail "the message box does not show \"$1\""
    fi
    case "$2" in
        click) xdotool mousemove --window "$OTHER" $((WIDTH / 2)) $((HEIGHT - 26)) click 1 ;;
        *) xdotool key "$2" ;;
    esac
    e2e_wait_gone "$OTHER" 10 || fail "the message box stays after $2"
    sleep 0.3
}
