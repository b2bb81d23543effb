// Tiling: one screen rectangle per component from its position string.
#include <cstdint>
#include <deque>
#include <iostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Ph2.h"
#include "display/Ph5.h"
#include "display/SchCell.h"
#include "display/SchExtent.h"

namespace {

// Numbers the members of each group of equal strings 1, 2, ... in index
// order (subPosition) and gives every member its group's size
// (totalInThisPosition).  Grouping by hash keeps this linear in the number
// of components.
void countPositions(const std::vector<const char *> &positions, std::vector<int> &subPosition,
                    std::vector<int> &totalInThisPosition) {
    std::unordered_map<std::string_view, int> groupOf;
    groupOf.reserve(positions.size());
    std::vector<int> groupSize;
    std::vector<int> group(positions.size());
    subPosition.resize(positions.size());
    totalInThisPosition.resize(positions.size());
    for (size_t a = 0; a < positions.size(); ++a) {
        const auto [entry, isNew] = groupOf.try_emplace(positions[a], static_cast<int>(groupSize.size()));
        if (isNew)
            groupSize.push_back(0);
        group[a] = entry->second;
        subPosition[a] = ++groupSize[group[a]];
    }
    for (size_t a = 0; a < positions.size(); ++a)
        totalInThisPosition[a] = groupSize[group[a]];
}

} // namespace

void PhaseFive::componentTiling(SchematicCell *schematic) {
    const int n = phaseTwo->numberOfComponents;
    // The position each component is registered and placed with: its own
    // string when well formed, else the mended one.  Mending splits the
    // string, which reports empty strings and fields; a malformed field gets
    // one warning for the component.  All positions are registered before
    // any is placed, so every grid has its final extent by then.
    std::deque<std::string> mended;
    std::vector<const char *> positions(n);
    for (int c = 0; c < n; ++c) {
        const char *position = phaseTwo->rcpos[c].c_str();
        if (!wellFormedPosition(position)) {
            bool malformed = false;
            mended.push_back(normalisedPosition(position, &malformed));
            if (malformed)
                std::cerr << "Malformed field in schematic cell designation: " << position << " (placed as "
                          << mended.back() << ")" << std::endl;
            position = mended.back().c_str();
        }
        positions[c] = position;
        if (*position != '\0')
            enterSchematicCell(schematic, position);
    }
    std::vector<int> subPosition, totalInThisPosition;
    countPositions(positions, subPosition, totalInThisPosition);

    for (int c = 0; c < n; ++c) {
        int x = 0, y = 0, w = schematicExtent, h = schematicExtent;
        schematicSubSpace(schematic, positions[c], &x, &y, &w, &h);
        // Components sharing a position are stacked in equal slices; 64 bits
        // keep the product exact however many share it.
        const int64_t ht = h, total = totalInThisPosition[c], sub = subPosition[c];
        ScreenTile &tile = phaseTwo->tile[c];
        tile.x = x;
        tile.y = static_cast<int>(y + (sub - 1) * ht / total);
        tile.w = w;
        tile.h = static_cast<int>(ht / total);
    }
}
