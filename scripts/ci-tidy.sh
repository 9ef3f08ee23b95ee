#!/usr/bin/env bash
# Runs clang-tidy 14 with .clang-tidy over Kelvane's own sources (window, tests, benchmarks and
# fuzz targets included), using the compile commands of a clang build in build-tidy. Slow (about
# seven minutes on two cores), so it is not part of every CI run.
#   bash scripts/ci-tidy.sh [file regex, default: every source of ours]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh

InstallMissing "${KELVANE_BUILD_PACKAGES[@]}" clang-14 clang-tidy-14 libclang-rt-14-dev

filter="${1:-^$PWD/(platform|gpib|transport|analyzer|measurements|results|charts|simulator|app|window|tests|benchmarks|fuzz)/.*\.cpp$}"
cmake -S . -B build-tidy -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER="$(command -v clang++-14)" -DKELVANE_BUILD_FUZZ=ON \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# Qt's generated sources must exist before their includers can be checked.
ninja -C build-tidy -t targets all | grep -oE '^[A-Za-z0-9_]+_autogen' | sort -u |
    xargs -r ninja -C build-tidy >/dev/null

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run-clang-tidy-14 -p build-tidy -j 2 -quiet "$filter" >"$output" 2>&1 || true
if grep -E '(warning|error): ' "$output" | grep -v '^Suppressed'; then
    echo "ci-tidy: clang-tidy has findings (above)" >&2
    exit 1
fi
echo "Tidy: clean."
