#!/bin/sh
# ball-trace's command line: bad counts give one line on stderr (the usage, or
# the limit for a count past it), exit 2 and no table; good counts give 50
# well-formed lines.
trace="$1"
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_usage() {
    "$trace" "$@" >"$out" 2>"$err"
    status=$?
    [ "$status" -eq 2 ] || fail "args [$*]: exit $status, expected 2"
    [ ! -s "$out" ] || fail "args [$*]: printed a table"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "args [$*]: stderr is not one line: $(cat "$err")"
}

expect_usage
expect_usage -1
expect_usage abc
expect_usage 1.5
expect_usage +3
expect_usage ""
expect_usage " 1"
expect_usage 0x10
expect_usage 1 2
# The line without the "\r" that the Windows runtime adds.
message() { tr -d '\r' <"$err"; }

message | grep -qx 'usage: ball-trace STEPS (a whole number of steps, 0 to 1000000000)' ||
    fail "the usage line does not give the largest count: $(message)"
# Past the largest count, however far, the message names the limit.
for count in 1000000001 18446744073709551615 18446744073709551616 99999999999999999999999; do
    expect_usage "$count"
    message | grep -qx "ball-trace: STEPS is at most 1000000000, not $count" ||
        fail "$count: the message does not give the limit: $(message)"
done

"$trace" 007 >"$out" 2>"$err" || fail "007: exit $?"
[ "$(wc -l <"$out")" -eq 50 ] || fail "007: not 50 lines"
[ ! -s "$err" ] || fail "007: wrote to stderr"
bad=$(grep -cvE '^[0-9]+( [0-9a-f]{8}){15}$' "$out")
[ "$bad" -eq 0 ] || fail "$bad malformed lines"
[ "$(cut -d' ' -f1 "$out" | tr '\n' ' ')" = "$(seq 0 49 | tr '\n' ' ')" ] || fail "indices not 0..49"

# Step 0: the start-up table, velocities and previous positions zero.
"$trace" 0 >"$out"
[ "$(head -n 1 "$out")" = "0 00000000 00000000 00000000 c419590f 42fe575d c4795fd7 00000000 00000000 00000000 00000000 00000000 3eebf32e 421c00a3 4321bf83 42ea00f4" ] ||
    fail "ball 0 at start-up: $(head -n 1 "$out")"
# Step 1: ball 0 with the first step's velocity and position.
"$trace" 1 >"$out"
[ "$(head -n 1 "$out")" = "0 3e0357a6 bc8a89b1 3e49ac4c c41950da 42fe4eb4 c479533c c419590f 42fe575d c4795fd7 00000000 00000000 3eebf32e 421c00a3 4321bf83 42ea00f4" ] ||
    fail "ball 0 after one step: $(head -n 1 "$out")"

# A table that cannot be written is not reported as success.
if [ -w /dev/full ]; then
    "$trace" 0 >/dev/full 2>/dev/null && fail "writing to /dev/full reported success"
fi

[ "$failures" -eq 0 ] && echo "all ball-trace argument checks passed"
exit "$failures"
