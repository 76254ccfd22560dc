// libFuzzer entry: finding the launcher's directory.
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return runFuzzCheck(checkBaseDir, data, size);
}
