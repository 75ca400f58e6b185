#include "input/Input.h"

#include <gtest/gtest.h>

#include "support/FakeInput.h"

namespace {

bool liveIsInstalled() {
    return dynamic_cast<LiveInput*>(&input::source()) != nullptr;
}

TEST(ScopedInstall, InstallsItsSourceAndPutsLiveInputBack) {
    ASSERT_TRUE(liveIsInstalled());
    InputSource* const live = &input::source();
    {
        FakeInput fake;  // installs itself through a ScopedInstall
        fake.hold(GLFW_KEY_W);
        EXPECT_EQ(&input::source(), &fake);
        EXPECT_EQ(input::getKey(nullptr, GLFW_KEY_W), GLFW_PRESS) << "calls reach the source";
    }
    EXPECT_EQ(&input::source(), live);
}

TEST(ScopedInstall, NestedInstallsComeOffInReverseOrder) {
    FakeInput outer;
    outer.hold(GLFW_KEY_A);
    {
        FakeInput inner;
        EXPECT_EQ(&input::source(), &inner);
        EXPECT_EQ(input::getKey(nullptr, GLFW_KEY_A), GLFW_RELEASE);
        {
            const input::ScopedInstall again(outer);
            EXPECT_EQ(input::getKey(nullptr, GLFW_KEY_A), GLFW_PRESS);
        }
        EXPECT_EQ(&input::source(), &inner);
    }
    EXPECT_EQ(&input::source(), &outer);
}

}  // namespace
