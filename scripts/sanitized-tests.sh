# Sourced by the sanitizer scripts, after install-missing.sh.
#   PrepareSanitizedTests PRESET    installs what the build needs and prints the empty folder
#                                   build-PRESET/sanitizer-reports for the report files
#   RunSanitizedTests PRESET DIR    configures, builds and tests PRESET on Qt's offscreen
#                                   platform; fails on a failing test and on any report in DIR,
#                                   also one of a child process that no test looked at
PrepareSanitizedTests() {
    InstallMissing "${KELVANE_BUILD_PACKAGES[@]}" "${KELVANE_TEST_PACKAGES[@]}" >&2
    local reports="$PWD/build-$1/sanitizer-reports"
    rm -rf "$reports"
    mkdir -p "$reports"
    echo "$reports"
}

RunSanitizedTests() {
    local preset=$1 reports=$2 status=0
    export QT_QPA_PLATFORM=offscreen
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2
    ctest --preset "$preset" -j2 || status=$?
    if compgen -G "$reports/*" >/dev/null; then
        echo "Sanitizer reports:" >&2
        for report in "$reports"/*; do
            echo "== $report" >&2
            cat "$report" >&2
        done
        status=1
    fi
    return "$status"
}
