#!/bin/bash
# A script cannot make the driver hold a runaway line or work without end: a 64 MiB comment line
# and a `text` of 8 MiB are refused with only a little more memory than a run without them (the
# line is skipped, never held), and a wait of months is refused at once. Memory is the driver's
# peak resident size as GNU time reports it; there is no timing here, only the CTest timeout and
# a `timeout` so that a driver doing all that work fails instead of holding the machine.
# Usage: replay_bounds.sh DRIVER
set -u
driver=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -x /usr/bin/time ] || fail "GNU time (/usr/bin/time) is needed"
export LC_ALL=C
mkdir "$work/home"
refused='error: line longer than 1 MiB (1048576 bytes)'

# Runs the driver on the script from standard input; its answers in $work/answers, its peak
# resident size in KiB echoed.
drive() {
    timeout 30 /usr/bin/time -f '%M' -o "$work/peak" "$driver" --home "$work/home" --seed 1 \
        >"$work/answers" || fail "the driver failed or ran out of time"
    tail -n 1 "$work/peak"
}
# N MiB of the byte $2.
bytes() { head -c "$(($1 << 20))" /dev/zero | tr '\0' "$2"; }

idle=$(printf 'echo hi\n' | drive)
comment=$({ bytes 64 '#'; printf '\necho after\n'; } | drive)
[ "$(cat "$work/answers")" = "$refused"$'\nafter' ] || fail "a long comment: $(head -c 300 "$work/answers")"
[ "$comment" -lt $((idle + 16384)) ] || fail "a 64 MiB line took ${comment} KiB, ${idle} KiB without it"

started=$(printf 'start\n' | drive)
text=$({ printf 'start\ntext '; bytes 8 x; printf '\necho after\nwait 20000000000\n'; } | drive)
[ "$(cat "$work/answers")" = $'started\n'"$refused"$'\nafter\nerror: wait: a replay ends 24 hours after start' ] ||
    fail "a long text and a long wait: $(head -c 300 "$work/answers")"
[ "$text" -lt $((started + 16384)) ] || fail "an 8 MiB text took ${text} KiB, ${started} KiB without it"
echo "replay bounds: passed (peaks in KiB: ${idle} idle, ${comment} with the comment, ${started} started, ${text} with the text)"
