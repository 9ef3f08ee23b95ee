#!/usr/bin/env bash
# Builds the window and the whole test suite with ThreadSanitizer (the "tsan" preset,
# build-tsan) and runs every test: the window's bus thread and the measurements must be free of
# data races. Fails on a failing test and on any report, also of a child process.
#   bash scripts/ci-tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh

InstallMissing cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev

reports="$PWD/build-tsan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-suppressions.txt:log_path=$reports/tsan"

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j2
status=0
ctest --preset tsan -j2 || status=$?

if compgen -G "$reports/*" >/dev/null; then
    echo "ThreadSanitizer reports:" >&2
    for report in "$reports"/*; do
        echo "== $report" >&2
        cat "$report" >&2
    done
    status=1
fi
exit "$status"
