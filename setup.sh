#!/usr/bin/env bash
# Kelvane set-up on a Debian machine.
#   bash setup.sh run    install what is missing, build, start Kelvane on its simulated analyzer
#   bash setup.sh test   install what is missing, build, run the whole test suite: the tests, the
#                        format check, the tests again under sanitizers (ASan and UBSan, then
#                        TSan), short fuzz runs, the Debian package installed into a scratch
#                        root, and the Windows build's tests under wine
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-missing.sh

Build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j"$(nproc)"
}

HasDisplay() {
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]
}

case "${1:-}" in
run)
    InstallMissing "${KELVANE_BUILD_PACKAGES[@]}"
    Build
    if HasDisplay; then
        exec build/kelvane --simulate
    fi
    echo "No display: running every measurement in batch mode against the simulated analyzer."
    exec build/kelvane --simulate --measure all
    ;;
test)
    InstallMissing "${KELVANE_BUILD_PACKAGES[@]}" "${KELVANE_TEST_PACKAGES[@]}"
    Build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
    bash scripts/ci-format.sh
    bash scripts/ci-sanitizers.sh
    bash scripts/ci-tsan.sh
    bash scripts/ci-fuzz.sh
    bash scripts/ci-package.sh
    bash scripts/ci-windows.sh
    ;;
*)
    echo "usage: bash setup.sh run|test" >&2
    exit 2
    ;;
esac
