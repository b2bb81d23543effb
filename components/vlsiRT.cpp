// Runtimes of the memories.
#include "components/vlsiRT.h"

#include <cstdint>
#include <iostream>

#include "components/RTPins.h"
#include "components/RTSigSup.h"
#include "components/SecEvTyp.h"
#include "core/Event.h"
#include "core/Ph2.h"
#include "core/Ph4.h"

// The unpacking buffer reuses 32-bit internal variables for signal values.
static_assert(sizeof(SignalValue) == sizeof(uint32_t) && alignof(SignalValue) <= alignof(uint32_t),
              "a signal value must fit one 32-bit internal variable");

int multiPortRamInternal32BitWords(int numberOf32BitWords, int bitWordWidth) {
    return (numberOf32BitWords > 0 ? numberOf32BitWords : 0) + (bitWordWidth > 0 ? bitWordWidth : 0);
}

namespace {

// ---- Multi-port memory ----------------------------------------------------------

// The memory's shape, read once per evaluation from its integer parameters.
struct RamShape {
    int numberOfWords;
    int width;
    int addressSize;
    int readPorts;
    int writePorts;
    int storeWordsPerSimWord;
    int numberOf32BitWords;
    bool zeroIsZERO;
};

RamShape ramShape(int cind) {
    const int *p = phaseTwo->integerParameters[cind];
    return {p[ramNumberOfWords],      p[ramBitWordWidth],       p[ramPortAddressSize],
            p[ramNumberOfReadPorts],  p[ramNumberOfWritePorts], p[ramStoreWordsPerSimWord],
            p[ramNumberOf32BitWords], p[ramZeroIsZERO] != 0};
}

// Control input positions of write port w: its address, then strobe and enable.
int writeAddressBase(const RamShape &m, int w) {
    return m.readPorts * m.addressSize + w * (m.addressSize + 2);
}

// The address on addressSize control inputs from position base; negative when
// indeterminate.
int addressAt(int cind, int base, int addressSize) {
    return integerFromSignals(addressSize, phaseTwo->controlInputs[cind] + base);
}

bool inRange(const RamShape &m, int address) {
    return address >= 0 && address < m.numberOfWords;
}

uint32_t *store(int cind) {
    return phaseTwo->internal32BitVariables[cind];
}

// The buffer behind the store that holds one unpacked word.
SignalValue *unpackedWord(int cind, const RamShape &m) {
    uint32_t *const words = store(cind) + (m.numberOf32BitWords > 0 ? m.numberOf32BitWords : 0);
    return reinterpret_cast<SignalValue *>(words);
}

// First evaluation after a reset: every word UNINITIALIZED, every port fresh.
void clearMemory(int cind, const RamShape &m) {
    uint32_t *const words = store(cind);
    for (int i = 0; i < m.numberOf32BitWords; ++i)
        words[i] = 0;
    uint8_t *const ports = phaseTwo->internal8BitVariables[cind];
    for (int w = 0; w < m.writePorts; ++w)
        ports[w] = strobeFresh;
}

void reportIndeterminateWrite(int cind) {
    std::cerr << "ERROR-- " << phaseTwo->decal[cind] << " at " << phaseTwo->rcpos[cind]
              << " componentNumber = " << cind << "\n"
              << "     Attempt to write with indeterminate write-port address.\n"
              << "     The component is probably enabled when it shouldn't be." << std::endl;
}

void reportWriteOutOfRange(int cind, int address, int numberOfWords) {
    std::cerr << "ERROR-- " << phaseTwo->decal[cind] << " at " << phaseTwo->rcpos[cind]
              << " componentNumber = " << cind << " write address " << address
              << " is beyond the last word (numberOfWords = " << numberOfWords << "); nothing is stored."
              << std::endl;
}

// Write port w's action at a rising strobe with the enable ONE.
void writePort(int cind, const RamShape &m, int w) {
    const int address = addressAt(cind, writeAddressBase(m, w), m.addressSize);
    if (address < 0) {
        reportIndeterminateWrite(cind);
        return;
    }
    if (!inRange(m, address)) {
        reportWriteOutOfRange(cind, address, m.numberOfWords);
        return;
    }
    // HIZ data bits are stored as XXX by the packing; the rest of the word as it is.
    packSignals(m.width, phaseTwo->dataInputs[cind] + w * m.width,
                store(cind) + address * m.storeWordsPerSimWord);
}

// Runs every write port's strobe protocol, writing in port order.
void serveWritePorts(int cind, const RamShape &m) {
    uint8_t *const ports = phaseTwo->internal8BitVariables[cind];
    for (int w = 0; w < m.writePorts; ++w) {
        const int base = writeAddressBase(m, w) + m.addressSize;
        if (strobeFires(ports[w], controlInput(cind, base + 1), controlInput(cind, base)))
            writePort(cind, m, w);
        // A held strobe is one state whether or not the port wrote.
        if (ports[w] == strobeHeldActed)
            ports[w] = strobeHeldIgnored;
    }
}

// The time read results take effect: ramReadDelay after now, saturating at the
// latest time as the kernel's own delays do.
unsigned long readTime() {
    const unsigned long now = phaseFour->time;
    return now > PhaseFour::latestTime - ramReadDelay ? PhaseFour::latestTime : now + ramReadDelay;
}

// Fills word with every bit at value.
void fillWord(SignalValue *word, int width, SignalValue value) {
    for (int b = 0; b < width; ++b)
        word[b] = value;
}

// Queues read port r's word: ZERO for word 0 of a register file, XXX for an
// indeterminate or out-of-range address, else the stored word.
void serveReadPort(int cind, const RamShape &m, int r, unsigned long at) {
    const int address = addressAt(cind, r * m.addressSize, m.addressSize);
    SignalValue *const word = unpackedWord(cind, m);
    if (m.zeroIsZERO && address == 0)
        fillWord(word, m.width, ZERO);
    else if (!inRange(m, address))
        fillWord(word, m.width, XXX);
    else
        unpackSignals(m.width, store(cind) + address * m.storeWordsPerSimWord, word);
    // Straight into the queue: no XXX phase, no per-signal ordering.
    const int *const out = phaseTwo->outputs[cind] + r * m.width;
    for (int b = 0; b < m.width; ++b)
        phaseFour->skewHeap.add(at, signalChange, out[b], word[b]);
}

// ---- Read-only memory -------------------------------------------------------------

// Bit b of word address: bit b%8 of the word's byte counted from its last byte.
bool romBit(int cind, int address, int b) {
    const int bytesPerWord = integerParameter(cind, romAllocatedBytesPerWord);
    const unsigned char byte =
        phaseTwo->byteParameters[cind][address * bytesPerWord + bytesPerWord - 1 - b / 8];
    return (byte >> (b % 8)) & 1u;
}

} // namespace

void multiPortRam(int cind) {
    const RamShape m = ramShape(cind);
    if (phaseTwo->state[cind] == 0) {
        phaseTwo->state[cind] = 1;
        clearMemory(cind, m);
    }
    serveWritePorts(cind, m);
    const unsigned long at = readTime();
    for (int r = 0; r < m.readPorts; ++r)
        serveReadPort(cind, m, r, at);
}

void rom(int cind) {
    const ComponentPins pins(cind);
    const int bits = integerParameter(cind, romBitsPerWord);
    const int address = integerFromSignals(pins.dataCount(), pins.dataSerials());
    if (address < 0 || address >= integerParameter(cind, romWords)) {
        for (int b = 0; b < bits; ++b)
            pins.drive(b, XXX, vlsiDelays);
        return;
    }
    for (int b = 0; b < bits; ++b)
        pins.drive(b, romBit(cind, address, b) ? ONE : ZERO, vlsiDelays);
}
