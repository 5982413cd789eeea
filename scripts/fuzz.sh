#!/usr/bin/env bash
# Fuzzes one parser with clang's libFuzzer under AddressSanitizer and UBSan:
#   scripts/fuzz.sh TARGET [SECONDS]     (TARGET as in tests/fuzz/<TARGET>Fuzz.cpp)
#   scripts/fuzz.sh --build              builds every target without fuzzing (CI does, so
#                                        that the clang build cannot break unseen)
# Builds into build-fuzz/. New inputs go to build-fuzz/corpus/TARGET (the seed corpus in
# tests/fuzz/corpus/TARGET is only read); a crashing input is saved in build-fuzz/ and named
# in the output: add it to the seed corpus with the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: scripts/fuzz.sh TARGET [SECONDS] | --build}"
seconds="${2:-60}"
if [ "$target" = "--build" ]; then
    targets=()
    for source in tests/fuzz/*Fuzz.cpp; do
        name="$(basename "$source" Fuzz.cpp)"
        targets+=("fuzz_${name}")
    done
else
    [ -f "tests/fuzz/${target}Fuzz.cpp" ] || { echo "no target tests/fuzz/${target}Fuzz.cpp" >&2; exit 2; }
    targets=("fuzz_${target}")
fi
bash scripts/install-deps.sh --fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS="$flags" -DTAVRIN_FUZZ=ON >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]}"
[ "$target" = "--build" ] && exit 0
mkdir -p "build-fuzz/corpus/${target}"
exec "build-fuzz/fuzz_${target}" -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix="build-fuzz/${target}-" "build-fuzz/corpus/${target}" "tests/fuzz/corpus/${target}"
