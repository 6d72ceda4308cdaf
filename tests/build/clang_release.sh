#!/usr/bin/env bash
# The game as a packager on another compiler builds it: Clang, Release, tests off, warnings as
# errors. Skipped (77) without clang++. The build is kept in BUILD_DIR/clang-release.
#
# Usage: clang_release.sh SOURCE_DIR BUILD_DIR
. "$(dirname "$0")/../lib.bash"
SOURCE=$1
need clang++
build_without_tests "$2/clang-release" "the Clang Release build without tests failed" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ -DVORNE_WERROR=ON
echo "clang_release: $(clang++ --version | head -n 1), Release, no warnings"
