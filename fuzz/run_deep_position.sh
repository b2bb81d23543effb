#!/bin/sh
# Runs the position target once on a single position nested 300,000 fields
# deep (far past the fuzzer's input length): building, tiling, comparing and
# freeing such a tree must not exhaust the stack.
# Usage: run_deep_position.sh TARGET WORK
target=$1 work=$2
mkdir -p "$work"
awk 'BEGIN { for (i = 0; i < 300000; i++) printf "aa."; print "aa" }' >"$work/deep-position"
exec "$target" "$work/deep-position"
