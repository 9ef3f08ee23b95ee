# Sourced by the sanitizer scripts.
#   EmptyReportsFolder DIR          makes DIR an empty folder for the sanitizers' report files
#   RunSanitizedTests PRESET DIR    configures, builds and tests PRESET; fails on a failing test
#                                   and on any report in DIR, also one of a child process that
#                                   no test looked at
EmptyReportsFolder() {
    rm -rf "$1"
    mkdir -p "$1"
}

RunSanitizedTests() {
    local preset=$1 reports=$2 status=0
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
