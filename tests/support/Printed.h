#pragma once

#include <functional>
#include <string>

// What 'action' prints on standard output. The capture ends however the action returns, an
// ASSERT inside it included, so the next test's output is never swallowed.
std::string printedBy(const std::function<void()>& action);
