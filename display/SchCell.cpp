// Position strings and the tree of grids they name.
#include "display/SchCell.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <utility>
#include <vector>

namespace {

// Labels compare by their signed character codes, whatever the platform's char.
int labelCode(char label) {
    return static_cast<signed char>(label);
}

char lowerLabel(char a, char b) {
    return labelCode(a) <= labelCode(b) ? a : b;
}
char higherLabel(char a, char b) {
    return labelCode(a) >= labelCode(b) ? a : b;
}

void recountCells(SchematicCell *ptr) {
    ptr->nr_v_cells = labelCode(ptr->max_v_label) - labelCode(ptr->min_v_label) + 1;
    ptr->nr_h_cells = labelCode(ptr->max_h_label) - labelCode(ptr->min_h_label) + 1;
}

// Narrows one rectangle by one field of grid p, in single precision as the
// layout has always been computed: product, then quotient, then sum.
void placeInGrid(const SchematicCell *p, const char *field, int *x, int *y, int *w, int *h) {
    char r[2], c[2];
    breakCell(field, r, c);
    const float fw = static_cast<float>(*w), fh = static_cast<float>(*h);
    const float cols = static_cast<float>(p->nr_h_cells), rows = static_cast<float>(p->nr_v_cells);
    const float colOffset = static_cast<float>(labelCode(c[0]) - labelCode(p->min_h_label));
    const float rowOffset = static_cast<float>(labelCode(r[0]) - labelCode(p->min_v_label));
    const float colSpan = static_cast<float>(labelCode(c[1]) - labelCode(c[0]) + 1);
    const float rowSpan = static_cast<float>(labelCode(r[1]) - labelCode(r[0]) + 1);
    *x = static_cast<int>(std::trunc(colOffset * fw / cols + static_cast<float>(*x)));
    *y = static_cast<int>(std::trunc(rowOffset * fh / rows + static_cast<float>(*y)));
    *w = static_cast<int>(std::trunc(colSpan * fw / cols));
    *h = static_cast<int>(std::trunc(rowSpan * fh / rows));
}

// Below this many nested grids a scan of the names beats hashing.
const size_t indexFrom = 16;

} // namespace

SchematicCell::~SchematicCell() {
    // Each grid taken off the list hands its nested grids to the list before
    // it is freed, so it is freed with no nested grids left to free in turn.
    std::vector<SchematicCell> pending = std::move(ptr);
    while (!pending.empty()) {
        SchematicCell last = std::move(pending.back());
        pending.pop_back();
        for (SchematicCell &sub : last.ptr)
            pending.push_back(std::move(sub));
    }
}

SchematicCell *SchematicCell::findSubspace(const char *field) {
    if (subspaceIndex.empty()) {
        for (SchematicCell &sub : ptr)
            if (sub.name == field)
                return &sub;
        return nullptr;
    }
    const auto found = subspaceIndex.find(field);
    return found == subspaceIndex.end() ? nullptr : &ptr[found->second];
}

SchematicCell *SchematicCell::addSubspace(const char *field) {
    ptr.emplace_back(field);
    nr_of_subspaces = static_cast<int>(ptr.size());
    if (ptr.size() == indexFrom)
        for (size_t i = 0; i < ptr.size(); ++i)
            subspaceIndex.emplace(ptr[i].name, static_cast<int>(i));
    else if (ptr.size() > indexFrom)
        subspaceIndex.emplace(ptr.back().name, nr_of_subspaces - 1);
    return &ptr.back();
}

BreakOutDesc breakOut(const char *s) {
    BreakOutDesc desc;
    if (*s == '\0') {
        std::cerr << "Screen_cell string has zero length.\n";
        return desc;
    }
    const char *fieldStart = s;
    for (const char *p = s;; ++p) {
        if (*p != '.' && *p != '\0')
            continue;
        if (p == fieldStart)
            std::cerr << "Length zero field in schematic cell designation: " << s << std::endl;
        else
            desc.ptr.emplace_back(fieldStart, p);
        if (*p == '\0')
            break;
        fieldStart = p + 1;
    }
    desc.nr = static_cast<int>(desc.ptr.size());
    return desc;
}

bool breakCell(const char *s, char *r, char *c) {
    const size_t length = std::strlen(s);
    r[0] = s[0];
    c[0] = length >= 2 ? s[1] : s[0];
    if (length == maxFieldLength) {
        r[1] = s[3];
        c[1] = s[4];
    } else {
        r[1] = r[0];
        c[1] = c[0];
    }
    const bool ordered = labelCode(r[0]) <= labelCode(r[1]) && labelCode(c[0]) <= labelCode(c[1]);
    if (!ordered) {
        std::sort(r, r + 2, [](char a, char b) { return labelCode(a) < labelCode(b); });
        std::sort(c, c + 2, [](char a, char b) { return labelCode(a) < labelCode(b); });
    }
    return ordered && (length == 2 || length == maxFieldLength);
}

