#!/usr/bin/env bash
# The game as a packager on another compiler builds it: Clang, Release, tests off (so GoogleTest
# and Google Benchmark must not even be looked for), warnings as errors. Skipped (77) without
# clang++. The build is kept in BUILD_DIR/clang-release, so a second run only rebuilds what
# changed.
#
# Usage: clang_release.sh SOURCE_DIR BUILD_DIR
set -u
src=$1
out=$2/clang-release
command -v clang++ >/dev/null 2>&1 || { echo "skipped: clang++ is not installed"; exit 77; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$src" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ -DVORNE_WERROR=ON \
           -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON &&
       cmake --build "$out" -j2; } >"$log" 2>&1; then
    grep -E 'error|warning' "$log" | head -n 40
    echo "FAIL: the Clang Release build without tests failed"
    exit 1
fi
echo "clang_release: $(clang++ --version | head -n 1), Release, no warnings"
