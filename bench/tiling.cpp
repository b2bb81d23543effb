// tiling N: tiles N components whose positions nest three grids deep, as a
// large model's sub-circuits would place them, and checks that every tile
// lies inside the schematic square.
#include <cstdio>
#include <string>

#include "Bench.h"
#include "core/Ph2.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "display/SchCell.h"
#include "display/SchExtent.h"

namespace {

// Cell k of a 20 x 20 grid labelled a..t.
std::string cell(long k) {
    return {static_cast<char>('a' + k / 20 % 20), static_cast<char>('a' + k % 20)};
}

// Component c's position: a module cell, a sub-module cell inside it, and a
// cell (every seventh a two-row, multi-column range) inside that.  Runs of
// three consecutive components share one position, and consecutive
// components belong to the same module, as a build function places them.
std::string generatedPosition(long c) {
    const long k = c / 3;
    const std::string outer = cell(k / 160000) + "." + cell(k / 400);
    return k % 7 == 0 ? outer + ".aa-b" + static_cast<char>('a' + k % 20) : outer + "." + cell(k);
}

int runTiling(const bench::Arguments &args) {
    const long n = bench::countArgument(args, 0, 1000000, "tiling N");
    useXDisplay = 0;
    phaseTwo = new PhaseTwo;
    phaseTwo->numberOfComponents = static_cast<int>(n);
    phaseTwo->rcpos.resize(n);
    phaseTwo->tile.resize(n);
    for (long c = 0; c < n; ++c)
        phaseTwo->rcpos[c] = generatedPosition(c);
    phaseFive = new PhaseFive;
    SchematicCell root;

    const double start = bench::seconds();
    phaseFive->componentTiling(&root);
    const double elapsed = bench::seconds() - start;

    long outside = 0;
    for (const ScreenTile &t : phaseTwo->tile)
        outside += t.x < 0 || t.y < 0 || t.w <= 0 || t.h <= 0 || t.x + t.w > schematicExtent ||
                   t.y + t.h > schematicExtent;
    if (outside != 0) {
        std::fprintf(stderr, "tiling: %ld tiles outside the schematic or empty\n", outside);
        return 1;
    }
    std::printf("components=%ld peak_mb=%.0f seconds=%.3f\n", n, bench::peakMegabytes(), elapsed);
    return 0;
}

const bench::Registrar tiling("tiling", "tiling N", runTiling);

} // namespace
