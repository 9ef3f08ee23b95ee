# Sourced by the CI scripts: InstallMissing PACKAGE... installs the Debian packages that are not
# installed yet (through sudo when not root), and does nothing when all are there.
# KELVANE_BUILD_PACKAGES: what a build of the window, the tests and the benchmarks needs (the
# databases: libsqlite3-dev, libpq-dev).
KELVANE_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
                        libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
                        libsqlite3-dev libpq-dev)
# KELVANE_TEST_PACKAGES: what the tests use besides the build, never the program: a browser that
# renders and prints the HTML report (headless Chromium) and poppler-utils to read the PDF back; a
# PostgreSQL server that the database tests start on loopback, and sqlite3 to read the files.
KELVANE_TEST_PACKAGES=(chromium poppler-utils postgresql sqlite3)

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
    # Others may be installing at the same time: wait for the package lock.
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
        --no-install-recommends "${missing[@]}"
}
