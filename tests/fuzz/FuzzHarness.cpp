// libFuzzer harness for one parser, named at build time (ORBQUEST_HARNESS: replay, command-line,
// records, ...): its input goes through that parser's checks, and a broken check stops the fuzzer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ParserChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem =
        checkHarnessInput(ORBQUEST_HARNESS, std::string(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "%s input broke a check: %s\n", ORBQUEST_HARNESS, problem.c_str());
        std::abort();
    }
    return 0;
}
