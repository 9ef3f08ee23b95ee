#!/usr/bin/env bash
# The Windows leg: cross-builds the Qt-free kelvane.exe and all core tests for 64-bit Windows
# with MinGW-w64 (GoogleTest compiled from Debian's source package with the same toolchain) into
# build-windows/, and runs the tests with ctest under wine, in a wine prefix of its own
# (build-windows/wine-prefix).
#   bash scripts/ci-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh

Fail() {
    echo "ci-windows: $*" >&2
    exit 1
}

# A failed installation shows as the missing tool below.
InstallMissing cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 googletest \
    nlohmann-json3-dev || true
command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
    Fail "x86_64-w64-mingw32-g++-posix not found: install g++-mingw-w64-x86-64-posix"
# Debian keeps the 64-bit loader out of PATH; "wine" starts it when wine32 is not installed.
WINE=$(command -v wine64 || true)
[ -n "$WINE" ] || { [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64; } ||
    WINE=$(command -v wine || true)
[ -n "$WINE" ] || Fail "wine not found: install wine and wine64"
[ -d /usr/src/googletest/googletest ] || Fail "/usr/src/googletest not found: install googletest"

BUILD="$PWD/build-windows"
export WINEPREFIX="$BUILD/wine-prefix" WINEDEBUG=-all WINEARCH=win64
# Neither the .NET nor the HTML engine is needed: no offer to download them on the first start.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$BUILD"
# Wine's server ends by itself shortly after the last program: wait for it.
trap 'wineserver -w 2>/dev/null || true' EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the wine prefix $WINEPREFIX (once)"
    start=$SECONDS
    "$WINE" wineboot --init >"$BUILD/wineboot.log" 2>&1 || Fail "wineboot failed, see $BUILD/wineboot.log"
    wineserver -w
    echo "Wine prefix ready after $((SECONDS - start)) s"
fi

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release \
    -DKELVANE_BUILD_WINDOW=OFF -DKELVANE_BUILD_BENCH=OFF -DKELVANE_BUILD_FUZZ=OFF \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=env;WINEPREFIX=$WINEPREFIX;WINEDEBUG=-all;$WINE"
cmake --build "$BUILD" -j"$(nproc)"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" --timeout 300
echo "Windows: $BUILD/kelvane.exe and the core tests pass under wine."
