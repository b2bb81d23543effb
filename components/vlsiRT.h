// Runtimes of the memories: the read-only memory and the multi-port
// read/write memory (register file or RAM).  Each takes only the component
// index and reads its pins, parameters and store through the netlist arrays.
// (The file name: vlsi, the very-large-scale family; RT, run time.)
#pragma once

// Positions of the multi-port memory's integer parameters, shared by its
// capture and runtime.
enum MultiPortRamParameter {
    ramNumberOfWords = 0,
    ramBitWordWidth = 1,
    ramPortAddressSize = 2,
    ramNumberOfReadPorts = 3,
    ramNumberOfWritePorts = 4,
    ramStoreWordsPerSimWord = 5, // packed 32-bit words per memory word
    ramNumberOf32BitWords = 6,   // size of the store
    ramZeroIsZERO = 7,           // 1: word 0 always reads as ZERO (register file)
};

// Positions of the read-only memory's integer parameters.
enum RomParameter { romWords = 0, romBitsPerWord = 1, romAllocatedBytesPerWord = 2 };

// Delay from a multi-port memory's evaluation to its read outputs.
constexpr unsigned long ramReadDelay = 10;

// The multi-port memory's internal 32-bit variables: the packed store
// (ramNumberOf32BitWords words) followed by bitWordWidth words that hold one
// unpacked word while an evaluation reads it, so that reading allocates
// nothing.  Its 8-bit variables hold one write-strobe state per write port.
int multiPortRamInternal32BitWords(int numberOf32BitWords, int bitWordWidth);

// Evaluate of Ram and RegisterFile.  Clears the store at its first evaluation
// after every reset; performs the writes whose strobe has just risen with the
// enable ONE, in port order; then queues every read port's word for
// ramReadDelay after now, directly in the event queue.  Out-of-range read
// addresses read XXX; out-of-range and indeterminate write addresses store
// nothing and write a message to standard error.
void multiPortRam(int cind);

// Evaluate of Rom: drives the word at the address on the data inputs, or XXX
// on every output when the address is indeterminate or out of range, with the
// memories' delays.
void rom(int cind);