int firstCell(const char *s, char *f) {
    const int length = static_cast<int>(std::strcspn(s, "."));
    const int copied = length <= maxFieldLength ? length : 2;
    std::memcpy(f, s, copied);
    f[copied] = '\0';
    return length;
}

void updateLevelHeading(SchematicCell *ptr, const char *s) {
    char r[2], c[2];
    breakCell(s, r, c);
    if (ptr->nr_h_cells == 0) {
        ptr->min_v_label = r[0];
        ptr->max_v_label = r[1];
        ptr->min_h_label = c[0];
        ptr->max_h_label = c[1];
        ptr->nr_of_subspaces = 0;
        ptr->ptr.clear();
        ptr->subspaceIndex.clear();
    } else {
        ptr->min_v_label = lowerLabel(ptr->min_v_label, r[0]);
        ptr->max_v_label = higherLabel(ptr->max_v_label, r[1]);
        ptr->min_h_label = lowerLabel(ptr->min_h_label, c[0]);
        ptr->max_h_label = higherLabel(ptr->max_h_label, c[1]);
    }
    recountCells(ptr);
}

void getSubCell(SchematicCell *ptr, const char *sa, const char *sb, SchematicCell **next) {
    SchematicCell *found = ptr->findSubspace(sa);
    // Nested grids keep their order of first appearance.
    *next = found ? found : ptr->addSubspace(sa);
    updateLevelHeading(*next, sb);
}

bool wellFormedPosition(const char *s) {
    if (*s == '\0')
        return false;
    for (;;) {
        const size_t length = std::strcspn(s, ".");
        if (length != 2 && length != maxFieldLength)
            return false;
        // Corners in order: rows and columns do not run backwards.
        if (length == maxFieldLength &&
            (labelCode(s[3]) < labelCode(s[0]) || labelCode(s[4]) < labelCode(s[1])))
            return false;
        if (s[length] == '\0')
            return true;
        s += length + 1;
        if (*s == '\0')
            return false; // a trailing dot
    }
}

void enterSchematicCell(SchematicCell *schematic, const char *s) {
    if (!wellFormedPosition(s)) {
        enterFields(schematic, breakOut(s));
        return;
    }
    // The common case walks the fields in place, without splitting into strings.
    char field[maxFieldLength + 1], next[maxFieldLength + 1];
    int length = firstCell(s, field);
    for (SchematicCell *current = schematic;;) {
        updateLevelHeading(current, field);
        if (s[length] == '\0')
            return;
        s += length + 1;
        length = firstCell(s, next);
        getSubCell(current, field, next, &current);
        std::memcpy(field, next, sizeof field);
    }
}

void enterFields(SchematicCell *schematic, const BreakOutDesc &fields) {
    SchematicCell *current = schematic;
    for (int k = 0; k < fields.nr; ++k) {
        updateLevelHeading(current, fields.ptr[k].c_str());
        if (k < fields.nr - 1)
            getSubCell(current, fields.ptr[k].c_str(), fields.ptr[k + 1].c_str(), &current);
    }
}

void schematicSubSpace(SchematicCell *p, const char *s, int *x, int *y, int *w, int *h) {
    char field[maxFieldLength + 1];
    // A grid that never saw a field (a position not registered) has no cells to divide.
    while (p && *s != '\0' && p->nr_h_cells > 0) {
        const int length = firstCell(s, field);
        if (length == 0)
            return;
        placeInGrid(p, field, x, y, w, h);
        if (s[length] == '\0')
            return;
        s += length + 1;
        p = p->findSubspace(field);
    }
}

BreakOutDesc normalisedFields(const char *s, bool *malformed) {
    BreakOutDesc fields = breakOut(s);
    *malformed = false;
    for (std::string &field : fields.ptr) {
        char r[2], c[2];
        if (breakCell(field.c_str(), r, c))
            continue;
        *malformed = true;
        if (r[0] == r[1] && c[0] == c[1])
            field = {r[0], c[0]};
        else
            field = {r[0], c[0], '-', r[1], c[1]};
    }
    return fields;
}

std::string joinFields(const BreakOutDesc &fields) {
    std::string joined;
    for (const std::string &field : fields.ptr) {
        if (!joined.empty())
            joined += '.';
        joined += field;
    }
    return joined;
}

std::string normalisedPosition(const char *s, bool *malformed) {
    return joinFields(normalisedFields(s, malformed));
}

void dumpSchematicCell(SchematicCell *) {}

void dumpSchematicLevel(SchematicCell *cell) {
    // Depth first with a list of its own: the tree may be very deep.
    std::vector<SchematicCell *> pending{cell};
    while (!pending.empty()) {
        SchematicCell *next = pending.back();
        pending.pop_back();
        dumpSchematicCell(next);
        for (auto sub = next->ptr.rbegin(); sub != next->ptr.rend(); ++sub)
            pending.push_back(&*sub);
    }
}
