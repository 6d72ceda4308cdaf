#!/usr/bin/env bash
# The fuzz targets in the test pass: a Clang build of their own (VORNE_FUZZ: libFuzzer, ASan and
# the whole of UBSan), then a short run of each from its seed corpus. Skipped (77) without Clang
# or its libFuzzer runtime. The build is kept in BUILD_DIR, so a second run only rebuilds what
# changed. Long runs are described in README.md.
#
# Usage: fuzz.sh build SOURCE_DIR BUILD_DIR
#        fuzz.sh run SOURCE_DIR BUILD_DIR TARGET [SECONDS]    (default 20 seconds)
set -u
mode=$1
src=$2
out=$3

have_clang() {
    command -v clang++ >/dev/null 2>&1 || return 1
    [ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]
}

case "$mode" in
    build)
        have_clang || { echo "skipped: clang++ with its libFuzzer runtime (libclang-rt-14-dev) is not installed"; exit 77; }
        log=$(mktemp)
        trap 'rm -f "$log"' EXIT
        if ! { cmake -S "$src" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVORNE_FUZZ=ON \
                   -DVORNE_WERROR=ON -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
                   -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON &&
               cmake --build "$out" --target fuzzers -j2; } >"$log" 2>&1; then
            grep -E 'error|warning' "$log" | head -n 40
            echo "FAIL: the fuzz targets did not build"
            exit 1
        fi
        echo "fuzz build: $(clang++ --version | head -n 1); targets in $out/fuzz"
        ;;
    run)
        target=$4
        seconds=${5:-20}
        have_clang || { echo "skipped: clang++ with its libFuzzer runtime is not installed"; exit 77; }
        fuzzer="$out/fuzz/fuzz_$target"
        [ -x "$fuzzer" ] || { echo "FAIL: $fuzzer was not built (see fuzz.build)"; exit 1; }
        work=$(mktemp -d)
        trap 'rm -rf "$work"' EXIT
        dict=()
        [ -f "$src/tests/fuzz/$target.dict" ] && dict=(-dict="$src/tests/fuzz/$target.dict")
        # New inputs go to the scratch folder, never into the checked-in seeds.
        if ! ASAN_OPTIONS=detect_leaks=1 "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
                -print_final_stats=1 -artifact_prefix="$work/" "${dict[@]}" "$work" "$src/tests/fuzz/corpus/$target" \
                >"$work/log" 2>&1; then
            tail -n 60 "$work/log"
            for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
                [ -f "$crash" ] && { echo "input that failed ($crash):"; od -A x -t x1z "$crash" | head -n 20; }
            done
            echo "FAIL: fuzz_$target found a fault"
            exit 1
        fi
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
        cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$work/log" | tail -n 1)
        echo "fuzz_$target: $runs runs in $seconds s, $cov, no fault"
        ;;
    *)
        echo "usage: fuzz.sh build SOURCE_DIR BUILD_DIR | fuzz.sh run SOURCE_DIR BUILD_DIR TARGET [SECONDS]" >&2
        exit 2
        ;;
esac
