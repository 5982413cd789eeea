#!/usr/bin/env bash
# Sets everything up, builds and runs every test (logic, views offscreen, end-to-end under Xvfb).
# With --sanitize: builds into build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the same suite there.
set -euo pipefail
cd "$(dirname "$0")/.."

# Runs the suite in the current build folder with the given per-test timeout. Logic and view
# tests run once: a fault there must never pass on a second try. Only the end-to-end tests
# (label "e2e") may run once more after a failure, because they share two cores with real X
# servers, window managers and office programs, and a loaded machine can starve one; every
# test that needed the second run is named. Ends with one closing line over both runs.
run_suite() {
    local timeout=$1 status=0 log
    log=$(mktemp)
    ctest --output-on-failure --timeout "$timeout" -j 2 -LE e2e | tee "$log" || status=1
    ctest --output-on-failure --timeout "$timeout" -j 2 -L e2e --repeat until-pass:2 |
        tee -a "$log" || status=1
    report_retries "$log"
    summarise "$log"
    rm -f "$log"
    return $status
}

# Names the tests that failed a first time and passed the second.
report_retries() {
    local retried
    retried=$(awk '
        match($0, /Test +#[0-9]+: [^ ]+ /) {
            split(substr($0, RSTART, RLENGTH), f, " ")
            name = f[3]
            if ($0 ~ /\*\*\*/) failed[name] = 1
            else if ($0 ~ / Passed /) passed[name] = 1
        }
        END { for (n in failed) if (n in passed) print n }' "$1" | sort)
    if [ -n "$retried" ]; then
        echo "End-to-end tests that passed only when run a second time:"
        echo "$retried" | sed 's/^/    /'
    else
        echo "No test needed a second run."
    fi
}

# Adds up ctest's closing lines of both runs into one line of the same form.
summarise() {
    awk '
        / tests passed, [0-9]+ tests failed out of [0-9]+/ {
            failed += $(NF - 5); total += $NF
        }
        END {
            pct = total ? int(100 * (total - failed) / total) : 100
            printf "\nWhole suite: %d%% tests passed, %d tests failed out of %d\n", pct, failed, total
        }' "$1"
}

bash scripts/install-deps.sh
if [ "${1:-}" != "--sanitize" ]; then
    bash scripts/build.sh
    cd build
    run_suite 300
    exit
fi

flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build build-sanitize --parallel "$(nproc)"
# Known leaks inside outside libraries only (libdbus, the office's UNO runtime): see lsan.supp.
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-sanitize
run_suite 600
