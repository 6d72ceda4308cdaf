#!/usr/bin/env bash
# The real game killed (strace's syscall tampering) on entry to each file call of saving a new high
# score in turn, then started again: it must find the old pair of score.dat and replay.rep or the
# new one, each whole, and no temporary. The game: the golden whole game against a stored score of
# 1, whose first continue screen (tick 3109) saves. Skipped (77) where tracing is not possible.
#
# Usage: kill_the_save.sh VORNE DATA_DIR SOURCE_DIR
. "$(dirname "$0")/../lib.bash"
vorne=$(realpath "$1")
src=$(realpath "$3")
ticks=3109
need strace
strace -o /dev/null true 2>/dev/null || skip "tracing is not allowed here"
link_data "$(realpath "$2")" "$WORK"
cd "$WORK" || exit 1

old_pair() {
    rm -f score.dat replay.rep ./*.new records.commit
    printf '\001\000\000\000' >score.dat
    printf '\362\236\216\002\001\000\000\000\001\000\036' >replay.rep
    cp score.dat old.score && cp replay.rep old.replay
}
# (In a subshell, so that the shell's own word on a killed job stays out of the output.)
play() { ("$@" "$vorne" --headless --keys "$src/tests/golden/whole_game.keys" --ticks "$ticks" >game.log 2>&1; exit $?) 2>/dev/null; }

# The new pair, from a save nothing interrupts.
old_pair
play || { cat game.log; fail "the game did not run"; }
cmp -s score.dat old.score && fail "the game saved no new high score"
cp score.dat new.score && cp replay.rep new.replay

# The file calls of the save, each with its number among the calls of its kind: from the creation
# of the first temporary to the removal of the marker.
old_pair
calls="openat,write,fsync,close,fchmod,renameat,renameat2,unlinkat"
play strace -f -qq -e trace="$calls" -o calls.log
points=$(awk -v calls="$calls" '
    { sub(/^[0-9]+ +/, ""); name = $0; sub(/\(.*/, "", name); count[name]++ }
    /"replay\.rep\.new"/ && !started { started = 1 }
    started && !done { printf "%s:%d:%s\n", name, count[name], substr($0, 1, 60) }
    /unlinkat\(.*"records\.commit"/ { done = 1 }' calls.log | tr ' ' '\001')
[ -n "$points" ] || fail "no save was seen in the calls"

status=0 seen_old=0 seen_new=0
for point in $points; do
    IFS=: read -r name when call <<<"$point"
    old_pair
    play strace -f -qq -o /dev/null -e trace="$name" -e inject="$name:signal=KILL:when=$when"
    killed=$?
    # The next start reads the records (and finishes or discards what the save left).
    "$vorne" --headless --ticks 1 >next.log 2>&1
    if cmp -s score.dat old.score && cmp -s replay.rep old.replay; then
        pair=old seen_old=$((seen_old + 1))
    elif cmp -s score.dat new.score && cmp -s replay.rep new.replay; then
        pair=new seen_new=$((seen_new + 1))
    else
        pair=SPLIT status=1
    fi
    left=$(ls | grep -E '\.new$|^records\.commit$' | tr '\n' ' ')
    [ -n "$left" ] && { pair="$pair, left behind: $left"; status=1; }
    [ "$killed" = 137 ] || { pair="$pair (not killed: status $killed)"; status=1; }
    echo "killed on $name #$when ${call//$'\001'/ } -> $pair"
done
[ "$status" = 0 ] || fail "a kill lost or split the pair, or left a temporary"
echo "kill_the_save: $((seen_old + seen_new)) kill points, the old pair after $seen_old, the new pair after $seen_new"
