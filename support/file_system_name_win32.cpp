#include "support/file_system_name.h"
#include "support/wide_text.h"

namespace gravlink {

std::string FileSystemName(std::string_view win1251Path) {
    return std::string(win1251Path);
}

std::string Win1251FileName(std::string_view fileSystemName) {
    return std::string(fileSystemName);
}

std::filesystem::path FileSystemPath(const std::string& name) {
    return WideOfWin1251(name);
}

} // namespace gravlink
