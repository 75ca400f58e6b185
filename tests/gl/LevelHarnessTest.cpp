#include "support/LevelHarness.h"

#include <gtest/gtest.h>

#include "support/FakeInput.h"
#include "support/Printed.h"

namespace {

TEST(LevelHarness, BuildsTheWholeLevelAndRunsAFrameWithoutGlErrors) {
    FakeInput input;
    LevelHarness harness;
    EXPECT_EQ(harness.level().modelCount(), 622u);
    EXPECT_EQ(printedBy([&] { harness.frame(1.0f / 60.0f); }), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
