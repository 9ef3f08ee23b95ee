#!/usr/bin/env bash
# Builds the Debian package in build-pkg (Release, no tests), unpacks it into a scratch root with
# dpkg -x and runs the installed program from there: --version, and every measurement in batch
# mode on the simulated analyzer.
#   bash scripts/ci-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh

InstallMissing "${KELVANE_BUILD_PACKAGES[@]}" dpkg-dev desktop-file-utils man-db bsdextrautils lintian

Fail() {
    echo "ci-package: $*" >&2
    exit 1
}

version="$(sed -n 's/^project(Kelvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || Fail "no version in CMakeLists.txt"

cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_BUILD_WINDOW=ON \
    -DKELVANE_BUILD_TESTS=OFF -DKELVANE_BUILD_BENCH=OFF -DKELVANE_BUILD_FUZZ=OFF >/dev/null
cmake --build build-pkg -j2
rm -f build-pkg/kelvane_*.deb
(cd build-pkg && cpack -G DEB >/dev/null)
deb="build-pkg/kelvane_${version}_amd64.deb"
[ -f "$deb" ] || Fail "cpack made no $deb"

echo "== $deb"
# Debian's own checks: no error and no warning (the informational tags of a package built
# without debhelper remain).
lintian --fail-on error,warning "$deb" ||
    Fail "lintian reports an error or a warning on $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
depends="$(dpkg-deb --field "$deb" Depends)"
for library in libqt6widgets6 libqt6svg6 libqt6gui6 libqt6core6; do
    grep -q "$library" <<<"$depends" || Fail "the package does not depend on $library"
done
contents="$(dpkg-deb --contents "$deb")"
for path in ./usr/bin/kelvane ./usr/share/applications/kelvane.desktop \
    ./usr/share/icons/hicolor/32x32/apps/kelvane.png ./usr/share/man/man1/kelvane.1.gz \
    ./usr/share/doc/kelvane/copyright ./usr/share/doc/kelvane/changelog.gz; do
    grep -q " $path\$" <<<"$contents" || Fail "the package lacks $path"
done

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/kelvane.desktop"
# The manual page renders without warnings and names every option of --help.
manual="$(zcat "$root/usr/share/man/man1/kelvane.1.gz" | MANWIDTH=100 man --warnings -l - 2>&1 >/dev/null || true)"
[ -z "$manual" ] || Fail "man kelvane warns: $manual"
text="$(zcat "$root/usr/share/man/man1/kelvane.1.gz" | MANWIDTH=100 man -l - 2>/dev/null | col -b)"
for option in $("$root/usr/bin/kelvane" --help | grep -oE -- '--[a-z0-9-]+' | sort -u); do
    grep -qF -- "$option" <<<"$text" || Fail "the manual page does not document $option"
done
if command -v python3 >/dev/null; then
    python3 packaging/xpm_to_png.py window/kelvane.xpm "$root/icon.png"
    cmp -s "$root/icon.png" packaging/kelvane.png ||
        Fail "packaging/kelvane.png is older than window/kelvane.xpm: run packaging/xpm_to_png.py"
fi

kelvane="$root/usr/bin/kelvane"
printed="$("$kelvane" --version)"
echo "$printed"
grep -qx "kelvane $version" <<<"$printed" || Fail "--version printed \"$printed\""

status=0
log="$("$kelvane" --simulate --measure all)" || status=$?
printf '%s\n' "$log"
[ "$status" -eq 0 ] || Fail "--simulate --measure all ended with status $status"
titles="$(grep -E '^(CH Power|OBW|ACP|SEM) Measurement\.\.\.' <<<"${log//$'\r'/}" | tr '\n' '|')"
expected="CH Power Measurement...|OBW Measurement...|ACP Measurement...|SEM Measurement...|"
expected+="SEM Measurement...|SEM Measurement...|CH Power Measurement...|"
[ "$titles" = "$expected" ] || Fail "the titles of the seven measurements are not all there: $titles"
echo "Package: $deb installs and runs all seven measurements."
