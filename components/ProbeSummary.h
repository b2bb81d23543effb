// The value summary (-s): every probe's present value, one line each, for
// scripts that check a run's result.
#pragma once

#include <ostream>
#include <string>

#include "components/RunFeatures.h"

// One probe's line without its end: "LABEL at POS = VALUE", VALUE being the
// value's name for a one-bit probe, and for an eight-bit probe its bits most
// significant first as 0, 1, U, X or Z, followed by a blank and the byte in
// two upper-case hexadecimal digits when every bit is 0 or 1.  Empty for a
// component that is no probe.
std::string probeSummaryLine(int cind);

// (writeProbeSummary: components/RunFeatures.h.)
