#!/usr/bin/env bash
# The installed game. `cmake --install` into a scratch DESTDIR lays out what an installed game
# needs; the installed executable, started from an unrelated folder with a home folder of its own,
# finds its data, writes its trace where it was asked, and keeps the records of a game that beats
# the high score in the per-user folder; a lone copy of the executable, with no data within
# reach, fails and says why.
#
# Usage: installed_game.sh BUILD_DIR BINDIR DATADIR CONFIGURED_DATA_DIR
#   BINDIR and DATADIR are the install folders below the prefix (bin and share/vorne, or games
#   and share/games/vorne); CONFIGURED_DATA_DIR is the absolute data folder compiled in.
set -u
build=$(cd "$1" && pwd)
bindir=$2
datadir=$3
configured=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

# ---- the layout
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
usr=$stage/usr
vorne=$usr/$bindir/vorne
[ -x "$vorne" ] || fail "no executable at usr/$bindir/vorne"
for f in palette.dat grA.dat grB.dat grC.dat grD.dat grE.dat grF.dat grG.dat \
         bgm01.mid bgm02.mid bgm03.mid bgm04.mid bgm05.mid bgm06.mid; do
    [ -s "$usr/$datadir/$f" ] || fail "usr/$datadir/$f is not installed"
done
for f in share/applications/io.github.vorne.vorne.desktop share/metainfo/io.github.vorne.vorne.metainfo.xml \
         share/man/man6/vorne.6.gz share/doc/vorne/README.md share/doc/vorne/LICENSE share/doc/vorne/copyright \
         share/doc/vorne/vorne.ini; do
    [ -s "$usr/$f" ] || fail "usr/$f is not installed"
done
grep -qx "Exec=/usr/$bindir/vorne" "$usr/share/applications/io.github.vorne.vorne.desktop" ||
    fail "the desktop entry does not start /usr/$bindir/vorne"
for size in 16 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/io.github.vorne.vorne.png
    [ -s "$icon" ] || fail "no ${size}x$size icon"
    # The PNG header's width and height (big-endian, bytes 16..23).
    read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$w x $h" = "$size x $size" ] || fail "the ${size}x$size icon is $w x $h"
done

# ---- played from an unrelated folder, with a home folder of its own
home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"
run() {  # run ENV... -- ARGS...: the installed game in $elsewhere
    (cd "$elsewhere" && env -u XDG_DATA_HOME HOME="$home" SDL_AUDIODRIVER=dummy "$@")
}
run "$vorne" --headless --ticks 100 --trace t.jsonl >"$work/run.log" 2>&1 ||
    { cat "$work/run.log"; fail "the installed game did not run headless from another folder"; }
ticks=$(grep -o '^{"tick":[0-9]*' "$elsewhere/t.jsonl" | cut -d: -f2 | tr '\n' ' ')
[ "$ticks" = "$(seq -s ' ' 1 100) " ] || fail "the trace does not hold ticks 1 to 100 in order: ${ticks:0:80}..."

# A game that beats the default high score: the shot held from the first tick starts the game,
# takes ship A and fires until the last life is lost, well past 100,000 points.
records=$home/.local/share/vorne
printf '1 z\n' >"$elsewhere/game.keys"
run "$vorne" --headless --keys game.keys --ticks 2500 --trace game.jsonl >"$work/run.log" 2>&1 ||
    { cat "$work/run.log"; fail "the scripted game did not run"; }
best=$(grep -o '"g_hiScore":[0-9]*' "$elsewhere/game.jsonl" | tail -n 1 | cut -d: -f2)
[ "${best:-0}" -gt 100000 ] || fail "the scripted game did not beat the default high score (${best:-none})"
[ "$(stat -c %a "$records")" = 700 ] || fail "$records is not private to its owner: $(stat -c %a "$records")"
[ "$(stat -c %s "$records/score.dat" 2>/dev/null)" = 4 ] || fail "no score.dat in $records"
[ -s "$records/replay.rep" ] || fail "no replay.rep in $records"
for f in score.dat replay.rep palette.dat; do
    [ -e "$elsewhere/$f" ] && fail "$f landed in the folder the game was started from"
done
# The replay of that game is found there again.
run "$vorne" --headless --watch-replay --ticks 50 >"$work/run.log" 2>&1 ||
    { cat "$work/run.log"; fail "the stored replay could not be watched from another folder"; }

# XDG_DATA_HOME, when set, names the folder instead.
xdg=$work/xdg
(cd "$elsewhere" && HOME="$home" XDG_DATA_HOME="$xdg" SDL_AUDIODRIVER=dummy \
    "$vorne" --headless --keys game.keys --ticks 2500 >"$work/run.log" 2>&1) ||
    { cat "$work/run.log"; fail "the game did not run with XDG_DATA_HOME set"; }
[ -s "$xdg/vorne/score.dat" ] && [ -s "$xdg/vorne/replay.rep" ] || fail "no records in \$XDG_DATA_HOME/vorne"

# ---- a lone copy of the executable: nothing within reach (unless this machine has the game
# installed where the build expects it, which such a copy would rightly find)
if [ -e "$configured/palette.dat" ]; then
    echo "skipped the lone copy: $configured holds an installed game"
else
    mkdir -p "$work/lone/bin"
    cp "$vorne" "$work/lone/bin/vorne"
    run "$work/lone/bin/vorne" --headless --ticks 10 >"$work/lone.log" 2>&1
    status=$?
    [ "$status" != 0 ] || fail "a copy of the executable with no data exited 0"
    grep -q "bgm01.mid is missing: not found in $records, $work/lone/bin" "$work/lone.log" ||
        { cat "$work/lone.log"; fail "no line naming the missing file and the folders searched"; }
    # With the music beside it but no pictures, the pictures are what it names.
    cp "$usr/$datadir"/*.mid "$work/lone/bin/"
    run "$work/lone/bin/vorne" --headless --ticks 10 >"$work/lone.log" 2>&1
    status=$?
    [ "$status" != 0 ] || fail "a copy of the executable without pictures exited 0"
    grep -q "palette.dat is missing: not found in $records, $work/lone/bin" "$work/lone.log" ||
        { cat "$work/lone.log"; fail "no line naming the missing picture and the folders searched"; }
    # With every picture there but one that is not a bitmap, that one is named where it was found.
    cp "$usr/$datadir"/*.dat "$work/lone/bin/"
    echo "not a picture" >"$work/lone/bin/grC.dat"
    run "$work/lone/bin/vorne" --headless --ticks 10 >"$work/lone.log" 2>&1
    status=$?
    [ "$status" != 0 ] || fail "a copy of the executable with a broken sheet exited 0"
    grep -q "cannot load $work/lone/bin/grC.dat: it is not an uncompressed 8-bit bitmap" "$work/lone.log" ||
        { cat "$work/lone.log"; fail "no line naming the refused picture"; }
fi
echo "installed_game: layout, a 100-tick trace from another folder, records in the per-user folder, a lone copy refused"
