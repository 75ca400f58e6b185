// libFuzzer harness: the command line, its arguments separated by NUL bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ParserChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string problem = checkCommandLine(commandLineFromBytes(bytes));
    if (!problem.empty()) {
        std::fprintf(stderr, "command line broke a check: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
