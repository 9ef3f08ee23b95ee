#!/usr/bin/env bash
# Builds the window and the whole test suite with ThreadSanitizer (the "tsan" preset,
# build-tsan) and runs every test: the window's bus thread and the measurements must be free of
# data races. Fails on a failing test and on any report, also of a child process.
#   bash scripts/ci-tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh
source scripts/sanitized-tests.sh

reports="$(PrepareSanitizedTests tsan)"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-suppressions.txt:log_path=$reports/tsan"
RunSanitizedTests tsan "$reports"
