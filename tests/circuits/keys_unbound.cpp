// Scripted keys bound to nothing (a comma and a backslash among them): each
// gets the message of an unbound key, and the run ends once the last one has
// been pressed.
#include "PanelCircuit.h"

void simnet() {
    panel();
}
