#!/usr/bin/env bash
# Compares the speed of the working tree with that of commit BASE.
#
#     bench/compare.sh BASE [RUNS]
#
# Builds norvale-bench twice in a temporary directory (Release, -j2): once
# from BASE, exported with git archive, and once from the working tree as it
# is, uncommitted edits included.  Then runs the two binaries in turn, RUNS
# times each (3 by default), on the standard scenarios, and prints for each
# the median seconds of both and their ratio new/base (below 1: the working
# tree is faster).  The seconds are the figure the scenario itself reports
# (the simulation alone, without building the circuit); a scenario without
# one is timed whole.  A scenario is compared only when both binaries know it.
# The figures other than seconds and rates (events, evaluations, hashes) are
# the same for the same circuit whatever the speed; the script warns when
# they differ between the two.
#
# BUILD_JOBS overrides the -j2 of the builds; KEEP=1 keeps the temporary
# directory and says where it is.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: bench/compare.sh BASE [RUNS]" >&2
    exit 2
fi
base=$1
runs=${2:-3}
if ! [[ $runs =~ ^[1-9][0-9]*$ ]]; then
    echo "compare.sh: RUNS must be a positive count, not '$runs'" >&2
    exit 2
fi
jobs=${BUILD_JOBS:-2}

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
baseCommit=$(git -C "$repo" rev-parse --verify --quiet "$base^{commit}") || {
    echo "compare.sh: no commit '$base' in $repo" >&2
    exit 2
}

work=$(mktemp -d "${TMPDIR:-/tmp}/norvale-compare-XXXXXX")
if [[ ${KEEP:-0} == 1 ]]; then
    trap 'echo "compare.sh: kept $work" >&2' EXIT
else
    trap 'rm -rf "$work"' EXIT
fi

# build SOURCE BUILD: norvale-bench alone, its log in BUILD.log.
build() {
    local source=$1 dir=$2
    if ! { cmake -S "$source" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
        cmake --build "$dir" -j"$jobs" --target norvale-bench; } >"$dir.log" 2>&1; then
        echo "compare.sh: building $source failed; the end of $dir.log:" >&2
        tail -n 20 "$dir.log" >&2
        KEEP=1
        trap 'echo "compare.sh: kept $work" >&2' EXIT
        exit 1
    fi
}

echo "base $(git -C "$repo" log -1 --format='%h %s' "$baseCommit")"
echo "new  working tree of $(git -C "$repo" log -1 --format='%h %s' HEAD)$(
    git -C "$repo" diff --quiet HEAD -- . 2>/dev/null || echo ' (with uncommitted edits)')"
mkdir "$work/base-src"
git -C "$repo" archive "$baseCommit" | tar -x -C "$work/base-src"
echo "building base..."
build "$work/base-src" "$work/base-build"
echo "building new..."
build "$repo" "$work/new-build"
baseBench=$work/base-build/bench/norvale-bench
newBench=$work/new-build/bench/norvale-bench

# The scenario names a binary lists in its usage message.
knows() {
    local usage
    usage=$("$1" 2>&1 || true) # the usage message comes with status 2
    awk '/^  / {print $1}' <<<"$usage" | grep -qx -- "$2"
}

scenarios=("run 200 2000" "run 20000 40" "ca 1000 500" "computer 8000")

# seconds BENCH ARGS...: the scenario's own seconds= figure, or else the
# wall time of the whole run; the figures line is left in $work/line.
measure() {
    local bench=$1 start end
    shift
    start=$(date +%s.%N)
    if ! "$bench" "$@" >"$work/line" 2>"$work/err"; then
        echo "compare.sh: $bench $* failed:" >&2
        cat "$work/err" >&2
        exit 1
    fi
    end=$(date +%s.%N)
    awk -v whole="$(awk -v a="$start" -v b="$end" 'BEGIN {printf "%.6f", b - a}')" '
        { for (i = 1; i <= NF; ++i) if ($i ~ /^seconds=/) { sub(/^seconds=/, "", $i); print $i; found = 1 } }
        END { if (!found) print whole }' "$work/line"
}

# The figures that do not depend on speed, for the consistency check.
invariant() {
    tr ' ' '\n' <"$work/line" | grep -v -e '^seconds=' -e '_per_s=' -e '^peak_mb=' -e '^$' | tr '\n' ' '
}

median() {
    tr ' ' '\n' | grep -v '^$' | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

printf '\n%-16s %10s %10s %9s\n' scenario base_s new_s new/base
for scenario in "${scenarios[@]}"; do
    read -r -a words <<<"$scenario"
    if ! knows "$baseBench" "${words[0]}" || ! knows "$newBench" "${words[0]}"; then
        printf '%-16s %s\n' "$scenario" "(not known to both, skipped)"
        continue
    fi
    baseTimes="" newTimes="" baseFigures="" newFigures=""
    for ((k = 0; k < runs; ++k)); do
        baseTimes+=" $(measure "$baseBench" "${words[@]}")"
        baseFigures=$(invariant)
        newTimes+=" $(measure "$newBench" "${words[@]}")"
        newFigures=$(invariant)
    done
    b=$(median <<<"$baseTimes")
    n=$(median <<<"$newTimes")
    awk -v s="$scenario" -v b="$b" -v n="$n" \
        'BEGIN {printf "%-16s %10.4f %10.4f %9s\n", s, b, n, (b > 0 ? sprintf("%.3f", n / b) : "-")}'
    if [[ $baseFigures != "$newFigures" ]]; then
        echo "  warning: the runs differ beyond speed: base '$baseFigures', new '$newFigures'"
    fi
done
