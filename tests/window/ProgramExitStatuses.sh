#!/bin/sh
# The kelvane program's exit statuses and output streams, run as an operator would.
# Usage: ProgramExitStatuses.sh path/to/kelvane
kelvane="$1"
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

# expect STATUS DESCRIPTION -- COMMAND...: runs COMMAND with stdout/stderr captured.
expect() {
    want="$1" what="$2"; shift 3
    "$@" >"$out" 2>"$err"
    got=$?
    if [ "$got" -ne "$want" ]; then
        echo "FAIL: $what: exit status $got, expected $want"; cat "$err"; failures=$((failures + 1))
    fi
}
# check DESCRIPTION FILE PATTERN: the file must contain the fixed text.
check() {
    if ! grep -qF -- "$3" "$2"; then
        echo "FAIL: $1: '$3' missing"; head -20 "$2"; failures=$((failures + 1))
    fi
}

expect 0 "--version" -- "$kelvane" --version
[ "$(cat "$out")" = "kelvane 1.2.0" ] || { echo "FAIL: --version printed '$(cat "$out")'"; failures=$((failures + 1)); }

expect 0 "--help" -- "$kelvane" --help
check "--help" "$out" "usage: kelvane"

expect 2 "unknown option" -- "$kelvane" --bogus
check "unknown option" "$err" "usage: kelvane"
[ -s "$out" ] && { echo "FAIL: unknown option wrote to standard output"; failures=$((failures + 1)); }

expect 2 "unknown measurement" -- "$kelvane" --simulate --measure nope
check "unknown measurement" "$err" "unknown measurement 'nope'"

expect 2 "no display" -- env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$kelvane"
check "no display" "$err" "--simulate --measure all"

expect 0 "simulated batch run" -- env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$kelvane" --simulate --measure all
for title in "CH Power Measurement..." "OBW Measurement..." "ACP Measurement..." \
             "SEM Measurement..." "ChPower = " "OBW = " "ACP ( -5M, +5M) = " "P/F = "; do
    check "simulated batch run" "$out" "$title"
done
[ "$(head -c 2 "$out" | od -An -c | tr -d ' ')" = '\r\n' ] ||
    { echo "FAIL: the batch log does not start with CR LF"; failures=$((failures + 1)); }

# Without a GPIB library the system driver cannot be registered. (Skipped on a bench PC, where
# this would talk to the real bus.)
if ! /sbin/ldconfig -p 2>/dev/null | grep -qE 'libgpib(api)?\.so\.0'; then
    expect 3 "no GPIB library" -- "$kelvane" --measure ch-power
    check "no GPIB library" "$err" "Unable to register GPIB thread globals. Quitting the Program!"
    [ -s "$out" ] && { echo "FAIL: a failed registration wrote a log"; failures=$((failures + 1)); }
fi

[ "$failures" -eq 0 ] && echo "all exit statuses as expected"
exit "$failures"
