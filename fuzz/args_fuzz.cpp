// libFuzzer entry: the emulator's parameter text.
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return runFuzzCheck(checkEmulatorArguments, data, size);
}
