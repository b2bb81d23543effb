#!/bin/sh
# Runs $NORVALE with the given arguments and passes on what it writes without
# the probes' change lines ("Time = ..." on standard error), so that a long
# program's gold file holds its result: the -s summary, the count lines and
# any message.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
"$NORVALE" "$@" 2>"$err"
status=$?
grep -v '^Time = ' "$err" >&2
exit $status
