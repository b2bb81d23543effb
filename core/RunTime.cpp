// The run-control flags and the slow-down's unit of waiting.
#include "core/RunTime.h"

#include <ctime>

int done = 0;
int reStart = 0;
int stallLevel = 0;
int haltFlag = 0;

void msWait() {
    const timespec oneMillisecond{0, 1000000};
    nanosleep(&oneMillisecond, nullptr);
}
