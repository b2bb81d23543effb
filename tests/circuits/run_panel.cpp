// The panel circuit as a program of its own.
#include "PanelCircuit.h"

void simnet() {
    panel();
}
