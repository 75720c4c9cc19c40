#include "app/window_start.h"

#include "app/display_check.h"
#include "support/shared_library.h"

#include <cstdio>

namespace gravlink {
namespace {

constexpr int CannotStartStatus = 2;
constexpr const char* UnattendedHint = "gravlink -auto [settings-file]";

} // namespace

int CannotStartWindow(const std::string& reason) {
    std::fprintf(stderr, "gravlink: %s; the unattended export needs none: %s\n", reason.c_str(),
                 UnattendedHint);
    return CannotStartStatus;
}

int StartWindow(const TCommandLine& commandLine, const std::string& moduleFileName, int argc,
                char** argv) {
    if (!DisplayAvailable())
        return CannotStartWindow("no display found to show the window on");
    TSharedLibrary module;
    TWindowEntryPoint run = nullptr;
    if (module.Load(FolderOf(commandLine.ExecutablePath) + moduleFileName))
        run = reinterpret_cast<TWindowEntryPoint>(module.EntryPoint(WindowEntryPointName));
    if (run == nullptr)
        return CannotStartWindow("the window cannot be started (" + module.Error() + ")");
    // The toolkit's own clean-up runs at the end of the process, not halfway out.
    module.KeepLoaded();
    return run(argc, argv);
}

int RefuseWindowStart() {
    return CannotStartWindow("this build has no window");
}

} // namespace gravlink
