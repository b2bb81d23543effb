#!/bin/sh
# Runs one fuzz target from its seed inputs for a fixed number of inputs.
# Usage: run_fuzz.sh TARGET SEEDS WORK [libFuzzer options]
#   SEEDS  the seed inputs kept in the repository (never written)
#   WORK   a scratch folder, emptied first, where the fuzzer keeps the inputs
#          it finds new and any crashing input (crash-*, leak-*, ...)
# The same seed gives the same inputs each time; the target's exit status is
# the test's result.
target=$1 seeds=$2 work=$3
shift 3
rm -rf "$work"
mkdir -p "$work/corpus"
exec "$target" -seed=1 -max_len=4096 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$@" "$work/corpus" "$seeds"
