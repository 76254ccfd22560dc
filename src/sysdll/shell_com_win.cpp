// COM for the shell calls, initialised through OLE32 loaded on first use.
#include "sysdll/shell_com.h"

#include <windows.h>

#include <objbase.h>

#include "sysdll/system_dll.h"

namespace {

enum class ComState { NotTried, Initialised, Refused };
ComState comState = ComState::NotTried;
// An apartment belongs to the thread that entered it, so the state is that thread's: the
// launcher has one, a test may call the shell from several.
DWORD comThread = 0;

} // namespace

void initialiseComForShell() {
    if (comState != ComState::NotTried && comThread == GetCurrentThreadId()) {
        return;
    }
    comThread = GetCurrentThreadId();
    comState = ComState::Refused;
    const auto coInitializeEx =
        systemProcedure<decltype(&CoInitializeEx)>("ole32.dll", "CoInitializeEx");
    // S_FALSE (already initialised in this mode) needs balancing too.
    if (coInitializeEx != nullptr &&
        SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
        comState = ComState::Initialised;
    }
}

void releaseComForShell() {
    if (comState != ComState::Initialised || comThread != GetCurrentThreadId()) {
        return;
    }
    const auto coUninitialize =
        systemProcedure<decltype(&CoUninitialize)>("ole32.dll", "CoUninitialize");
    if (coUninitialize != nullptr) {
        coUninitialize();
    }
    comState = ComState::NotTried;
}
