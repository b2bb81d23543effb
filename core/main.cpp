// The program's entry: the key help, then the simulator on the linked circuit.
#include "core/Sim.h"

int main(int argc, char **argv) {
    printKeyHelp();
    Sim(argc, argv, simnet);
    return 0;
}
