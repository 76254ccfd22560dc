// libFuzzer entry: the settings file's encoding rules on any file.
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return runFuzzCheck(checkIniEncoding, data, size);
}
