#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs each one briefly from its
# committed seed corpus. The corpus is copied first, so the run adds nothing to the repository.
#   bash scripts/ci-fuzz.sh [seconds per target, default 5]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh

SECONDS_PER_TARGET="${1:-5}"
TARGETS=(ReplyFuzzer MeasurementFuzzer)

InstallMissing cmake ninja-build clang-14 libclang-rt-14-dev nlohmann-json3-dev

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$(command -v clang++-14)" -DKELVANE_BUILD_FUZZ=ON -DKELVANE_BUILD_WINDOW=OFF \
    -DKELVANE_BUILD_TESTS=OFF -DKELVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${TARGETS[@]}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
artifacts="build-fuzz/fuzz-artifacts"
mkdir -p "$artifacts"
for target in "${TARGETS[@]}"; do
    mkdir -p "$scratch/$target"
    cp fuzz/corpus/"$target"/* "$scratch/$target/"
    echo "== $target: ${SECONDS_PER_TARGET} s from $(ls fuzz/corpus/"$target" | wc -l) seeds"
    if ! build-fuzz/fuzz/"$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
        "$scratch/$target" >"$scratch/$target.log" 2>&1; then
        tail -n 60 "$scratch/$target.log"
        echo "$target found a failing input; it is kept under $artifacts/" >&2
        exit 1
    fi
    grep -E '^(stat::number_of_executed_units|Done)' "$scratch/$target.log" || true
done
echo "Fuzzing: ${#TARGETS[@]} targets ran clean."
