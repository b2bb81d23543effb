// A malformed key list ends the program with its message before anything is
// built: no counts, no probe lines.
#include "PanelCircuit.h"

void simnet() {
    panel();
}
