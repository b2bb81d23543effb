// The function-key and cursor-key operations.  Each key is one row of a
// table: its code and what it does.
#include "display/FandCOp.h"

#include <algorithm>
#include <iostream>

#include "core/Ph2.h"
#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"

namespace {

void repaintDisplay() {
    phaseFive->repaint();
}

void toggle(int &flag) {
    flag = !flag;
}

// Display flags change what the schematic shows, so the window is repainted.
void toggleAndRepaint(int &flag) {
    toggle(flag);
    repaintDisplay();
}

// Every change of the level of detail repaints, even when the level stays.
void setLevelAndRepaint(int level) {
    phaseFive->currentGraphicDisplayLevel = level;
    repaintDisplay();
}

int currentLevel() {
    return phaseFive->currentGraphicDisplayLevel;
}
int deepestLevel() {
    return phaseTwo->maxGraphicDisplayLevel;
}

void moreDetail() {
    setLevelAndRepaint(std::min(currentLevel() + 1, deepestLevel()));
}
void mostDetail() {
    setLevelAndRepaint(deepestLevel());
}
void leastDetail() {
    setLevelAndRepaint(1);
}
void lessDetail() {
    setLevelAndRepaint(std::max(currentLevel() - 1, 1));
}

struct KeyOperation {
    int code;
    void (*operate)();
};

const KeyOperation functionKeys[] = {
    {1, [] { reStart = 1; }},
    {2, [] { toggleAndRepaint(phaseFive->interconnectFlag); }},
    {3, [] { toggleAndRepaint(phaseFive->labelGateFlag); }},
    {4, [] { toggleAndRepaint(phaseFive->drawComponentLeadsFlag); }},
    {5, [] { toggleAndRepaint(phaseFive->labelLinesFlag); }},
    {6, [] { toggleAndRepaint(displayTimeFlag); }}, // the status line's band comes and goes
    {7, [] { toggle(connectMuxOnlyFlag); }},
    {8, [] { toggleAndRepaint(phaseFive->superProbeSelect); }},
    {9, [] { toggleAndRepaint(phaseFive->newWindowingMode); }},
    {10, [] { done = 1; }},
    {20, moreDetail},
    {35, moreDetail},
    {21, mostDetail},
    {33, mostDetail},
    {24, leastDetail},
    {27, leastDetail},
    {29, lessDetail},
    {37, lessDetail},
    {31, repaintDisplay},
    // Reached only from Control keys: no function key or replay character gives these codes.
    {readoutCode, [] { toggleAndRepaint(phaseFive->valueReadoutFlag); }},
    {legendCode, [] { toggleAndRepaint(phaseFive->legendFlag); }},
};

const KeyOperation cursorKeys[] = {
    {0, [] { stallLevel = std::min(stallLevel + 1, maxStallLevel); }},
    {1, [] { stallLevel = 0; }},
    {2, [] { stallLevel = std::max(stallLevel - 1, 0); }},
    {3, [] { toggle(haltFlag); }},
};

// Runs the operation bound to code; false when the table has none.
template <std::size_t N> bool operate(const KeyOperation (&table)[N], int code) {
    const auto found = std::find_if(std::begin(table), std::end(table),
                                    [code](const KeyOperation &k) { return k.code == code; });
    if (found == std::end(table))
        return false;
    found->operate();
    return true;
}

} // namespace

void FunctionKeyOperate(int keyChar) {
    if (!operate(functionKeys, keyChar))
        std::cerr << "Unused Function key F" << keyChar << std::endl;
}

void CursorKeyOperate(int keyChar) {
    if (!operate(cursorKeys, keyChar))
        std::cerr << "Unused Cursor key = " << keyChar << std::endl;
}
