// Fuzzes position strings and the tiling: the input, split at its line
// breaks, is the position string of one component per line.  Beyond running
// clean under the sanitizers, the tiling must keep these properties whatever
// the strings:
//   - the grid tree built by walking a well-formed string in place equals
//     the one built from its split fields;
//   - every tile lies inside the schematic square, allowing the rounding of
//     single-precision placement;
//   - components sharing a position get slices that do not overlap, in
//     index order;
//   - a grid's extent depends on the labels used, not on their order: a
//     component alone at its position gets the same tile when the
//     components come in reverse order.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "core/Ph2.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "display/SchCell.h"

namespace {

const int schematicSide = 16777215;

// Past this many components an input only repeats what smaller ones reach.
const size_t maxComponents = 600;

std::vector<std::string> positionsOf(const uint8_t *data, size_t size) {
    std::vector<std::string> positions;
    const char *text = reinterpret_cast<const char *>(data);
    for (size_t start = 0; size > 0 && start <= size && positions.size() < maxComponents;) {
        const char *end = static_cast<const char *>(std::memchr(text + start, '\n', size - start));
        const size_t length = end ? static_cast<size_t>(end - (text + start)) : size - start;
        // A position is a C string: whatever follows a zero byte is not part of it.
        positions.emplace_back(text + start, strnlen(text + start, length));
        start += length + 1;
    }
    return positions;
}

struct Tile {
    int x, y, w, h;
    bool operator==(const Tile &o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

std::vector<Tile> tiles(const std::vector<std::string> &positions) {
    phaseTwo->numberOfComponents = static_cast<int>(positions.size());
    phaseTwo->rcpos.assign(positions.begin(), positions.end());
    phaseTwo->tile.assign(positions.size(), ScreenTile{});
    SchematicCell root;
    phaseFive->componentTiling(&root);
    std::vector<Tile> result;
    for (const ScreenTile &t : phaseTwo->tile)
        result.push_back({t.x, t.y, t.w, t.h});
    return result;
}

bool sameGrid(const SchematicCell &a, const SchematicCell &b) {
    return a.name == b.name && a.min_v_label == b.min_v_label && a.min_h_label == b.min_h_label &&
           a.max_v_label == b.max_v_label && a.max_h_label == b.max_h_label && a.nr_v_cells == b.nr_v_cells &&
           a.nr_h_cells == b.nr_h_cells && a.nr_of_subspaces == b.nr_of_subspaces;
}

// Compares two trees grid by grid, without a call per level: a position may
// nest as deep as its length allows.
bool sameTree(const SchematicCell &a, const SchematicCell &b) {
    std::vector<std::pair<const SchematicCell *, const SchematicCell *>> pending = {{&a, &b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (!sameGrid(*x, *y))
            return false;
        for (int k = 0; k < x->nr_of_subspaces; ++k)
            pending.emplace_back(&x->ptr[k], &y->ptr[k]);
    }
    return true;
}

void checkInPlaceWalk(const std::vector<std::string> &positions) {
    SchematicCell walked, split;
    for (const std::string &p : positions) {
        if (!wellFormedPosition(p.c_str()))
            continue;
        enterSchematicCell(&walked, p.c_str());
        enterFields(&split, breakOut(p.c_str()));
    }
    if (!sameTree(walked, split))
        fuzzFinding("walking positions in place built another grid tree than their split fields");
}

// The number of fields of a position, which bounds the rounding its tile
// collects: a unit or two per field.
int depthOf(const std::string &position) {
    int fields = 1;
    for (const char c : position)
        fields += c == '.';
    return fields;
}

void checkInsideSquare(const std::vector<std::string> &positions, const std::vector<Tile> &t) {
    for (size_t c = 0; c < t.size(); ++c) {
        const long long slack = 2LL * depthOf(positions[c]);
        if (t[c].x < 0 || t[c].y < 0 || t[c].w < 0 || t[c].h < 0 ||
            static_cast<long long>(t[c].x) + t[c].w > schematicSide + slack ||
            static_cast<long long>(t[c].y) + t[c].h > schematicSide + slack)
            fuzzFinding("a tile lies outside the schematic square");
    }
}

// The position each component is placed at: mended when malformed.
std::vector<std::string> placedPositions(const std::vector<std::string> &positions) {
    std::vector<std::string> placed;
    for (const std::string &p : positions) {
        bool malformed = false;
        placed.push_back(wellFormedPosition(p.c_str()) ? p : normalisedPosition(p.c_str(), &malformed));
    }
    return placed;
}

void checkSharers(const std::vector<std::string> &placed, const std::vector<Tile> &t) {
    std::map<std::string, size_t> previous;
    for (size_t c = 0; c < t.size(); ++c) {
        const auto found = previous.find(placed[c]);
        if (found != previous.end()) {
            const Tile &before = t[found->second];
            if (t[c].x != before.x || t[c].w != before.w || t[c].h != before.h)
                fuzzFinding("components sharing a position got slices of different columns or heights");
            if (static_cast<long long>(before.y) + before.h > t[c].y)
                fuzzFinding("components sharing a position overlap or are out of index order");
        }
        previous[placed[c]] = c;
    }
}

void checkOrderIndependence(const std::vector<std::string> &positions, const std::vector<std::string> &placed,
                            const std::vector<Tile> &t) {
    std::map<std::string, int> uses;
    for (const std::string &p : placed)
        ++uses[p];
    const std::vector<Tile> reversed = tiles(std::vector<std::string>(positions.rbegin(), positions.rend()));
    for (size_t c = 0; c < t.size(); ++c)
        if (uses[placed[c]] == 1 && !(reversed[t.size() - 1 - c] == t[c]))
            fuzzFinding("a component's tile changed with the order of the other components");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceStandardStreams();
    useXDisplay = 0;
    phaseTwo = new PhaseTwo;
    phaseFive = new PhaseFive;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::vector<std::string> positions = positionsOf(data, size);
    checkInPlaceWalk(positions);
    const std::vector<Tile> t = tiles(positions);
    checkInsideSquare(positions, t);
    const std::vector<std::string> placed = placedPositions(positions);
    checkSharers(placed, t);
    checkOrderIndependence(positions, placed, t);
    return 0;
}
