#!/bin/sh
# The kelvane program run as an operator would: exit statuses and output streams.
#   sh ProgramExitStatuses.sh PROGRAM window|batch-only [ADAPTER]
# batch-only: a build without Qt; ADAPTER: the stand-in GPIB-ETHERNET adapter, for the runs over
# --bus lan: (left out where the build has no sockets).
k="$1" build="${2:-window}" adapter="${3:-}" out=$(mktemp) err=$(mktemp) fails=0; trap 'rm -f "$out" "$err"' EXIT
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
# run STATUS COMMAND...: COMMAND's output goes to $out and $err; it must exit with STATUS.
run() {
    want=$1; shift; "$@" >"$out" 2>"$err"; got=$?
    [ $got -eq "$want" ] || fail "$*: status $got; standard error: $(head -c 400 "$err")"
}
has() { grep -qF -- "$2" "$1" || fail "'$2' missing"; }
headless="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
# A cross-built program runs through its emulator (wine).
emulated=no; case "$k" in *emulated*) emulated=yes ;; esac

run 0 "$k" --version; [ "$(cat "$out")" = "kelvane 1.2.0" ] || fail "--version: $(cat "$out")"
run 0 "$k" --help; has "$out" "usage: kelvane"
run 2 "$k" --bogus; has "$err" "usage: kelvane"; [ -s "$out" ] && fail "usage error on stdout"
# Arguments arrive as UTF-8 whatever the system's code page: "sem-", Omega, e acute.
run 2 "$k" --measure "$(printf 'sem-\316\251\303\251')"
has "$err" "unknown measurement '$(printf 'sem-\316\251\303\251')'"
run 2 $headless "$k"; has "$err" "kelvane --simulate --measure all"
if [ "$build" = batch-only ]; then
    has "$err" "this build has no window"
    run 2 env DISPLAY=:0 QT_QPA_PLATFORM=offscreen "$k" --simulate; has "$err" "has no window"
fi
run 2 $headless QT_QPA_PLATFORM=xcb "$k" --simulate; has "$err" "kelvane --simulate --measure all"
# A display that does not answer: our message, no abort.
if [ "$build" = window ]; then
    run 2 $headless DISPLAY=:7391 "$k" --simulate
    has "$err" 'kelvane: cannot open the display ":7391"; use --measure NAME to run without a window'
    [ "$(wc -l <"$err")" -eq 1 ] || fail "more than one line for an unreachable display: $(cat "$err")"
