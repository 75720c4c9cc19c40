#include "support/shared_library.h"
#include "support/system_error_text.h"
#include "support/wide_text.h"

#include <windows.h>

namespace gravlink {

TSharedLibrary::~TSharedLibrary() {
    if (FHandle)
        FreeLibrary(static_cast<HMODULE>(FHandle));
}

bool TSharedLibrary::Load(const std::string& fileName) {
    if (FHandle)
        FreeLibrary(static_cast<HMODULE>(FHandle));
    FHandle = nullptr;
    if (fileName.empty()) {
        FError = "no file name";
        return false;
    }
    // A library that is damaged or lacks a library of its own fails here; the system
    // must not ask a person about it, as nobody watches a scheduled run.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    FHandle = LoadLibraryW(WideOfWin1251(fileName).c_str());
    const DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (!FHandle)
        FError = SystemErrorText(static_cast<int>(error));
    return FHandle != nullptr;
}

void* TSharedLibrary::EntryPoint(const char* name) const {
    void* address = nullptr;
    if (FHandle)
        address = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(FHandle), name));
    if (!address)
        FError = SystemErrorText(static_cast<int>(FHandle ? GetLastError() : ERROR_INVALID_HANDLE));
    return address;
}

} // namespace gravlink
