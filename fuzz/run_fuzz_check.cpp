// What the libFuzzer entries do with a check's verdict: a failed property ends the process
// with its description, which libFuzzer reports as a crash and keeps the input of.
#include <cstdio>
#include <cstdlib>

#include "fuzz_checks.h"

int runFuzzCheck(FuzzCheck check, const uint8_t* data, size_t size) {
    const std::string failure = check(data, size);
    if (!failure.empty()) {
        std::fputs(failure.c_str(), stderr);
        std::fputc('\n', stderr);
        std::abort();
    }
    return 0;
}
