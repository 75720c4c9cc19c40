#include "app/display_check.h"

#include <cstdlib>
#include <windows.h>

namespace gravlink {

// A task the scheduler runs while nobody is logged on gets a window station nobody
// sees: a window shown there would wait for a click forever.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0')
        return true;
    USEROBJECTFLAGS flags{};
    return GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                     nullptr) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

} // namespace gravlink
