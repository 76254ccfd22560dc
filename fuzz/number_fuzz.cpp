// libFuzzer entry: the number texts.
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return runFuzzCheck(checkNumberText, data, size);
}
