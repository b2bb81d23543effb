// The panel circuit, started with a window label that holds spaces: the label
// must reach the program as one argument, so that the options after it count.
#include "PanelCircuit.h"

void simnet() {
    panel();
}
