// libFuzzer harness: replay text, as --replay reads it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ParserChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem =
        checkReplayText(std::string(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "replay text broke a check: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
