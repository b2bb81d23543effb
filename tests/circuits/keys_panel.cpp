// The panel driven by scripted keys: 'a' three times, each pressed once the
// circuit has settled, then the value summary.
#include "PanelCircuit.h"

void simnet() {
    panel();
}
