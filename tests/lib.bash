# Shared by the test scripts (sourced, not run): a scratch folder $WORK, removed at the end with
# every process listed in BG stopped first (the last started first); failing (status 1, with
# on_fail's account when the script defines one) and skipping (77, for CTest's SKIP_RETURN_CODE).
set -u
WORK=$(mktemp -d)
BG=()

cleanup() {
    local i
    for ((i = ${#BG[@]} - 1; i >= 0; i--)); do kill "${BG[i]}" 2>/dev/null || true; done
    for ((i = 0; i < 20; i++)); do
        jobs -pr | grep -q . || break
        sleep 0.1
    done
    for i in "${BG[@]}"; do kill -9 "$i" 2>/dev/null || true; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    declare -F on_fail >/dev/null && on_fail
    exit 1
}
skip() {
    echo "skipped: $*"
    exit 77
}
note() { echo "  $*"; }

# wait_for SECONDS COMMAND...: true as soon as COMMAND is (tried every 0.05 s), false if it is not
# within SECONDS.
wait_for() {
    local i tries=$(($1 * 20))
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

# need TOOL...: skips the test when one is missing.
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
}

# logged LOG WHAT COMMAND...: runs COMMAND with its output in LOG; if it fails, shows the log and
# fails with WHAT.
logged() {
    local log=$1 what=$2
    shift 2
    "$@" >"$log" 2>&1 || { cat "$log"; fail "$what"; }
}

# link_data DATA_DIR FOLDER: the game's data linked into FOLDER, without the records it keeps
# beside them (score.dat and replay.rep), so every run starts from the game's own.
link_data() {
    local f
    for f in "$1"/*.dat "$1"/*.mid; do ln -s "$f" "$2/"; done
    rm -f "$2/score.dat" "$2/replay.rep"
}

# build_without_tests FOLDER WHAT CMAKE_ARGUMENTS... [-- BUILD_ARGUMENTS...]: configures and builds
# the game from $SOURCE as a packager would, tests off (GoogleTest and Google Benchmark not even
# looked for), the log in $WORK/build.log. The build is kept, so a second run only rebuilds what
# changed. On failure shows the errors and warnings and fails with WHAT.
build_without_tests() {
    local out=$1 what=$2 configure=()
    shift 2
    while [ $# -gt 0 ] && [ "$1" != -- ]; do configure+=("$1") && shift; done
    [ $# -gt 0 ] && shift
    if ! { cmake -S "$SOURCE" -B "$out" -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
               -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON "${configure[@]}" && cmake --build "$out" -j2 "$@"; } \
        >"$WORK/build.log" 2>&1; then
        grep -E 'error|warning' "$WORK/build.log" | head -n 40
        fail "$what"
    fi
}

# install_stage BUILD_DIR: `cmake --install` of that build into $WORK/stage, prefix /usr; sets USR.
install_stage() {
    USR=$WORK/stage/usr
    DESTDIR=$WORK/stage logged "$WORK/install.log" "cmake --install failed" cmake --install "$1" --prefix /usr
}
