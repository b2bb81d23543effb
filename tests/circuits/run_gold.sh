#!/bin/sh
# Runs a circuit program the way a user does and compares what it writes with
# the gold file.  Usage: run_gold.sh PROGRAM CASE
#   CASE.args      the command line, one argument per line, each line taken
#                  exactly as it stands (spaces included, no quoting); an
#                  empty line is an empty argument.  No file: no arguments.
#   CASE.expected  standard output followed by "--- stderr" and standard
#                  error, then a last line "exit N" with the exit status
#
# Every program starts by writing the key help and the colour legend to
# standard output.  One program test keeps that text in its gold file; the
# others would only repeat it, so standard output that starts with it loses
# it (up to and including the empty line after the legend) before the
# comparison.  A case whose gold file itself starts with the key help keeps it.
program=$1
case=$2
firstHelpLine="F1 Reset Simulation to Time Zero (restart)"

set --
if [ -f "$case.args" ]; then
    while IFS= read -r argument || [ -n "$argument" ]; do
        set -- "$@" "$argument"
    done <"$case.args"
fi

out=$(mktemp) err=$(mktemp) actual=$(mktemp)
trap 'rm -f "$out" "$err" "$actual"' EXIT
timeout 30 "$program" "$@" </dev/null >"$out" 2>"$err"
status=$?

# The line number of the empty line that ends the key help and legend, when
# standard output starts with them; empty otherwise.
helpEnd() {
    awk -v first="$firstHelpLine" '
        NR == 1 && $0 != first { exit }
        legend && $0 == "" { print NR; exit }
        /<-- UNINITIALIZED signal/ { legend = 1 }' "$1"
}

keepHelp=false
[ "$(head -n 1 "$case.expected")" = "$firstHelpLine" ] && keepHelp=true
end=$(helpEnd "$out")
{
    if [ -n "$end" ] && [ $keepHelp = false ]; then
        tail -n "+$((end + 1))" "$out"
    else
        cat "$out"
    fi
    echo "--- stderr"
    cat "$err"
    echo "exit $status"
} >"$actual"
if ! diff -u "$case.expected" "$actual"; then
    echo "gold mismatch for $case" >&2
    exit 1
fi
