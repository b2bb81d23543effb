#!/bin/sh
# Runs the program with ROMs loaded from files and checks that it gives
# exactly the run of an existing gold case, with the given extra lines at the
# end of standard output (the summary's program line).
# Usage: same_run.sh PROGRAM GOLD EXTRA ARGUMENT...
#   GOLD   a gold file as run_gold.sh reads it
#   EXTRA  lines added after GOLD's standard output ("" for none)
# Relative file names in the arguments are taken from the current directory.
program=$1 gold=$2 extra=$3
shift 3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for argument in "$@"; do printf '%s\n' "$argument"; done >"$dir/case.args"
awk -v extra="$extra" '$0 == "--- stderr" && extra != "" { print extra } { print }' "$gold" >"$dir/case.expected"
exec "$(dirname "$0")/../circuits/run_gold.sh" "$program" "$dir/case"
