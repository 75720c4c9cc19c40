#pragma once

#include <string>

namespace gravlink {

// A shared library loaded by file name, with its exported entry points looked up by
// name. Unloaded when this goes, unless it is kept loaded to the end of the process.
class TSharedLibrary {
public:
    TSharedLibrary() = default;
    ~TSharedLibrary();
    TSharedLibrary(const TSharedLibrary&) = delete;
    TSharedLibrary& operator=(const TSharedLibrary&) = delete;

    // Loads the file, with every reference it makes resolved now and its names kept
    // to itself; false when it cannot be loaded, Error() then saying why. An empty
    // name loads nothing.
    bool Load(const std::string& fileName);
    bool Loaded() const { return FHandle != nullptr; }
    // The address of an exported name; null when there is none, Error() then saying
    // why (empty when the loader gave no reason).
    void* EntryPoint(const char* name) const;
    // The loader's reason for the last failure of Load or EntryPoint.
    const std::string& Error() const { return FError; }
    // The library stays loaded to the end of the process, whatever happens to this.
    void KeepLoaded() { FHandle = nullptr; }

private:
    void* FHandle = nullptr;
    mutable std::string FError;
};

} // namespace gravlink
