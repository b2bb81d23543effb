// The panel driven by scripted keys: 'a' twice, each pressed once the circuit
// has settled, then once at time 500, which the settled circuit moves
// straight to; then the value summary.
#include "PanelCircuit.h"

void simnet() {
    panel();
}
