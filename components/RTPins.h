// A component's pins as every runtime family reads and drives them: the
// present values of its inputs and outputs, its integer parameters, and the
// transition requests for its outputs with the family's delays.  All inline:
// reading pins and requesting outputs is the whole of most evaluations, and
// the evaluations are the simulator's most frequent calls.
#pragma once

#include "components/RTSigSup.h"
#include "components/SecEvTyp.h"
#include "core/Ph2.h"
#include "core/Ph4.h"

// The serial numbers of data input k, control input k and output k, read
// from the component's pin record (k must be below the group's count).
inline int dataPin(int cind, int k) {
    return phaseTwo->pinPool()[phaseTwo->records[cind].dataFrom + k];
}
inline int controlPin(int cind, int k) {
    return phaseTwo->pinPool()[phaseTwo->records[cind].controlFrom + k];
}
inline int outputPin(int cind, int k) {
    return phaseTwo->pinPool()[phaseTwo->records[cind].outputFrom + k];
}

// The present value of data input k.
inline SignalValue dataInput(int cind, int k) {
    return currentValue(dataPin(cind, k));
}

// The present value of control input k.
inline SignalValue controlInput(int cind, int k) {
    return currentValue(controlPin(cind, k));
}

// The present value of output k (what the component drives now, not what it
// has requested).
inline SignalValue outputValue(int cind, int k) {
    return currentValue(outputPin(cind, k));
}

// Integer parameter k, as given at capture.
inline int integerParameter(int cind, int k) {
    return phaseTwo->integerParameters[cind][k];
}

// One component's pins as an evaluation reads them: where its three groups
// start in the pin pool and where the signals' slots are, fetched once, so
// that each further pin costs one load instead of a walk through the phase
// objects.  Made at the start of an evaluation and dropped at its end (the
// pools do not move while a run steps).
class ComponentPins {
public:
    explicit ComponentPins(int cind)
        : record(&phaseTwo->records[cind]), pool(phaseTwo->pinPool()), dataPins(pool + record->dataFrom),
          outputPins(pool + record->outputFrom), slots(phaseThree->signalSlots.data()), cind(cind) {}

    // Serial numbers of data input k, control input k and output k.
    int dataSerial(int k) const { return dataPins[k]; }
    int controlSerial(int k) const { return pool[record->controlFrom + k]; }
    int outputSerial(int k) const { return outputPins[k]; }
    // The serial numbers of the data inputs, in order.
    const int *dataSerials() const { return dataPins; }
    const int *controlSerials() const { return pool + record->controlFrom; }

    // The numbers of pins in each group, by the record and the next one.
    int dataCount() const { return record->controlFrom - record->dataFrom; }
    int controlCount() const { return record->outputFrom - record->controlFrom; }
    int outputCount() const { return record[1].dataFrom - record->outputFrom; }

    // Present values of data input k, control input k and output k.
    SignalValue data(int k) const { return slots[dataSerial(k)].currentValue(); }
    SignalValue control(int k) const { return slots[controlSerial(k)].currentValue(); }
    SignalValue output(int k) const { return slots[outputSerial(k)].currentValue(); }

    // Whether a request of v for output k would change what the output is
    // headed for; a request that would not is answered by doing nothing.
    bool changesOutput(int k, SignalValue v) const { return slots[outputSerial(k)].scheduledValue() != v; }

    // Requests value v for output k with the family's quick and lazy delays.
    // A request that changes nothing, the usual one, is answered here.
    // Forced inline with the whole transition path: with the delays a
    // constant of the caller, each family's request compiles to the same code
    // as a hand-written call.
    [[gnu::always_inline]] void drive(int k, SignalValue v, FamilyDelays delays) const {
        if (changesOutput(k, v))
            phaseFour->signalTransition(outputSerial(k), v, delays.quickTime, delays.lazyTime);
    }
    // drive for a tri-state output: the request reaches the bus only while
    // this component holds it or the bus is free.
    void driveTriState(int k, SignalValue v, FamilyDelays delays) const {
        phaseFour->tsbSignalTransition(cind, outputSerial(k), v, delays.quickTime, delays.lazyTime);
    }
    // Requests value v for output k deltaTime after now, plus the kernel's own
    // quick and lazy additions (the same for every family).
    void driveAfter(int k, SignalValue v, int deltaTime) const {
        phaseFour->altSignalTransition(outputSerial(k), v, deltaTime);
    }

private:
    const ComponentRecord *record;
    const int *pool;
    const int *dataPins; // the data inputs' serial numbers, which most evaluations read
    const int *outputPins;
    const SignalSlot *slots;
    int cind; // the holder a tri-state request names
};
