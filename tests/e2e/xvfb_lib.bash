# Shared by the end-to-end window tests (tests/e2e/window_*.sh): an X server of their own, a copy
# of the data folder, the game started in it, its window found, screenshots compared with the
# headless runner's, and the game's exit awaited. Sourced, not run; not a test by itself.
#
# Keys are held with keydown, a pause and keyup: a plain "xdotool key" releases the key after a
# few milliseconds, which a 29 ms tick would miss.

E2E_WORK=$(mktemp -d)
E2E_XVFB=
E2E_WM=
E2E_GAME=
E2E_WID=

e2e_cleanup() {
    [ -n "$E2E_GAME" ] && kill "$E2E_GAME" 2>/dev/null
    [ -n "$E2E_WM" ] && kill "$E2E_WM" 2>/dev/null
    [ -n "$E2E_XVFB" ] && kill "$E2E_XVFB" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*"
    [ -f "$E2E_WORK/game.log" ] && sed 's/^/  game: /' "$E2E_WORK/game.log"
    exit 1
}

e2e_skip() {
    echo "skipped: $*"
    exit 77
}

# e2e_require TOOL...: skip the test when one is missing.
e2e_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || e2e_skip "$tool is not installed"
    done
}

# e2e_start_xvfb WIDTHxHEIGHT: an X server on a free display (Xvfb picks the number and writes it
# to fd 3); exports DISPLAY.
e2e_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$E2E_WORK/display" 2>"$E2E_WORK/xvfb.log" &
    E2E_XVFB=$!
    local _
    for _ in $(seq 100); do
        [ -s "$E2E_WORK/display" ] && break
        sleep 0.05
    done
    [ -s "$E2E_WORK/display" ] || e2e_skip "Xvfb did not start"
    export DISPLAY=":$(tr -d '[:space:]' <"$E2E_WORK/display")"
}

# e2e_start_wm: openbox, so that desktop full screen and the window manager's close work.
e2e_start_wm() {
    openbox >"$E2E_WORK/openbox.log" 2>&1 &
    E2E_WM=$!
    local start=$SECONDS
    while [ $((SECONDS - start)) -lt 30 ]; do
        # Openbox names itself on the root window early in its start, but a window mapped before
        # it has finished starting may never be managed (nor shown); its client list comes at
        # the end of the start, and a moment more makes sure.
        if xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q 'window id'; then
            sleep 0.5
            return 0
        fi
        kill -0 "$E2E_WM" 2>/dev/null || break
        sleep 0.1
    done
    cat "$E2E_WORK/openbox.log"
    e2e_fail "openbox did not start"
}

# e2e_copy_data DATA_DIR: the game plays in a copy, so nothing it writes lands in the build.
e2e_copy_data() {
    cp -r "$1" "$E2E_WORK/data"
}

# e2e_reference VORNE TICK SCALE: the headless runner's shot of TICK, magnified SCALE times
# (nearest neighbour) into $E2E_WORK/expected.png.
e2e_reference() {
    (cd "$E2E_WORK/data" && "$1" --headless --ticks "$2" --shot "$2:$E2E_WORK/shot.png") >"$E2E_WORK/headless.log" 2>&1 ||
        e2e_fail "the headless runner could not take the reference shot"
    [ "$(convert "$E2E_WORK/shot.png" -format %k info:)" -gt 2 ] || e2e_fail "the reference shot is (nearly) one colour"
    convert "$E2E_WORK/shot.png" -sample "$3" "$E2E_WORK/expected.png"
}

