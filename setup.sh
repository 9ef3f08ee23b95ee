#!/usr/bin/env bash
# Kelvane set-up on a Debian machine.
#   bash setup.sh run    install what is missing, build, start Kelvane on its simulated analyzer
#   bash setup.sh test   install what is missing, build, run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev)
TEST_PACKAGES=(xvfb xauth)

InstallMissing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

Build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j"$(nproc)"
}

HasDisplay() {
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]
}

case "${1:-}" in
run)
    InstallMissing "${PACKAGES[@]}"
    Build
    if HasDisplay; then
        exec build/window/kelvane --simulate
    fi
    echo "No display: running every measurement in batch mode against the simulated analyzer."
    exec build/window/kelvane --simulate --measure all
    ;;
test)
    InstallMissing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    Build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
*)
    echo "usage: bash setup.sh run|test" >&2
    exit 2
    ;;
esac
