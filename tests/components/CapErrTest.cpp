// The capture errors every family shares: immediate ones end the program,
// counted ones let the capture go on and stop it only after conversion.
#include <gtest/gtest.h>

#include "Harness.h"
#include "components/CapErr.h"
#include "core/Ph1.h"

namespace {

std::ostringstream lengthMessage() {
    const Signal a(3, "A"), b(1, "B");
    std::ostringstream message;
    message << "I/O length error--Thing at " << positionOf(SD("aa-bb")) << " ";
    listLengths(message, {{"in", &a}, {"out", &b}});
    return message;
}

TEST(CaptureErrors, AnImmediateErrorEndsTheProgramAtOnce) {
    freshHeadlessNetlist();
    EXPECT_EXIT(captureError(lengthMessage()), testing::ExitedWithCode(1),
                "^I/O length error--Thing at aa-bb  in.length = 3 out.length = 1\n$");
}

TEST(CaptureErrors, CountedErrorsAreWrittenAndCountedAndTheCaptureGoesOn) {
    freshHeadlessNetlist();
    testing::internal::CaptureStderr();
    countedCaptureError(lengthMessage());
    countedCaptureError(lengthMessage());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "I/O length error--Thing at aa-bb  in.length = 3 out.length = 1\n"
              "I/O length error--Thing at aa-bb  in.length = 3 out.length = 1\n");
    EXPECT_EQ(phaseOne->fatalDiagnosticCount, 2);
}

TEST(CaptureErrors, ADescriptorWithoutAPositionNamesAnEmptyOne) {
    EXPECT_STREQ(positionOf(SD()), "");
}

} // namespace
