#include "support/code_page.h"
#include "support/file_system_name.h"

namespace gravlink {

std::string FileSystemName(std::string_view win1251Path) {
    return Win1251ToUtf8(win1251Path);
}

std::string Win1251FileName(std::string_view fileSystemName) {
    return Utf8ToWin1251(fileSystemName);
}

std::filesystem::path FileSystemPath(const std::string& name) {
    return name;
}

} // namespace gravlink
