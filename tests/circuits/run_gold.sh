#!/bin/sh
# Runs a circuit program the way a user does and compares what it writes with
# the gold file.  Usage: run_gold.sh PROGRAM CASE
#   CASE.args      the command line (one line, may be empty)
#   CASE.expected  standard output followed by standard error, then a last line
#                  "exit N" with the exit status
program=$1
case=$2
args=""
[ -f "$case.args" ] && args=$(cat "$case.args")
out=$(mktemp) err=$(mktemp) actual=$(mktemp)
trap 'rm -f "$out" "$err" "$actual"' EXIT
# shellcheck disable=SC2086
timeout 30 "$program" $args </dev/null >"$out" 2>"$err"
status=$?
{ cat "$out"; echo "--- stderr"; cat "$err"; echo "exit $status"; } >"$actual"
if ! diff -u "$case.expected" "$actual"; then
    echo "gold mismatch for $case" >&2
    exit 1
fi
