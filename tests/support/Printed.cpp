#include "support/Printed.h"

#include <gtest/gtest.h>

std::string printedBy(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
