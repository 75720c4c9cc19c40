#include "support/file_system_name.h"

#include "support/code_page.h"

namespace gravlink {

std::string FileSystemName(std::string_view win1251Path) { return Win1251ToUtf8(win1251Path); }

} // namespace gravlink