# e2e_start_game VORNE ARGS...: starts the game (no audio device needed: SDL's dummy audio
# driver, or E2E_AUDIODRIVER's) and waits for its
# visible window named VORNE into E2E_WID. In the sanitizer build the leak check is off for the
# windowed game: the system's OpenGL driver leaks a little and is unloaded before the check, so
# its allocations cannot even be named, let alone suppressed. Every other sanitizer error still
# ends the game with a failure; leaks in our own code are checked by the unit tests and the
# headless runs.
e2e_start_game() {
    local vorne=$1
    shift
    (cd "$E2E_WORK/data" && SDL_AUDIODRIVER=${E2E_AUDIODRIVER:-dummy} ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        exec "$vorne" "$@") >"$E2E_WORK/game.log" 2>&1 &
    E2E_GAME=$!
    local _
    E2E_WID=
    for _ in $(seq 100); do
        E2E_WID=$(xdotool search --onlyvisible --name '^VORNE$' 2>/dev/null | head -1)
        [ -n "$E2E_WID" ] && return 0
        kill -0 "$E2E_GAME" 2>/dev/null || e2e_fail "the game ended before its window appeared"
        sleep 0.05
    done
    e2e_fail "no visible window named VORNE"
}

# e2e_window_size: WIDTH and HEIGHT of the game's window.
e2e_window_size() {
    eval "$(xdotool getwindowgeometry --shell "$E2E_WID")"
}

# e2e_match_screenshot NAME: one of the window's screenshots over the next 4 s must equal
# expected.png (the first ticks may not be presented yet). All are taken first and compared
# afterwards: on a busy machine one comparison takes longer than the splash lasts. The match is
# kept as NAME.png in $VORNE_E2E_KEEP when set.
e2e_match_screenshot() {
    local shots=0 start=$SECONDS i differing=
    while [ $((SECONDS - start)) -lt 4 ] && [ "$shots" -lt 20 ]; do
        import -window "$E2E_WID" "$E2E_WORK/window$shots.png" 2>/dev/null && shots=$((shots + 1))
        sleep 0.05
    done
    [ "$shots" -gt 0 ] || e2e_fail "no screenshot of the window could be taken"
    for i in $(seq 0 $((shots - 1))); do
        differing=$(compare -metric AE "$E2E_WORK/expected.png" "$E2E_WORK/window$i.png" null: 2>&1)
        if [ "$differing" = 0 ]; then
            [ -n "${VORNE_E2E_KEEP:-}" ] && cp "$E2E_WORK/window$i.png" "$VORNE_E2E_KEEP/$1.png"
            return 0
        fi
    done
    [ -n "${VORNE_E2E_KEEP:-}" ] && cp "$E2E_WORK/window$((shots - 1)).png" "$VORNE_E2E_KEEP/$1-mismatch.png"
    e2e_fail "none of $shots screenshots showed the reference picture (last: $differing pixels differ)"
}

# e2e_hold KEY...: focuses the window and holds the keys for a tenth of a second.
e2e_hold() {
    xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || xdotool windowfocus "$E2E_WID"
    xdotool keydown "$@"
    sleep 0.1
    xdotool keyup "$@"
}

# e2e_start_playing: from the splash into play with the keyboard: the shot held through the
# splash starts the game on the title, a second press takes ship A.
e2e_start_playing() {
    xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || xdotool windowfocus "$E2E_WID"
    xdotool keydown z
    sleep 3.2
    xdotool keyup z
    sleep 1.5
    e2e_hold z
    sleep 1
}

# e2e_state_field NAME: a number of the state the game wrote at its end (VORNE_STATE_AT_EXIT
# set to $E2E_WORK/state.json).
e2e_state_field() {
    grep -o "\"$1\":-\?[0-9]*" "$E2E_WORK/state.json" 2>/dev/null | head -1 | cut -d: -f2
}

# e2e_expect_exit STATUS WHAT: the game must end within 10 s with STATUS.
e2e_expect_exit() {
    local start=$SECONDS status
    while [ $((SECONDS - start)) -lt 10 ]; do
        kill -0 "$E2E_GAME" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$E2E_GAME" 2>/dev/null && e2e_fail "the game still runs 10 s after $2"
    wait "$E2E_GAME"
    status=$?
    E2E_GAME=
    [ "$status" = "$1" ] || e2e_fail "exit status $status after $2, not $1"
}
