#!/usr/bin/env bash
# Builds the window and the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (the "asan" preset, build-asan) and runs every test. Fails on a failing test and on any
# sanitizer report, including reports of child processes that a test may not look at.
#   bash scripts/ci-sanitizers.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh
source scripts/sanitized-tests.sh

reports="$(PrepareSanitizedTests asan)"
# Every process writes its reports to a file of its own as well as failing; the test discovery
# at build time runs the test programs too, so these hold for the build as well.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:strict_init_order=1:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
RunSanitizedTests asan "$reports"
