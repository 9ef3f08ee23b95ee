#!/bin/sh
# The kelvane program run as an operator would: exit statuses and output streams.
k="$1" out=$(mktemp) err=$(mktemp) fails=0; trap 'rm -f "$out" "$err"' EXIT
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
# run STATUS COMMAND...: COMMAND's output goes to $out and $err; it must exit with STATUS.
run() {
    want=$1; shift; "$@" >"$out" 2>"$err"; got=$?; [ $got -eq "$want" ] || fail "$*: status $got"
}
has() { grep -qF -- "$2" "$1" || fail "'$2' missing"; }
headless="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"

run 0 "$k" --version; [ "$(cat "$out")" = "kelvane 1.2.0" ] || fail "--version: $(cat "$out")"
run 0 "$k" --help; has "$out" "usage: kelvane"
run 2 "$k" --bogus; has "$err" "usage: kelvane"; [ -s "$out" ] && fail "usage error on stdout"
run 2 $headless "$k"; has "$err" "kelvane --simulate --measure all"
run 2 $headless QT_QPA_PLATFORM=xcb "$k" --simulate; has "$err" "kelvane --simulate --measure all"
# A display that does not answer: our message, no abort.
run 2 $headless DISPLAY=:7391 "$k" --simulate
has "$err" 'kelvane: cannot open the display ":7391"; use --measure NAME to run without a window'
[ "$(wc -l <"$err")" -eq 1 ] || fail "more than one line for an unreachable display: $(cat "$err")"
run 0 $headless "$k" --simulate --measure all
for text in "CH Power Measurement..." "OBW Measurement..." "P/F = "; do has "$out" "$text"; done
[ "$(head -c 2 "$out" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "log does not start with CR LF"
# Without a GPIB library the driver cannot be registered (skipped where one is installed).
if ! /sbin/ldconfig -p 2>/dev/null | grep -qE 'libgpib(api)?\.so\.0'; then
    run 3 "$k" --measure ch-power; has "$err" "Unable to register GPIB thread globals"
    [ -s "$out" ] && fail "a failed registration wrote a log"
fi
[ $fails -eq 0 ] && echo "all exit statuses as expected"
exit $fails
