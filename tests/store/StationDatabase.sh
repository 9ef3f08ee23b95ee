#!/bin/sh
# A station's database as an operator uses it, through the program:
#   sh StationDatabase.sh PROGRAM databases|no-databases
# databases: two Kelvanes writing one SQLite file at once, the history of it, and the files and
# options that are refused (exit 2, naming the file). no-databases: a build without them refuses
# every database target and action with one line, and its help names none.
k="$1" build="$2" fails=0
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
run() {  # STATUS ARGUMENTS...
    want=$1; shift; "$k" "$@" >out 2>err; got=$?
    [ $got -eq "$want" ] || fail "kelvane $*: status $got, not $want: $(head -c 400 err)"
}
has() { grep -qF -- "$2" "$1" || fail "'$2' missing in $1: $(head -c 400 "$1")"; }

if [ "$build" = no-databases ]; then
    for args in "--simulate --measure obw --results s.sqlite" "--simulate --measure obw --results r.db" \
        "--simulate --measure obw --results postgresql://line@db/results" \
        "--sync postgresql://line@db/results" "--history s.sqlite" \
        "--simulate --measure obw --journal j.sqlite"; do
        run 2 $args; has err "databases are not available in this build"
        [ "$(wc -l <err)" -le 2 ] || fail "$args: more than the refusal: $(cat err)"
    done
    [ -e s.sqlite ] || [ -e r.db ] && fail "a refused database was made"
    run 0 --help
    for option in --sync --history --journal sqlite postgresql; do
        grep -q -- "$option" out && fail "--help names $option"
    done
    [ $fails -eq 0 ] || { echo "$fails failed"; exit 1; }
    echo "StationDatabase: refused in this build"
    exit 0
fi

# Two Kelvanes at once on one file: both keep every record.
"$k" --simulate --measure obw --repeat 4 --station one --results s.sqlite >/dev/null 2>err1 &
first=$!
"$k" --simulate --measure ch-power --repeat 4 --station two --results s.sqlite >/dev/null 2>err2 &
second=$!
wait $first || fail "the first writer: $(cat err1)"
wait $second || fail "the second writer: $(cat err2)"
run 0 --history s.sqlite --history-by station
has out 'History of "s.sqlite": 8 records'
has out "ch-power at two: 4 runs"
has out "obw at one: 4 runs, 0 DUTs, 4 pass, 0 fail, 0 incomplete, first-pass yield -"
# Beside a JSON Lines file, with the same record.
run 0 --simulate --measure acp --dut SN-9 --results s.sqlite --results r.jsonl
run 0 --history s.sqlite --measurement acp --history-format csv
has out "acp,,,1,1,1,0,0,1,1,1,,,,,,,,"
grep -q '"dut":"SN-9"' r.jsonl || fail "the JSON Lines record"

# Refused before anything runs, naming the file.
printf 'not a database, but long enough to be read as one\n%.0s' 1 2 3 4 5 6 7 8 9 10 >notes.db
run 2 --simulate --measure obw --results notes.db
has err 'kelvane: the database "notes.db" is not an SQLite database'
run 2 --history notes.db; has err 'the database "notes.db" is not an SQLite database'
run 2 --history missing.sqlite; has err 'the database "missing.sqlite" is not there'
run 2 --simulate --measure obw --results t.sqlite --trace t.sqlite
has err "--trace and --results name one file"
run 2 --sync s.sqlite; has err "--sync: 's.sqlite' is no server"
run 2 --history s.sqlite --history-format xml; has err "--history-format: 'xml'; use text or csv"
run 2 --history s.sqlite --since 2026-13-01; has err "--since: '2026-13-01' is no date"
run 2 --history s.sqlite --measurement nothing; has err "--measurement: unknown measurement"
run 2 --simulate --measure obw --since 2026-01-01; has err "--since selects what --history shows"
run 2 --history s.sqlite --measure obw; has err "--history runs no measurement"
run 2 --simulate --measure obw --journal j.sqlite; has err "--journal keeps the records of a postgresql://"
run 2 --simulate --measure obw --results "postgresql://line:pw-x@/results"
has err "is no server"; grep -q "pw-x" err && fail "a password in a usage error"
run 0 --help
for option in "--sync URL" "--history TARGET" "--journal FILE" "--history-by station"; do has out "$option"; done

[ $fails -eq 0 ] || { echo "$fails failed"; exit 1; }
echo "StationDatabase: all passed"
