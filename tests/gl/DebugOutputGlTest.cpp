#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include "support/GlContext.h"
#include "support/Printed.h"

namespace {

TEST(DebugOutputGl, DriverErrorsArriveAsOneFormattedLineDuringTheFaultyCall) {
    sharedGlContext();
    glEnable(GL_DEBUG_OUTPUT);
    installDebugOutput();

    // Not a texture target: GL_INVALID_ENUM.
    const std::string printed = printedBy([] { glBindTexture(0x1234, 0); });

    glDisable(GL_DEBUG_OUTPUT);
    glGetError();
    EXPECT_EQ(printed.rfind("OpenGL Error: ", 0), 0u) << printed;
    EXPECT_NE(printed.find("[Source = API, Type = Error, Severity = High, ID = "),
              std::string::npos)
        << printed;
    EXPECT_EQ(printed.back(), '\n');
}

}  // namespace