fi
run 0 $headless "$k" --simulate --measure all
for text in "CH Power Measurement..." "OBW Measurement..." "P/F = "; do has "$out" "$text"; done
[ "$(head -c 2 "$out" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "log does not start with CR LF"
# Every line ends with CR LF, byte for byte (no CR CR LF from a text-mode console).
cr=$(printf '\r')
[ "$(LC_ALL=C grep -c "$cr\$" "$out")" -eq "$(wc -l <"$out")" ] || fail "a log line lacks its CR"
LC_ALL=C grep -q "$cr$cr" "$out" && fail "the log has CR CR"
# A log, usage or version that cannot be written is no success.
for args in "--simulate --measure all" "--help" "--version"; do
    if [ -w /dev/full ]; then
        $k $args >/dev/full 2>"$err"; [ $? -eq 4 ] || fail "$args to /dev/full: not status 4"
        has "$err" "kelvane: cannot write the log: "
    fi
    $k $args >&- 2>"$err"; [ $? -eq 4 ] || fail "$args to a closed stdout: not status 4"
    has "$err" "kelvane: cannot write the log: "  # the reason is the system's
done
# A pipe whose reader has gone is a write error like any other, for the log, the usage and the
# version: no death by SIGPIPE between two bus calls (the reader is given a second to go).
for args in "--simulate --measure obw" "--help" "--version"; do
    status=$(mktemp)
    { sleep 1; $k $args 2>"$err"; echo $? >"$status"; } | true
    [ "$(cat "$status")" = 4 ] || fail "$args into a closed pipe: status $(cat "$status")"
    has "$err" "kelvane: cannot write the log: "
    [ $emulated = yes ] || has "$err" "Broken pipe"
    rm -f "$status"
done
# Set-up values out of range: one line naming the option and its range, nothing measured.
for args in "--wcdma-center 51GHz" "--wcdma-center 2140" "--ref-level -151" "--board 16" \
    "--address 31" "--address" "--address 5 --address 18" "--path-loss-table /nonexistent.csv"; do
    run 2 "$k" --simulate $args --measure obw
    [ "$(wc -l <"$err")" -eq 1 ] || fail "$args: not one line: $(cat "$err")"
    has "$err" "kelvane: ${args%% *}"
    [ -s "$out" ] && fail "$args: measured anyway"
done
run 0 "$k" --simulate --measure obw --wcdma-center 2140MHz; has "$out" "OBW CF = 2140.000MHz"
if [ $emulated = no ]; then  # a line end inside an argument, as the shell passes it
    run 2 "$k" --simulate --wcdma-center "$(printf '2140\nMHz')" --measure obw
    has "$err" "kelvane: --wcdma-center: '2140\x0aMHz' is not a frequency from 12.5 MHz to 50 GHz"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "a value with a line end: not one line: $(cat "$err")"
fi
# A good path loss table is taken (the refused ones: PathLossTableTest).
table=$(mktemp); printf '1.9GHz,1.5\n2.5GHz,2\n' >"$table"
run 0 "$k" --simulate --path-loss-table "$table" --ref-level 10dBm --measure obw; has "$out" "OBW CF = "
rm -f "$table"
# Records: one JSON line per measurement, the log byte for byte as without them; CSV by the name,
# its header only in a new file; a file that refuses them is exit status 4, the log goes on.
dir=$(mktemp -d)
if [ "$build" = window ]; then
    # Charts without a display: an SVG (and a PNG) per mask, ACP and OBW, with the verdict, in
    # a folder made for them.
    run 0 $headless "$k" --simulate --measure all --results "$dir/r.jsonl" --charts "$dir/charts" --charts-png
    [ "$(ls "$dir/charts" | grep -c '\.svg$')" -eq 5 ] || fail "not five SVG charts: $(ls "$dir/charts")"
    [ "$(ls "$dir/charts" | grep -c '\.png$')" -eq 5 ] || fail "not five PNG charts"
    for chart in "$dir"/charts/*.svg; do has "$chart" "<svg"; has "$chart" "PASS"; done
    ls "$dir/charts" | grep -qE '^sem-11a-[0-9]{8}T[0-9]{6}Z\.svg$' || fail "chart names: $(ls "$dir/charts")"
    run 0 $headless "$k" --simulate --measure obw --measure obw --charts "$dir/charts"
    [ "$(ls "$dir/charts" | grep -c '^obw-')" -ge 4 ] || fail "a chart name was used twice: $(ls "$dir/charts")"
    run 4 $headless "$k" --simulate --measure obw --charts "$dir/r.jsonl/charts"
    has "$err" 'kelvane: cannot write the chart "'; has "$out" "OBW CF = "
    rm -f "$dir/r.jsonl"
else
    run 2 "$k" --simulate --measure obw --charts "$dir"; has "$err" "charts are not available in this build"
fi
run 0 "$k" --simulate --measure all --results "$dir/r.jsonl"; cp "$out" "$dir/with"
[ "$(wc -l <"$dir/r.jsonl")" -eq 7 ] || fail "not seven records: $(wc -l <"$dir/r.jsonl")"
has "$dir/r.jsonl" '"measurement":"sem-11a"'; has "$dir/r.jsonl" '"verdict":"pass"'
run 0 "$k" --simulate --measure all; cmp -s "$out" "$dir/with" || fail "the log differs with --results"
run 0 "$k" --simulate --measure obw --results "$dir/r.csv"
run 0 "$k" --simulate --measure obw --results "$dir/r.csv"
[ "$(grep -c '^started,run_id,dut,measurement,' "$dir/r.csv")" -eq 1 ] || fail "the CSV header is not there once"
if [ -w /dev/full ] && [ $emulated = no ]; then
    run 4 "$k" --simulate --measure obw --results /dev/full
    has "$err" 'kelvane: cannot write the obw record to the results file "/dev/full": '
    has "$out" "OBW CF = "
fi
# A log that cannot be written does not take the record with it.
status=$(mktemp)
{ sleep 1; $k --simulate --measure ch-power --results "$dir/piped.jsonl" 2>/dev/null; echo $? >"$status"; } | true
[ "$(cat "$status")" = 4 ] || fail "a closed pipe with --results: status $(cat "$status")"
has "$dir/piped.jsonl" '"measurement":"ch-power"'
rm -f "$status"
run 2 "$k" --simulate --measure obw --results "$dir/no/such/folder.jsonl"
has "$err" "cannot open the results file"
# Every --results target gets every record; one file named twice would get each twice.
run 0 "$k" --simulate --measure obw --results "$dir/both.csv" --results "$dir/both.jsonl"
[ "$(grep -c "^20.*,obw,verdict," "$dir/both.csv")" -eq 1 ] || fail "no record in the second of two targets"
has "$dir/both.jsonl" "\"measurement\":\"obw\""
run 2 "$k" --simulate --measure obw --results "$dir/both.csv" --results "$dir/./both.csv"; has "$err" "names one file twice"
# A CSV under another header is refused before anything is sent, and kept as it was; so is one
# file for the trace and the records, under any spelling.
printf 'a,b\r\n' >"$dir/other.csv"; cp "$dir/other.csv" "$dir/other.kept"
run 2 "$k" --simulate --measure obw --results "$dir/other.csv"
has "$err" "kelvane: the results file \"$dir/other.csv\" has another header than Kelvane writes"
cmp -s "$dir/other.csv" "$dir/other.kept" || fail "a CSV under another header was changed"
[ -s "$out" ] && fail "measured into a CSV under another header"
run 2 "$k" --simulate --measure obw --trace "$dir/both" --results "$dir/./both"
has "$err" "--trace and --results name one file"; [ -s "$dir/both" ] && fail "one file for both written"
# A last line without its end: the record starts on a line of its own.
printf '{"m":1}' >"$dir/open-line.jsonl"
run 0 "$k" --simulate --measure obw --results "$dir/open-line.jsonl"
[ "$(head -n 1 "$dir/open-line.jsonl")" = '{"m":1}' ] || fail "a record was glued to the last line"
if [ $emulated = no ]; then
    # A named pipe without a reader: a usage error at once, not a wait for ever.
    mkfifo "$dir/pipe"
    for option in --results --trace; do
        run 2 timeout 10 "$k" --simulate --measure obw $option "$dir/pipe"
        has "$err" "no program reads this named pipe; start its reader first"
    done
    # A disk that fills up part-way, played by a file size limit (BLOCKS x 512 bytes; the signal
    # it raises ignored, so that writes past it fail): standard output goes through a pipe, free
    # of the limit.
    limited() {
        blocks=$1; shift
        { (ulimit -f "$blocks" && trap '' XFSZ && exec "$@") 2>"$err"; echo $? >"$dir/status"; } | cat >"$out"
        [ "$(cat "$dir/status")" = 4 ] || fail "$* under a limit of $blocks blocks: status $(cat "$dir/status")"
    }
    # Every record whole or not at all, and the next one on its own line: every CSV row has its
    # fifteen cells and its CR LF, every JSON line its braces.
    whole() {
        [ "$(LC_ALL=C awk -F, 'NF != 15 || !/\r$/' "$1" | wc -l)" -eq 0 ] || fail "a cut row in $1"
    }
    limited 4 "$k" --simulate --measure all --results "$dir/full.csv"
    has "$err" "kelvane: cannot write the "; has "$err" "File too large; nothing of it was left in the file"
    whole "$dir/full.csv"
    run 0 "$k" --simulate --measure obw --results "$dir/full.csv"; whole "$dir/full.csv"
    tail -n 1 "$dir/full.csv" | grep -q ',obw,verdict,' || fail "the next record is not at the end"
    awk 'BEGIN { printf "{\"earlier\":\"%480s\"}\n", "" }' >"$dir/full.jsonl"; cp "$dir/full.jsonl" "$dir/full.kept"
    limited 1 "$k" --simulate --measure obw --results "$dir/full.jsonl"
    cmp -s "$dir/full.jsonl" "$dir/full.kept" || fail "a cut JSON record stayed in the file"
    run 0 "$k" --simulate --measure obw --results "$dir/full.jsonl"
    [ "$(grep -c '^{.*}$' "$dir/full.jsonl")" -eq 2 ] || fail "not two whole JSON lines"
    # A chart that cannot be written whole leaves no file, not even a temporary one, and its
    # reason is the system's; nothing else reaches standard error.
    if [ "$build" = window ]; then
        limited 1 $headless "$k" --simulate --measure obw --measure acp --charts "$dir/full" --charts-png
        has "$err" "kelvane: cannot write the chart \"$dir/full/obw-"; has "$err" '.svg": File too large'
        [ "$(grep -cv '^kelvane: cannot write the chart ".*": File too large$' "$err")" -eq 0 ] ||
            fail "other lines on standard error: $(cat "$err")"
        [ -z "$(ls -A "$dir/full")" ] || fail "a chart left files behind: $(ls -A "$dir/full")"
    fi
fi
run 0 "$k" --simulate --repeat 3 --measure ch-power
[ "$(grep -c '^ChPower = ' "$out")" -eq 3 ] || fail "--repeat 3 did not run three times"
has "$out" "Summary of 3 runs of ch-power"
for count in 0 10001 x; do run 2 "$k" --simulate --repeat $count --measure ch-power; done
has "$err" "--repeat: 'x' is not a number of runs from 1 to 10000"
rm -rf "$dir"
# Buses and the bus trace.
run 2 "$k" --bus lan: --measure obw; has "$err" "lan:HOST[:PORT]"; [ -s "$out" ] && fail "bad bus logged"
run 2 env KELVANE_BUS=serial "$k" --measure obw; has "$err" "bad bus 'serial' (KELVANE_BUS)"
run 2 "$k" --simulate --trace /nonexistent-dir/t --measure obw; has "$err" "cannot open the trace file"
[ -s "$out" ] && fail "a run went on after the trace file failed"
trace=$(mktemp); run 0 "$k" --simulate --trace "$trace" --measure ch-power
has "$trace" 'ibdev(0, 8, 0, 13, 1, 0) = '; has "$trace" 'ibrd('; has "$trace" 'ibonl(0, 0) -> ibsta'
rm -f "$trace"
# A trace that cannot be written is reported once; the measurements go on; exit status 4. (Under
# an emulator the name /dev/full is no device that refuses writes.)
if [ -w /dev/full ] && [ $emulated = no ]; then
    run 4 "$k" --simulate --trace /dev/full --measure ch-power --measure obw
    has "$out" "OBW CF = "
    has "$err" 'kelvane: cannot write the trace file "/dev/full": '
    [ "$(wc -l <"$err")" -eq 1 ] || fail "more than one line for a lost trace: $(cat "$err")"
fi
# All seven over a stand-in GPIB-ETHERNET adapter log as over the scripted driver; a refused
# connection is a failure line.
if [ -n "$adapter" ]; then
    run 1 "$k" --bus lan:127.0.0.1:1 --measure ch-power
    has "$out" "CH Power Measurement failed: ibdev"; has "$out" "127.0.0.1 port 1: Connection refused"
    dir=$(mktemp -d); mkfifo "$dir/control"
    "$adapter" "$dir/expected" <"$dir/control" >"$dir/port" & standin=$!
    exec 3>"$dir/control"
    for _ in $(seq 50); do [ -s "$dir/port" ] && break; sleep 0.1; done
    # The scripted answers are good replies; some of them fail their limits (exit status 5).
    run 5 "$k" --bus "lan:127.0.0.1:$(cat "$dir/port")" --measure all
    cmp -s "$out" "$dir/expected" || fail "log over the stand-in adapter differs"
    exec 3>&-
    wait $standin || fail "the adapter protocol was broken"
    rm -rf "$dir"
else
    run 2 "$k" --bus lan:127.0.0.1:1 --measure ch-power
    has "$err" "adapters are not available in this build"
fi
# Without a GPIB library the driver cannot be registered (skipped where one is installed).
if ! /sbin/ldconfig -p 2>/dev/null | grep -qE 'libgpib(api)?\.so\.0'; then
    run 3 "$k" --measure ch-power; has "$err" "Unable to register GPIB thread globals"
    [ -s "$out" ] && fail "a failed registration wrote a log"
fi
[ $fails -eq 0 ] && echo "all exit statuses as expected"
exit $fails
