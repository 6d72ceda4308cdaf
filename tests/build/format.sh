#!/usr/bin/env bash
# The tree keeps the house style of .clang-format: any C or C++ file that clang-format would
# change fails this check, and the files are named. Fix with `clang-format -i FILE...`.
# Skipped (77) where clang-format is not installed.
#
# Usage: format.sh SOURCE_DIR
. "$(dirname "$0")/../lib.bash"
cd "$1" || exit 2
need clang-format
files=$(find src tools tests bench resources -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -not -path '*/corpus/*' | sort)
# shellcheck disable=SC2086
if ! out=$(clang-format --dry-run --Werror $files 2>&1); then
    echo "$out" | grep -E '^[^ ].*: (error|warning):' | cut -d: -f1 | sort -u
    fail "the files above are not in the house style"
fi
echo "format: $(echo "$files" | wc -l) files in the house style"
