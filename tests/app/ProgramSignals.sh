#!/bin/sh
# Ctrl+C, SIGTERM and SIGHUP sent to a batch run: the measurement under way stops after its
# transfer, sets the analyzer back and takes it and the board offline, its record says
# "interrupted", the log ends with "<title> interrupted", and the exit status is 130 or 143.
#   sh ProgramSignals.sh PROGRAM [ADAPTER]
# ADAPTER: the stand-in GPIB-ETHERNET adapter, for a signal during a read that gets no answer.
k="$1" adapter="${2:-}" dir=$(mktemp -d) fails=0; trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
cr=$(printf '\r')

# interrupt SIGNAL DELAY STATUS ARGS...: runs kelvane ARGS with a trace and records, sends SIGNAL
# after DELAY seconds and checks what the run left.
interrupt() {
    signal=$1 delay=$2 want=$3; shift 3
    rm -f "$dir/t" "$dir/r.jsonl"
    "$k" "$@" --trace "$dir/t" --results "$dir/r.jsonl" >"$dir/out" 2>"$dir/err" & pid=$!
    sleep "$delay"; kill -s "$signal" $pid; wait $pid; got=$?
    what="$signal after ${delay} s ($*)"
    [ $got -eq "$want" ] || { fail "$what: status $got: $(cat "$dir/err")"; return; }
    tail -n 1 "$dir/t" | grep -q 'ibonl(0, 0) -> ' || fail "$what: the trace ends $(tail -n 1 "$dir/t")"
    # The signal came during a measurement, or between two: either way every record is whole,
    # one per title in the log, and an interrupted measurement says so in both.
    [ "$(grep -c 'Measurement\.\.\.' "$dir/out")" -eq "$(grep -c '^{.*}$' "$dir/r.jsonl")" ] ||
        fail "$what: not one whole record per measurement"
    if tail -n 1 "$dir/out" | grep -qE " interrupted$cr\$"; then
        tail -n 1 "$dir/r.jsonl" | grep -q '"outcome":"interrupted","message":"[^"]* interrupted","verdict":"incomplete"' ||
            fail "$what: the record is not interrupted: $(tail -n 1 "$dir/r.jsonl" | head -c 300)"
    else
        tail -n 1 "$dir/r.jsonl" | grep -q '"outcome":"completed"' || fail "$what: the last record"
    fi
    grep -q "^kelvane: interrupted" "$dir/err" || fail "$what: standard error: $(cat "$dir/err")"
}

for delay in 0.3 1.1 2.3; do interrupt INT $delay 130 --simulate --measure all; done
interrupt TERM 0.7 143 --simulate --measure all
interrupt HUP 1.6 143 --simulate --measure all

# A second signal ends the program at once.
"$k" --simulate --measure all >"$dir/out" 2>&1 & pid=$!
sleep 0.5; kill -INT $pid; kill -INT $pid; wait $pid; got=$?
[ $got -eq 130 ] || fail "two signals: status $got"

# The window closes on SIGTERM as by its close button (the build with a window only).
if QT_QPA_PLATFORM=offscreen "$k" --simulate >"$dir/out" 2>&1 & then
    pid=$!; sleep 1; kill -s TERM $pid; wait $pid; got=$?
    grep -q "this build has no window" "$dir/out" || [ $got -eq 143 ] || fail "window on SIGTERM: status $got: $(cat "$dir/out")"
fi

# A signal while the analyzer does not answer: the read still times out after its 10 s, then
# the closing commands go out.
if [ -n "$adapter" ]; then
    mkfifo "$dir/control"
    "$adapter" --silent <"$dir/control" >"$dir/port" & standin=$!
    exec 3>"$dir/control"
    for _ in $(seq 50); do [ -s "$dir/port" ] && break; sleep 0.1; done
    interrupt INT 1 130 --bus "lan:127.0.0.1:$(cat "$dir/port")" --measure ch-power --measure obw
    grep -q '"SEMON OFF\|"\*CLS\|ibwrt' "$dir/t" || fail "silent analyzer: nothing sent"
    exec 3>&-
    wait $standin || fail "the adapter protocol was broken"
fi
[ $fails -eq 0 ] && echo "every signal ended the run cleanly"
exit $fails
