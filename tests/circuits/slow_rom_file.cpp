// A ROM whose circuit adds a kind of file that takes forever to read (a file
// on a server that stopped answering, say): what a signal during the loading
// of ROM files meets.  Without -R nothing is read and the run is a plain one.
#include <unistd.h>

#include "components/RomFiles.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"

namespace {

RomContents readForever(const std::string &, std::istream &, RomShape) {
    for (;;)
        pause();
}

} // namespace

void simnet() {
    const unsigned char contents[] = {0x5, 0x6, 0x7, 0x8};
    const Signal word(4, "W");
    Rom(SD("aa", nullptr), (Zero, Zero), word, 4, 4, contents);
    Probe(SD("ab", nullptr), word, "w");
    addRomFileKind({".wait", readForever, nullptr});
}
