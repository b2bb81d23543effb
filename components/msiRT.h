// Runtimes of the medium-scale and console components.  Each takes only the
// component index, reads its pins through the netlist arrays and requests its
// outputs with the medium-scale delays; the clocked ones keep their edge
// detection in the component's state word, which every reset sets to 0.
#pragma once

// Integer parameter of the adder: its width in bits.
enum AdderParameter { adderWidth = 0 };

// ---- Medium-scale components (evaluate functions) ----
void adder(int cind);                  // sum of two words, carry out discarded
void counter(int cind);                // counts falling clock edges, clear at ZERO
void gate(int cind);                   // passes clock pulses that rose with enable ONE
void dff(int cind);                    // D flip-flop with set and reset
void jkff(int cind);                   // master-slave JK flip-flop with set and reset
void increment(int cind);              // value + 1; a carry passes an unknown bit
void mux(int cind);                    // the selected word, XXX for an unknown select
void decoder(int cind);                // one-hot code with enable
void encoder(int cind);                // position of the highest request, and valid
void enabledRegister(int cind);        // loads its data at an enabled strobe edge
void bitAddressibleRegister(int cind); // single-bit writes, one bit read out

// ---- Console output components ----
