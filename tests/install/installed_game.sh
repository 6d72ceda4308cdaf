#!/usr/bin/env bash
# The installed game (`cmake --install` into a scratch DESTDIR): what it lays out; started from an
# unrelated folder with a home of its own it finds its data, writes its trace where asked and keeps
# a beaten high score in the per-user folder; a lone copy of the executable fails and says why.
#
# Usage: installed_game.sh BUILD_DIR BINDIR DATADIR CONFIGURED_DATA_DIR
#   (the install folders below the prefix, and the absolute data folder compiled in)
. "$(dirname "$0")/../lib.bash"
bindir=$2
datadir=$3
configured=$4

# ---- the layout
install_stage "$1"
vorne=$USR/$bindir/vorne
[ -x "$vorne" ] || fail "no executable at usr/$bindir/vorne"
app=share/applications/io.github.vorne.vorne.desktop
for f in "$datadir"/{palette,grA,grB,grC,grD,grE,grF,grG}.dat "$datadir"/bgm0{1,2,3,4,5,6}.mid "$app" \
         share/metainfo/io.github.vorne.vorne.metainfo.xml share/man/man6/vorne.6.gz \
         share/doc/vorne/{README.md,LICENSE,copyright,vorne.ini}; do
    [ -s "$USR/$f" ] || fail "usr/$f is not installed"
done
grep -qx "Exec=/usr/$bindir/vorne" "$USR/$app" || fail "the desktop entry does not start /usr/$bindir/vorne"
for size in 16 32 48 64 128 256; do
    icon=$USR/share/icons/hicolor/${size}x${size}/apps/io.github.vorne.vorne.png
    [ -s "$icon" ] || fail "no ${size}x$size icon"
    # The PNG header's width and height (big-endian, bytes 16..23).
    read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$w x $h" = "$size x $size" ] || fail "the ${size}x$size icon is $w x $h"
done

# ---- played from an unrelated folder, with a home folder of its own
elsewhere=$WORK/elsewhere
records=$WORK/home/.local/share/vorne
mkdir -p "$WORK/home" "$elsewhere"
run() {  # run EXECUTABLE ARGS...: from $elsewhere, output in $WORK/run.log
    (cd "$elsewhere" && env -u XDG_DATA_HOME HOME="$WORK/home" SDL_AUDIODRIVER=dummy "$@") >"$WORK/run.log" 2>&1
}
run "$vorne" --headless --ticks 100 --trace t.jsonl || { cat "$WORK/run.log"; fail "the installed game did not run headless from another folder"; }
ticks=$(grep -o '^{"tick":[0-9]*' "$elsewhere/t.jsonl" | cut -d: -f2 | tr '\n' ' ')
[ "$ticks" = "$(seq -s ' ' 1 100) " ] || fail "the trace does not hold ticks 1 to 100 in order: ${ticks:0:80}..."

# A game that beats the default high score: the shot held from the first tick starts the game,
# takes ship A and fires until the last life is lost, well past 100,000 points.
printf '1 z\n' >"$elsewhere/game.keys"
run "$vorne" --headless --keys game.keys --ticks 2500 --trace game.jsonl || { cat "$WORK/run.log"; fail "the scripted game did not run"; }
best=$(grep -o '"g_hiScore":[0-9]*' "$elsewhere/game.jsonl" | tail -n 1 | cut -d: -f2)
[ "${best:-0}" -gt 100000 ] || fail "the scripted game did not beat the default high score (${best:-none})"
[ "$(stat -c %a "$records")" = 700 ] || fail "$records is not private to its owner: $(stat -c %a "$records")"
[ "$(stat -c %s "$records/score.dat" 2>/dev/null)" = 4 ] || fail "no score.dat in $records"
[ -s "$records/replay.rep" ] || fail "no replay.rep in $records"
for f in score.dat replay.rep palette.dat; do
    [ -e "$elsewhere/$f" ] && fail "$f landed in the folder the game was started from"
done
# The replay of that game is found there again.
run "$vorne" --headless --watch-replay --ticks 50 || { cat "$WORK/run.log"; fail "the stored replay could not be watched from another folder"; }

# ---- a lone copy of the executable: nothing within reach (unless this machine has the game
# installed where the build expects it, which such a copy would rightly find)
if [ -e "$configured/palette.dat" ]; then
    echo "skipped the lone copy: $configured holds an installed game"
else
    lone=$WORK/lone/bin
    mkdir -p "$lone"
    cp "$vorne" "$lone/vorne"
    refused() {  # refused WHAT LINE: the lone copy with WHAT beside it fails, and says LINE
        run "$lone/vorne" --headless --ticks 10 && fail "a lone copy with $1 exited 0"
        grep -qF "$2" "$WORK/run.log" || { cat "$WORK/run.log"; fail "with $1, no line \"$2\""; }
    }
    refused "nothing" "bgm01.mid is missing: not found in $records, $lone"
    cp "$USR/$datadir"/*.mid "$lone/"
    refused "the music only" "palette.dat is missing: not found in $records, $lone"
    cp "$USR/$datadir"/*.dat "$lone/"
    echo "not a picture" >"$lone/grC.dat"
    refused "a sheet that is no bitmap" "cannot load $lone/grC.dat: it is not an uncompressed 8-bit bitmap"
fi
echo "installed_game: layout, a 100-tick trace from another folder, records in the per-user folder, a lone copy refused"
