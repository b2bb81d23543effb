#!/bin/sh
# The one command for a user's circuit, used as a user does: from a folder
# outside the repository, on circuit files kept there.
#   - a circuit builds and runs headless with the options given;
#   - run again unchanged, it is not rebuilt; touched, it is;
#   - a file that does not compile fails with the compiler's message, naming
#     the file and line, and a non-zero status, and nothing runs;
#   - a missing file or a missing file name stops run.sh before it builds.
# Usage: circuit_command.sh REPOSITORY
root=$1
work=$(mktemp -d)
# The programs' build folders under build/circuits/ go with the test files.
folder() { echo "$root/build/circuits/$1-$(printf %s "$work/$1.cpp" | cksum | cut -d' ' -f1)"; }
trap 'rm -rf "$work" "$(folder blink)" "$(folder broken)"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cat >"$work/blink.cpp" <<'END'
#include "norvale.h"

void simnet() {
    const Signal led(1, "Led");
    Switch(SD("aa"), led, 'b', Zero, "Led");
    Probe(SD("ab"), led, "led");
}
END
cat >"$work/broken.cpp" <<'END'
#include "norvale.h"

void simnet() { Signal led(1, "Led") Probe(SD("aa"), led, "led"); }
END

cd "$work" || fail "no work folder"

"$root/run.sh" --circuit blink.cpp -X -k 'b,b,b' -s >first.out 2>first.err || fail "blink.cpp did not build and run: $(cat first.err)"
[ "$(tail -n 1 first.out)" = "led at ab = ONE" ] || fail "blink.cpp's summary: $(tail -n 1 first.out)"
grep -q "^Time = 40  Probe for led at ab  Value = ONE$" first.err || fail "blink.cpp's probe lines: $(cat first.err)"
grep -q "Linking CXX executable" first.err || fail "the first run linked nothing"

"$root/run.sh" -X --circuit="$work/blink.cpp" -k b -s >again.out 2>again.err || fail "the second run failed: $(cat again.err)"
grep -q "Building CXX\|Linking CXX" again.err && fail "an unchanged file was rebuilt: $(cat again.err)"
[ "$(tail -n 1 again.out)" = "led at ab = ONE" ] || fail "the second run's summary: $(tail -n 1 again.out)"

touch blink.cpp
"$root/run.sh" --circuit blink.cpp -X >touched.out 2>touched.err || fail "the run after a change failed"
grep -q "Building CXX object.*blink.cpp" touched.err || fail "a changed file was not rebuilt: $(cat touched.err)"

"$root/run.sh" --circuit broken.cpp -X -s >broken.out 2>broken.err
status=$?
[ $status -ne 0 ] || fail "a file that does not compile ended with status 0"
grep -q "$work/broken.cpp:3:.*error:" broken.err || fail "no compiler message naming broken.cpp:3: $(cat broken.err)"
grep -q "^run.sh: $work/broken.cpp did not build$" broken.err || fail "no closing line: $(cat broken.err)"
[ ! -s broken.out ] || fail "something ran after the failed build: $(cat broken.out)"

"$root/run.sh" --circuit missing.cpp -X >missing.out 2>missing.err && fail "a missing file ended with status 0"
[ "$(cat missing.err)" = "run.sh: no circuit file missing.cpp" ] || fail "missing file: $(cat missing.err)"
"$root/run.sh" -X --circuit >nofile.out 2>nofile.err
[ $? -eq 2 ] || fail "--circuit without a file did not end with status 2"
[ "$(cat nofile.err)" = "run.sh: --circuit needs the name of a circuit file" ] || fail "no file: $(cat nofile.err)"
echo "run.sh --circuit: all cases passed"
