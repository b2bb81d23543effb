// Capture functions of the memories, called from a circuit's build function.
// A length error writes its message to standard error and counts as a fatal
// diagnostic; the component is still registered, and the program stops after
// the build function, so one run reports every error of a circuit.
// (The file name: vlsi, the very-large-scale family; Ph1, capture: the first phase of a run.)
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

// A multi-port memory of numberOfWords words of bitWordWidth bits whose word 0
// always reads as ZERO (writes to it are stored but never seen).  With
// P = portAddressSize, R = numberOfReadPorts, W = numberOfWritePorts:
//   controlIn: R read addresses of P bits (port r at r*P, lowest bit first),
//              then for each write port w, from R*P + w*(P+2): its address of
//              P bits, its strobe, its enable;
//   dataIn:    W words of write data, port w at w*bitWordWidth;
//   out:       R words read, port r at r*bitWordWidth.
// Write port w stores its data at each rise of its strobe while its enable is
// ONE; every read port shows the word at its address 10 time units after
// each evaluation.  The contents are UNINITIALIZED after every reset.
void RegisterFile(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out,
                  const int numberOfWords, const int bitWordWidth, const int portAddressSize,
                  const int numberOfReadPorts, const int numberOfWritePorts);

// The same memory with word 0 like every other word.
void Ram(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out,
         const int numberOfWords, const int bitWordWidth, const int portAddressSize,
         const int numberOfReadPorts, const int numberOfWritePorts);

// A read-only memory of words words of bitsPerWord bits: in is the address
// (2^in.length must be words), out the word (out.length must be bitsPerWord),
// both lowest bit first.  contents holds each word in (bitsPerWord-1)/8+1
// bytes, most significant byte first; high bits of the first byte beyond
// bitsPerWord are ignored.  Null contents give a memory of all ZERO words.
void Rom(const SD &sd, const Signals &in, const Signals &out, const int words, const int bitsPerWord,
         const unsigned char *contents);
