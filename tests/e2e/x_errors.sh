#!/bin/bash
# The X errors the game lets pass, on a real X server (Xvfb): runs the unit test that provokes
# them (SdlXErrors.*, skipped without an X server) with the server's name.
#
# Usage: x_errors.sh VORNE_BINARY DATA_DIR (the unit tests are beside the binary). Exit 77
# (skipped) without Xvfb.
set -u
VORNE=$1
. "$(dirname "$0")/xvfb_lib.bash"

TESTS=$(dirname "$VORNE")/vorne_tests
[ -x "$TESTS" ] || e2e_fail "no unit tests at $TESTS"
e2e_require Xvfb
e2e_start_xvfb 640x480
VORNE_TEST_X_DISPLAY=$DISPLAY "$TESTS" --gtest_filter='SdlXErrors.*' >"$E2E_WORK/tests.log" 2>&1 ||
    { cat "$E2E_WORK/tests.log"; e2e_fail "the X error test failed"; }
grep -q '\[  PASSED  \] 1 test' "$E2E_WORK/tests.log" || { cat "$E2E_WORK/tests.log"; e2e_fail "the X error test did not run"; }
echo "x_errors: a wake-up to a closed window passed, other errors still end the program"
