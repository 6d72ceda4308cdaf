#!/usr/bin/env bash
# The fuzz targets: a Clang build of their own (libFuzzer, ASan and all of UBSan, kept in
# BUILD_DIR), then a short run of each from its seed corpus (long runs: README.md). Skipped (77)
# without Clang or its libFuzzer runtime (libclang-rt-14-dev).
#
# Usage: fuzz.sh build SOURCE_DIR BUILD_DIR
#        fuzz.sh run SOURCE_DIR BUILD_DIR TARGET [SECONDS]    (default 20 seconds)
. "$(dirname "$0")/../lib.bash"
SOURCE=$2
out=$3
need clang++
[ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ] || skip "clang++ has no libFuzzer runtime"
case "$1" in
    build)
        build_without_tests "$out" "the fuzz targets did not build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++ -DVORNE_FUZZ=ON -DVORNE_WERROR=ON -- --target fuzzers
        echo "fuzz build: $(clang++ --version | head -n 1); targets in $out/fuzz"
        ;;
    run)
        target=$4
        seconds=${5:-20}
        fuzzer="$out/fuzz/fuzz_$target"
        [ -x "$fuzzer" ] || fail "$fuzzer was not built (see fuzz.build)"
        dict=()
        [ -f "$SOURCE/tests/fuzz/$target.dict" ] && dict=(-dict="$SOURCE/tests/fuzz/$target.dict")
        # New inputs go to the scratch folder, never into the checked-in seeds.
        if ! ASAN_OPTIONS=detect_leaks=1 "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
                -print_final_stats=1 -artifact_prefix="$WORK/" "${dict[@]}" "$WORK" "$SOURCE/tests/fuzz/corpus/$target" \
                >"$WORK/log" 2>&1; then
            tail -n 60 "$WORK/log"
            for crash in "$WORK"/crash-* "$WORK"/leak-* "$WORK"/timeout-* "$WORK"/oom-*; do
                [ -f "$crash" ] && { echo "input that failed ($crash):"; od -A x -t x1z "$crash" | head -n 20; }
            done
            fail "fuzz_$target found a fault"
        fi
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$WORK/log")
        echo "fuzz_$target: $runs runs in $seconds s, $(grep -o 'cov: [0-9]* ft: [0-9]*' "$WORK/log" | tail -n 1), no fault"
        ;;
    *) echo "usage: fuzz.sh build SOURCE_DIR BUILD_DIR | fuzz.sh run SOURCE_DIR BUILD_DIR TARGET [SECONDS]" >&2 && exit 2 ;;
esac
