// libFuzzer entry: the INI reader/writer on any settings file.
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return runFuzzCheck(checkIniText, data, size);
}
