// Capture functions of the memories.
#include "components/vlsiPh1.h"

#include <sstream>
#include <vector>

#include "components/CapErr.h"
#include "components/RTSigSup.h"
#include "components/Registry.h"
#include "components/SecEvTyp.h"
#include "components/vlsiRT.h"

namespace {

// The decal a message names: the descriptor's, or "" when it has none.
const char *decalOf(const SD &sd) {
    return sd.decal ? sd.decal : "";
}

// The two forms of the multi-port memory.
struct MemoryKind {
    ComponentKind kind;
    int zeroIsZERO;
};

// clang-format off
//                               kind                          word 0 reads ZERO
const MemoryKind registerFileKind{ComponentKind::registerFile, 1};
const MemoryKind ramKind         {ComponentKind::ram,          0};
// clang-format on

// The length each bus must have, checked together so one message lists all.
void checkMemoryLengths(const MemoryKind &kind, const SD &sd, const Signal &controlIn, const Signal &dataIn,
                        const Signal &out, int width, int addressSize, int readPorts, int writePorts) {
    const int dataLength = writePorts * width;
    const int controlLength = writePorts * (addressSize + 2) + addressSize * readPorts;
    const int outLength = readPorts * width;
    if (dataIn.length == dataLength && controlIn.length == controlLength && out.length == outLength)
        return;
    std::ostringstream message;
    message << "Error--" << componentRow(kind.kind).name << " " << decalOf(sd) << " at " << positionOf(sd)
            << ": I/O length error\n"
            << " dataIn.length = " << dataIn.length << " should match: " << dataLength << "\n"
            << " controlIn.length = " << controlIn.length << " should match: " << controlLength << "\n"
            << " out.length = " << out.length << " should match: " << outLength;
    countedCaptureError(message);
}

void captureMemory(const MemoryKind &kind, const SD &sd, const Signal &controlIn, const Signal &dataIn,
                   const Signal &out, int numberOfWords, int width, int addressSize, int readPorts,
                   int writePorts) {
    checkMemoryLengths(kind, sd, controlIn, dataIn, out, width, addressSize, readPorts, writePorts);
    const int storeWordsPerSimWord = packedWordCount(width);
    const int numberOf32BitWords = numberOfWords * storeWordsPerSimWord;
    const int parameters[] = {numberOfWords,      width,          addressSize,
                              readPorts,          writePorts,     storeWordsPerSimWord,
                              numberOf32BitWords, kind.zeroIsZERO};
    StandardComponent c = registeredAs(kind.kind, dataIn, controlIn, out);
    c.integerParameters = parameters;
    c.numberOfInternal32BitVariables = multiPortRamInternal32BitWords(numberOf32BitWords, width);
    c.numberOfInternal8BitVariables = writePorts; // one strobe state per write port
    addStandardComponent(c, sd);
}

// 2^addressBits, or -1 when it does not fit an int (no word count matches).
long long wordsAddressed(int addressBits) {
    return addressBits >= 0 && addressBits < 31 ? 1LL << addressBits : -1;
}

} // namespace

void RegisterFile(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out,
                  const int numberOfWords, const int bitWordWidth, const int portAddressSize,
                  const int numberOfReadPorts, const int numberOfWritePorts) {
    captureMemory(registerFileKind, sd, controlIn, dataIn, out, numberOfWords, bitWordWidth, portAddressSize,
                  numberOfReadPorts, numberOfWritePorts);
}

void Ram(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out,
         const int numberOfWords, const int bitWordWidth, const int portAddressSize,
         const int numberOfReadPorts, const int numberOfWritePorts) {
    captureMemory(ramKind, sd, controlIn, dataIn, out, numberOfWords, bitWordWidth, portAddressSize,
                  numberOfReadPorts, numberOfWritePorts);
}

void Rom(const SD &sd, const Signals &in, const Signals &out, const int words, const int bitsPerWord,
         const unsigned char *contents) {
    const int allocatedBytesPerWord = (bitsPerWord - 1) / 8 + 1;
    if (wordsAddressed(in.length) != words || out.length != bitsPerWord) {
        std::ostringstream message;
        message << "I/O length error--Rom " << decalOf(sd) << " at " << positionOf(sd)
                << " in.length = " << in.length << " words = " << words << " out.length = " << out.length
                << " bitsPerWord = " << bitsPerWord << " allocatedBytesPerWord = " << allocatedBytesPerWord;
        countedCaptureError(message);
    }
    const int byteCount = words > 0 && allocatedBytesPerWord > 0 ? words * allocatedBytesPerWord : 0;
    std::vector<unsigned char> bytes(byteCount, 0);
    if (contents)
        bytes.assign(contents, contents + byteCount);
    const int parameters[] = {words, bitsPerWord, allocatedBytesPerWord};
    StandardComponent c = registeredAs(ComponentKind::rom, in, noSignals(), out);
    c.integerParameters = parameters;
    c.byteParameters = bytes;
    addStandardComponent(c, sd);
}
