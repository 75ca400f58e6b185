// libFuzzer harness: the settings file's text, as the game reads it at start-up.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ParserChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem =
        checkSettingsText(std::string(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "settings text broke a check: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
