#include "support/shared_library.h"

#include <dlfcn.h>

namespace gravlink {
namespace {

std::string LoaderError() {
    const char* reason = dlerror();
    return reason ? reason : "";
}

} // namespace

TSharedLibrary::~TSharedLibrary() {
    if (FHandle)
        dlclose(FHandle);
}

bool TSharedLibrary::Load(const std::string& fileName) {
    if (FHandle)
        dlclose(FHandle);
    FHandle = nullptr;
    dlerror();
    // The loader reads an empty name as the program itself.
    if (fileName.empty()) {
        FError = "no file name";
        return false;
    }
    FHandle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!FHandle)
        FError = LoaderError();
    return FHandle != nullptr;
}

void* TSharedLibrary::EntryPoint(const char* name) const {
    dlerror();
    void* address = FHandle ? dlsym(FHandle, name) : nullptr;
    if (!address)
        FError = LoaderError();
    return address;
}

} // namespace gravlink
