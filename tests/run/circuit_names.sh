#!/bin/sh
# The one command for a user's circuit on unusual but legal paths, used as a
# user does, from a folder outside the repository:
#   - a folder whose name would close a bracket argument and add commands to
#     a CMake file runs no command: the circuit builds and runs, and its own
#     header beside it is found and followed;
#   - file names that are not names of programs (a leading dash, a CMake list
#     separator, only dots, a newline, characters make treats specially)
#     build and run;
#   - a file that defines main is refused: circuits define simnet only.
# Usage: circuit_names.sh REPOSITORY
root=$1
work=$(mktemp -d)
before=$(mktemp)
ls -A "$root/build/circuits" >"$before" 2>/dev/null
# The build folders the test made under build/circuits/ go with its files.
cleanUp() {
    ls -A "$root/build/circuits" 2>/dev/null | while IFS= read -r made; do
        grep -qxF "$made" "$before" || rm -rf "$root/build/circuits/$made"
    done
    rm -rf "$work" "$before" "$root/norvale-injected"
}
trap cleanUp EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
newline='
'

# A circuit in FILE whose switch lights its led; it includes led.h when
# asked to, from its own folder.
writeBlink() {
    {
        echo '#include "norvale.h"'
        [ "$2" = header ] && echo '#include "led.h"'
        echo 'void simnet() {'
        echo '    const Signal led(1, "Led");'
        echo '    Switch(SD("aa"), led, '"'b'"', Zero, "Led");'
        echo '    Probe(SD("ab"), led, LED_NAME);'
        echo '}'
    } >"$1"
}
# Runs FILE with a press of b and checks the summary names the led NAME.
runs() {
    "$root/run.sh" --circuit "$1" -X -k b -s >"$work/out" 2>"$work/err" ||
        fail "$1 did not build and run: $(tail -n 5 "$work/err")"
    [ "$(tail -n 1 "$work/out")" = "$2 at ab = ONE" ] || fail "$1's summary: $(tail -n 1 "$work/out")"
}

cd "$work" || fail "no work folder"

# A command in the folder's name would run in run.sh's folder, the repository.
folder="a]==])${newline}execute_process(COMMAND touch norvale-injected)$newline#"
mkdir "$folder" || fail "cannot make the folder"
echo '#define LED_NAME "lamp"' >"$folder/led.h"
writeBlink "$folder/blink.cpp" header
runs "$folder/blink.cpp" lamp
[ ! -e "$root/norvale-injected" ] || fail "the folder's name ran as CMake code"
echo '#define LED_NAME "light"' >"$folder/led.h"
runs "$folder/blink.cpp" light

for name in -lead.cpp 'a;b.cpp' ..cpp "new${newline}line.cpp" 'd$(x) %:\#.cpp' no-extension; do
    writeBlink "$name"
    sed -i 's/LED_NAME/"led"/' "./$name"
    runs "$name" led
done

cat >main.cpp <<'END'
#include <cstdio>

#include "norvale.h"

void simnet() {}
int main() { std::puts("its own main"); }
END
"$root/run.sh" --circuit main.cpp -X -s >main.out 2>main.err
[ $? -eq 1 ] || fail "a circuit that defines main did not end with status 1"
[ "$(tail -n 1 main.err)" = "run.sh: $work/main.cpp defines main; a circuit defines only the build function simnet, which Norvale's own main calls" ] ||
    fail "a circuit that defines main: $(tail -n 1 main.err)"
[ ! -s main.out ] || fail "something ran: $(cat main.out)"
echo "run.sh --circuit on unusual names: all cases passed"
